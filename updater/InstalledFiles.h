#pragma once

#include <QString>

// The two files an update replaces, under the names they have in an installation: the program and
// the help page it opens.
namespace InstalledFiles {
inline QString program() {
    return QStringLiteral("Zlv");
}
inline QString help() {
    return QStringLiteral("zlv.html");
}
} // namespace InstalledFiles
