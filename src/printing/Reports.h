#pragma once

#include "ListSnapshot.h"

#include <QString>

class PrintEngine;
class Settings;

// The authority's name and address as they stand at the foot of every report page.
struct ReportFooter {
    QString authority;
    QString department;
    QString postcode;
    QString town;

    static ReportFooter fromSettings(const Settings& settings);
};

// Builds the report of the snapshot's kind on a prepared engine: page by page the footer with "Seite p
// von P", the title, the heading lines and the table with at most the report's rows per page. Returns
// with the last page's table still open: the caller ends it with EndTable, EndDocument, ShowDocument.
// Reads nothing but the snapshot and the footer.
void buildReport(PrintEngine& engine, const ListSnapshot& snapshot, const ReportFooter& footer);

// The file name a PDF of the report is first offered under.
QString proposedPdfFileName(ListSnapshot::Kind kind);
