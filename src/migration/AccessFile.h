#pragma once

#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// An Access (Jet) database file of an older installation, read through libmdb: its tables, their
// columns and their rows in the file's physical order. Never writes to the file. Only the reader program
// Zlv_Access opens one (a damaged file can make libmdb loop or crash); the program reads through
// AccessReader and itself only looks at a file's header.
class AccessFile {
public:
    // What a column holds, as far as the import tells the kinds apart.
    enum class Type { Integer, Currency, Real, DateTime, Text, Other };
    struct Column {
        QString name;
        Type type = Type::Other;
    };
    // One field of the current row. integer: Integer; currency: Currency in ten-thousandths; real:
    // Real and DateTime (days since 30.12.1899, the time of day as the fraction); text: Text and Other.
    struct Value {
        bool null = true;
        qint64 integer = 0;
        double real = 0;
        QString text;
    };

    // True when the file's header names the Jet or the ACE engine. Inline, so that the program asks it
    // without loading libmdb.
    static bool isAccessFile(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        const QByteArray header = file.read(19);
        return header.size() == 19 &&
               (header.mid(4) == "Standard Jet DB" || header.mid(4) == "Standard ACE DB");
    }

    ~AccessFile();
    AccessFile(const AccessFile&) = delete;
    AccessFile& operator=(const AccessFile&) = delete;

    // Null, with a German message naming the file, when it cannot be opened as an Access file.
    static std::unique_ptr<AccessFile> open(const QString& path, QString* germanMessage);

    QString path() const { return m_path; }
    // The user tables' names.
    QStringList tables() const;
    // The columns of table; empty when the table cannot be read.
    QList<Column> columns(const QString& table) const;
    // Visits every row of table with the values of the columns at the given positions, in that order;
    // visit returns false to stop. False, with a German message naming the table, when the table cannot
    // be read whole (a damaged file). rows gets the rows visited.
    using Visit = std::function<bool(const QList<Value>& values)>;
    bool read(const QString& table, const QList<int>& columnPositions, const Visit& visit, qint64* rows,
              QString* germanMessage) const;
    // The number of rows the table says it holds (the rows read must be as many).
    qint64 rowCount(const QString& table) const;

private:
    struct Handle;
    AccessFile(QString path, std::unique_ptr<Handle> handle);

    QString m_path;
    std::unique_ptr<Handle> m_handle;
};
