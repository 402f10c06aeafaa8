#include "ProjectRepository.h"

#include "Database.h"
#include "PatternMatcher.h"
#include "StoredValue.h"

namespace {

const QString kColumns = QStringLiteral("SELECT ID, ProjektName, Datumwert FROM tblProjekt ");
const QString kNewestFirst = QStringLiteral(" ORDER BY Datumwert IS NULL, Datumwert DESC, ID");

Project build(const Database::Row& row) {
    Project project;
    project.id = row.rowNumber(0);
    project.name = row.text(1);
    project.startDay = row.integer(2);
    return project;
}

QList<Project> read(Database& db, const QString& sql, const QVariantList& values, bool* ok) {
    return StoredValue::rows<Project>(db, sql, values, ok, build);
}

} // namespace

QList<Project> ProjectRepository::all(bool* ok) const {
    return read(m_db, kColumns + QStringLiteral("ORDER BY ID"), {}, ok);
}

QList<Project> ProjectRepository::newestFirst(bool* ok) const {
    return read(m_db, kColumns + kNewestFirst, {}, ok);
}

QList<Project> ProjectRepository::search(const QString& userText, bool* ok) const {
    const QString pattern = PatternMatcher::anywhere(userText);
    return read(m_db,
                kColumns + QStringLiteral("WHERE matches(?, CAST(ID AS TEXT)) OR matches(?, ProjektName)") +
                    kNewestFirst,
                {pattern, pattern}, ok);
}

std::optional<QString> ProjectRepository::stamp(qint64 id) const {
    const std::optional<QString> project =
        m_db.rowStamp(QStringLiteral("tblProjekt"), QStringLiteral("ID"), id);
    if (!project || project->isNull())
        return project;
    const std::optional<QString> budget =
        m_db.rowStamp(QStringLiteral("tblBudget"), QStringLiteral("ProjektID"), id);
    if (!budget)
        return std::nullopt;
    return *project + QChar(0x1e) + *budget;
}

std::optional<Project> ProjectRepository::find(qint64 id, bool* ok) const {
    const QList<Project> rows = read(m_db, kColumns + QStringLiteral("WHERE ID = ?"), {id}, ok);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

std::optional<qint64> ProjectRepository::add(const QString& name, std::optional<int> startDay) {
    return m_db.insert(
        QStringLiteral("INSERT INTO tblProjekt (ProjektName, Datumwert) VALUES (?, ?) RETURNING ID"),
        {StoredValue::bind(name), StoredValue::bind(startDay)});
}

bool ProjectRepository::update(const Project& project) {
    return m_db.changeRow(QStringLiteral("UPDATE tblProjekt SET ProjektName = ?, Datumwert = ? WHERE ID = ?"),
                          {StoredValue::bind(project.name), StoredValue::bind(project.startDay), project.id});
}

bool ProjectRepository::remove(qint64 id) {
    return m_db.changeRow(QStringLiteral("DELETE FROM tblProjekt WHERE ID = ?"), {id});
}
