#pragma once

struct sqlite3;

// The engine's like(pattern, text) and fold(text), installed on each connection, so that every LIKE and
// every comparison of stored names in SQL follows PatternMatcher.
class PatternFunctions {
public:
    static bool registerOn(sqlite3* connection);
};
