#pragma once

#include "AuditIndex.h"

#include <functional>
#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class Session;

// "Export für die Prüfung", the data handover for the auditors (GoBD, Datenzugriff Z3): one CSV file per
// table and their description index.xml with its DTD, for the whole database or one project and a period.
// The files are written into a temporary folder inside the chosen one and moved into it only when all of
// them were written, so that a failed export leaves no file reported as written.
class AuditExport {
public:
    struct Request {
        QString folder;
        // Empty: the whole database.
        QString projectId;
        QString projectName;
        // Invalid: open.
        QDate from;
        QDate to;
        AuditIndex::Supplier supplier;
    };

    explicit AuditExport(Session& session) : m_session(session) {}

    // Every file the export writes, without folder.
    static QStringList fileNames();
    // What stands against writing into folder, in German (it is no folder or cannot be written), or empty.
    static QString folderProblem(const QString& folder);
    // The files of folder that the export would replace.
    static QStringList existingFiles(const QString& folder);

    // Writes the files, replacing those of the same names; false with the German reason when not every
    // file was written.
    bool run(const Request& request, QString* germanMessage);
    // Each table's name and its rows written, after run().
    QList<QPair<QString, qint64>> counts() const { return m_counts; }

private:
    bool writeTable(const QString& path, const QString& table, const AuditTableReader::Scope& scope,
                    QString* germanMessage);

    Session& m_session;
    QList<QPair<QString, qint64>> m_counts;
};
