#pragma once

#include <QString>

// The files an update replaces, under the names they have in an installation: the program and the help
// page it opens, and, when the update brings them, the modules that read PDF invoices, draw the charts and
// reach the printers, and the reader of Access files.
namespace InstalledFiles {
inline QString program() {
    return QStringLiteral("Zlv");
}
inline QString help() {
    return QStringLiteral("zlv.html");
}
inline QString pdfModule() {
    return QStringLiteral("libzlvpdf.so");
}
inline QString chartsModule() {
    return QStringLiteral("libzlvcharts.so");
}
inline QString printModule() {
    return QStringLiteral("libzlvprint.so");
}
inline QString accessReader() {
    return QStringLiteral("Zlv_Access");
}
} // namespace InstalledFiles
