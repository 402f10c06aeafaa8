#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

#include <optional>

class QWidget;

// Keeps top-level windows inside the usable area of their screen (the screen less task bars and docks).
class WindowPlacement {
public:
    // Resizes window to wanted, bounded by the available area of the window's screen, and moves it so
    // that its frame lies fully inside that area. A window not yet placed on screen is centred in it;
    // before the first show the frame the window system will add is estimated from the style.
    static void fitIntoScreen(QWidget& window, QSize wanted);
    // As fitIntoScreen(), the window centred in the area whether or not it was placed.
    static void centreInScreen(QWidget& window, QSize wanted);

    // The client geometry for a window of the wanted size (never below minimum) whose frame, with the
    // given margins, lies inside available. frameTopLeft is the frame's current position; without one
    // the frame is centred.
    static QRect fittedGeometry(QSize wanted, QSize minimum, const QMargins& frame, const QRect& available,
                                std::optional<QPoint> frameTopLeft);
};
