#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

// When two stored names are the same name: equal ignoring letter case for every letter, umlauts
// included ("ÄRZTE" and "ärzte" are one name). The engine's fold() and the patterns fold alike.
class SameName {
public:
    // One code point as names are compared.
    static char32_t foldCodePoint(char32_t c) {
        if (c < 0x80)
            return (c >= U'A' && c <= U'Z') ? c + 32 : c;
        return QChar::toCaseFolded(c);
    }
    // The form in which two names compare equal.
    static QString fold(QStringView text);
    static bool equal(QStringView a, QStringView b) { return fold(a) == fold(b); }
};
