#pragma once

#include <QByteArray>
#include <QString>

// The content of PfadZurDatenbank.ini: one line naming the database folder. A folder that holds a comma
// is written in double quotes, since an unquoted value ends at the first comma. Older installations
// wrote the file in Windows-1252, so bytes that are not valid UTF-8 are read as Windows-1252.
class DatabaseIniFile {
public:
    // The folder named by the file's first line: a quoted value up to its closing quote, otherwise the
    // text up to the first comma; surrounding blanks removed. Empty when the file names no folder.
    static QString folder(const QByteArray& content);
    // The file's one line naming folder, in UTF-8, ending with a line end.
    static QByteArray content(const QString& folder);

    // The text of bytes: UTF-8 when they are valid UTF-8, else Windows-1252.
    static QString decode(const QByteArray& bytes);
};
