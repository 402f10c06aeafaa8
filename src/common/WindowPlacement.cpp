#include "WindowPlacement.h"

#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace {
int clampedStart(int start, int length, int areaStart, int areaLength) {
    if (length >= areaLength)
        return areaStart;
    return std::clamp(start, areaStart, areaStart + areaLength - length);
}

QMargins expectedFrame(const QWidget& window) {
    if (window.testAttribute(Qt::WA_WState_Created) && window.isVisible()) {
        const QRect frame = window.frameGeometry();
        const QRect client = window.geometry();
        return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                frame.bottom() - client.bottom()};
    }
    const QStyle* style = window.style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
    const int title = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return {border, title + border, border, border};
}
} // namespace

QRect WindowPlacement::fittedGeometry(QSize wanted, QSize minimum, const QMargins& frame,
                                      const QRect& available, std::optional<QPoint> frameTopLeft) {
    const QSize room = available.size().shrunkBy(frame);
    const QSize client = wanted.boundedTo(room).expandedTo(minimum);
    const QSize outer = client.grownBy(frame);

    QPoint start = frameTopLeft.value_or(QPoint(available.left() + (available.width() - outer.width()) / 2,
                                                available.top() + (available.height() - outer.height()) / 2));
    start.setX(clampedStart(start.x(), outer.width(), available.left(), available.width()));
    start.setY(clampedStart(start.y(), outer.height(), available.top(), available.height()));
    return {start + QPoint(frame.left(), frame.top()), client};
}

namespace {
void fit(QWidget& window, QSize wanted, bool keepPlace) {
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    const QMargins frame = expectedFrame(window);
    const bool placed = keepPlace && (window.isVisible() || window.testAttribute(Qt::WA_Moved));
    const std::optional<QPoint> current =
        placed ? std::optional<QPoint>(window.frameGeometry().topLeft()) : std::nullopt;
    const QRect geometry = WindowPlacement::fittedGeometry(wanted, window.minimumSize(), frame,
                                                           screen->availableGeometry(), current);
    window.resize(geometry.size());
    window.move(geometry.topLeft() - QPoint(frame.left(), frame.top()));
}
} // namespace

void WindowPlacement::fitIntoScreen(QWidget& window, QSize wanted) {
    fit(window, wanted, true);
}

void WindowPlacement::centreInScreen(QWidget& window, QSize wanted) {
    fit(window, wanted, false);
}
