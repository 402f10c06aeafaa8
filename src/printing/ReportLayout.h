#pragma once

#include "ListSnapshot.h"

#include <optional>
#include <QList>
#include <QString>
#include <QStringList>

// A font of a report: always Arial, in a size, bold and italic or not.
struct ReportFont {
    int size = 10;
    bool bold = false;
    bool italic = false;
};

// How the rows of a table are written: their font, the height added to the font's line height, their
// fill and each printed cell's code ("m ", "L", "R", "r" ...).
struct ReportRowFormat {
    ReportFont font;
    int heightAddition = 40;
    quint32 fill = 0xFFFFFF;
    QStringList codes;
};

// A line of text above the table, centred on the page.
struct ReportHeadingLine {
    QString text;
    int top = 0;
    ReportFont font;
};

// Everything that sets one report apart from the others in the common page frame.
struct ReportLayout {
    int rowsPerPage = 1;
    int pageLabelBlanks = 0;
    quint32 colour = 0x9C6E3A;
    QString title;
    QList<ReportHeadingLine> headingLines;
    QString tableHeading;
    ReportFont headingFont{8, true, true};
    int headingHeightAddition = 60;
    int left = 0;
    int top = 0;
    QList<int> columnWidths;
    // The snapshot's columns that are printed, in order; the codes of the row formats match them.
    QList<int> columns;
    ReportRowFormat row;
    // The list's last rows, when the report prints them as totals rows; it sets its font before each
    // row. totalsRows says how many (the cost report's sums and its budget lines).
    std::optional<ReportRowFormat> totalsRow;
    int totalsRows = 1;

    // The layout of the snapshot's report, with the heading lines filled from its values.
    static ReportLayout forSnapshot(const ListSnapshot& snapshot);
};
