#pragma once

#include <QString>

// The files an update replaces, under the names they have in an installation: the program and the help
// page it opens, and, when the update brings them, the module that reads PDF invoices and the reader of
// Access files.
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
inline QString accessReader() {
    return QStringLiteral("Zlv_Access");
}
} // namespace InstalledFiles
