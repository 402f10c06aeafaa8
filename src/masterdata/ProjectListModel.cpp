#include "ProjectListModel.h"

#include "DayNumber.h"

ProjectListModel::ProjectListModel(QObject* parent)
    : TextTableModel({QStringLiteral("ProjektNr."), QStringLiteral("Projektbezeichnung"),
                      QStringLiteral("Datum"), QString()},
                     parent) {}

void ProjectListModel::setProjects(const QList<Project>& projects) {
    QList<Row> rows;
    rows.reserve(projects.size());
    for (const Project& project : projects) {
        const QString number = QString::number(project.id);
        const QString day = project.startDay
                                ? QStringLiteral("%1").arg(*project.startDay, 10, 10, QLatin1Char('0'))
                                : QString();
        rows.append({project.id,
                     {number, project.name, DayNumber::format(project.startDay), QString()},
                     {number, project.name, day, QString()}});
    }
    setRows(std::move(rows));
}
