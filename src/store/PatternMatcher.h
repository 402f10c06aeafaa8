#pragma once

#include <QString>
#include <QStringView>

struct sqlite3;

// The LIKE of the database: '*' stands for any run of characters, '?' for exactly one; every other
// character, '%' and '_' included, stands for itself. Letter case is ignored for all letters,
// umlauts included. Registered on each connection as the engine's like() and as fold().
class PatternMatcher {
public:
    static bool matches(QStringView pattern, QStringView text);
    // The form in which two texts compare equal ignoring case ("ÄRZTE" and "ärzte" fold alike).
    static QString fold(QStringView text);
    // The pattern that finds text anywhere: "*" + text + "*".
    static QString anywhere(const QString& userText);
    // The pattern that finds text at the start: text + "*".
    static QString fromLeft(const QString& userText);
    // Installs like(pattern, text) and fold(text) on the connection. Returns false on failure.
    static bool registerOn(sqlite3* connection);
};
