#pragma once

#include <QIcon>
#include <QStyle>

class QWidget;

// The style's standard icon for a widget, read from the style's image files once per style and kept:
// every window of the program shows the same few icons again.
namespace StyleIcon {
QIcon of(const QWidget& widget, QStyle::StandardPixmap icon);
}
