#pragma once

#include <QCollator>

// The one German alphabetical order of the program: letter case ignored, umlauts beside their base
// letters ("Öl" before "Pflaster"), digits compared as text ("10" before "2"). Lists sorted in the
// program and lists ordered by the database use it alike.
class GermanCollator {
public:
    static QCollator make();
};
