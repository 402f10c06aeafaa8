#pragma once

struct sqlite3;

// The order in which name lists are shown: German alphabetical order, letter case ignored, umlauts
// beside their base letters ("Öl" before "Pflaster"), digits as text ("10" before "2"). Registered on
// each connection as the collation GERMAN.
class GermanCollation {
public:
    static bool registerOn(sqlite3* connection);
};
