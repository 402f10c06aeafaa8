#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// What a file and its folder look like at one moment, to prove that nothing was written.
class FileSnapshot {
public:
    explicit FileSnapshot(const QString& filePath);
    bool operator==(const FileSnapshot& other) const = default;
    // A readable difference for a failing comparison.
    QString describe() const;

    // Runs the statements on a plain engine connection, outside the program's own layer.
    static bool rawExec(const QString& filePath, const QString& sql);

private:
    bool m_exists = false;
    QByteArray m_bytes;
    QDateTime m_modified;
    QStringList m_folder;
};
