#pragma once

#include <QString>
#include <QStringList>

// The printers installed on the system, in the system's order, and the system's default printer (empty
// when there is none). The print settings offer them and, always last, the PDF file target.
struct PrinterCatalog {
    QStringList installed;
    QString defaultPrinter;

    // The printers as the system (CUPS) lists them now.
    static PrinterCatalog ofSystem();
};
