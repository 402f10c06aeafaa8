#include "DataBackup.h"

#include "DatabaseBackup.h"
#include "DataLocation.h"

QString DataBackup::Dump::fileName(const QDate& day) const {
    return DatabaseBackup::backupFileName(day, place.section(u' ', 0, 0) + QStringLiteral(".dump"));
}

std::variant<DataBackup::FileCopy, DataBackup::Dump> DataBackup::at(const QString& location) {
    if (!DataLocation::isServer(location))
        return FileCopy{};
    return Dump{location, DataLocation::placeOf(location)};
}
