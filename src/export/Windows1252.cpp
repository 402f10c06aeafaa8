#include "Windows1252.h"

namespace {
// The characters of the bytes 0x80 to 0x9F; 0 where the code page leaves a byte unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D).
constexpr char16_t kUpperControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};
} // namespace

int Windows1252::byteOf(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return int(character);
    if (character < 0x100 || character > 0xFFFF)
        return -1;
    for (int i = 0; i < 32; ++i) {
        if (kUpperControls[i] == character)
            return 0x80 + i;
    }
    return -1;
}

QByteArray Windows1252::encode(QStringView text, qsizetype* replaced) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    qsizetype unknown = 0;
    const char16_t* characters = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        char32_t character = characters[i];
        if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
            *out++ = char(character);
            continue;
        }
        // A character beyond the 16-bit range comes as a surrogate pair and counts as one.
        if (QChar::isHighSurrogate(character) && i + 1 < size && QChar::isLowSurrogate(characters[i + 1])) {
            character = QChar::surrogateToUcs4(characters[i], characters[i + 1]);
            ++i;
        }
        const int byte = byteOf(character);
        if (byte < 0)
            ++unknown;
        *out++ = byte < 0 ? '?' : char(byte);
    }
    bytes.truncate(out - bytes.data());
    if (replaced)
        *replaced = unknown;
    return bytes;
}
