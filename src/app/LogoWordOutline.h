#pragma once

#include <QPainterPath>
#include <QString>

// Traces the product logo's word "Zelvora" from Liberation Sans Bold for the build tool, so that the
// program fills the word as a path and never loads the font face for it.
class LogoWordOutline {
public:
    // The outline, laid out as QPainter::drawText lays the word out centred in a rectangle: the centre
    // of its line box lies on the origin and one unit is the font's pixel size. Empty, with the reason
    // in *error, when the installed font is not Liberation Sans Bold.
    static QPainterPath trace(QString* error);
};
