#pragma once

#include <QPaintDevice>
#include <QSize>
#include <QtMath>

// Screen geometry given in twips (1440 to the inch), turned into pixels at a device's logical DPI.
class Twips {
public:
    static int toPixelsX(int twips, const QPaintDevice& device) {
        return qRound(twips * device.logicalDpiX() / 1440.0);
    }
    static int toPixelsY(int twips, const QPaintDevice& device) {
        return qRound(twips * device.logicalDpiY() / 1440.0);
    }
    static int fromPixelsX(int pixels, const QPaintDevice& device) {
        return qRound(pixels * 1440.0 / device.logicalDpiX());
    }
    static int fromPixelsY(int pixels, const QPaintDevice& device) {
        return qRound(pixels * 1440.0 / device.logicalDpiY());
    }
    static QSize toPixels(int widthTwips, int heightTwips, const QPaintDevice& device) {
        return {toPixelsX(widthTwips, device), toPixelsY(heightTwips, device)};
    }
};
