#pragma once

#include <QByteArray>
#include <QStringView>

// The Windows code page 1252 (Western European, "ANSI"), in which German spreadsheet programs read text
// files: Latin-1 with the printable characters of 0x80 to 0x9F (€ is 0x80, „ 0x84, – 0x96 ...).
class Windows1252 {
public:
    // The byte of a character, or -1 when the code page has none for it.
    static int byteOf(char32_t character);
    // text in the code page; each character it cannot hold becomes "?", counted in replaced.
    static QByteArray encode(QStringView text, qsizetype* replaced = nullptr);
};
