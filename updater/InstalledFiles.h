#pragma once

#include <QString>

// The files an update replaces, under the names they have in an installation: the program and the help
// page it opens, and, when the update brings it, the module that reads PDF invoices.
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
} // namespace InstalledFiles
