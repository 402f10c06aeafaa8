#include "DatabaseIniFile.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>

namespace {
constexpr QChar kQuote = QLatin1Char('"');
constexpr QChar kComma = QLatin1Char(',');

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F. The five bytes it leaves undefined keep
// their value, as the Windows code page conversion does.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        text.append(code >= 0x80 && code <= 0x9F ? QChar(kWindows1252High[code - 0x80]) : QChar(code));
    }
    return text;
}
} // namespace

QString DatabaseIniFile::decode(const QByteArray& bytes) {
    // The decoder drops a leading byte order mark, as Windows editors write one.
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? fromWindows1252(bytes) : text;
}

QString DatabaseIniFile::folder(const QByteArray& content) {
    QString line = decode(content);
    const auto lineEnd = std::find_if(
        line.cbegin(), line.cend(), [](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); });
    line = line.left(lineEnd - line.cbegin()).trimmed();
    if (line.startsWith(kQuote)) {
        const qsizetype closing = line.indexOf(kQuote, 1);
        return line.mid(1, closing < 0 ? -1 : closing - 1).trimmed();
    }
    return line.left(line.indexOf(kComma)).trimmed();
}

QByteArray DatabaseIniFile::content(const QString& folder) {
    const QString value = folder.contains(kComma) ? kQuote + folder + kQuote : folder;
    return (value + QLatin1Char('\n')).toUtf8();
}
