#pragma once

struct sqlite3;

// The engine's matches(pattern, text) (and its LIKE) and fold(text), installed on each connection, so
// that every pattern search and every comparison of stored names in SQL follows PatternMatcher.
class PatternFunctions {
public:
    static bool registerOn(sqlite3* connection);
};
