#pragma once

#include "SameName.h"

#include <QString>
#include <QStringView>

#include <string>
#include <vector>

// The LIKE of the database: '*' stands for any run of characters, '?' for exactly one; every other
// character, '%' and '_' included, stands for itself. Letter case is ignored for all letters,
// umlauts included, as SameName folds them. The engine's like() and fold() are these
// (sqlite/PatternFunctions).
class PatternMatcher {
public:
    static bool matches(QStringView pattern, QStringView text);
    // The pattern that finds text anywhere: "*" + text + "*".
    static QString anywhere(const QString& userText);
    // The pattern that finds text at the start: text + "*".
    static QString fromLeft(const QString& userText);

    // The same for texts held as UTF-8, as the engine hands them over; a pattern is compiled once for
    // the many texts it is matched against.
    using Compiled = std::vector<char32_t>;
    static Compiled compileUtf8(const char* pattern, int length);
    static bool matchesUtf8(const Compiled& pattern, const char* text, int length);
    // Replaces folded by the folded form of text.
    static void foldUtf8(const char* text, int length, std::string& folded);
};
