#pragma once

#include <optional>
#include <QString>
#include <QtGlobal>

// A row of tblProjekt.
struct Project {
    qint64 id = 0;
    QString name;                // ProjektName
    std::optional<int> startDay; // Datumwert, a day number
};
Q_DECLARE_TYPEINFO(Project, Q_RELOCATABLE_TYPE);
