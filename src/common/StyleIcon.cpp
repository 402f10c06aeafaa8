#include "StyleIcon.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

QIcon StyleIcon::of(const QWidget& widget, QStyle::StandardPixmap icon) {
    static QPointer<QStyle> keptFor;
    static QHash<int, QIcon> kept;
    QStyle* style = widget.style();
    if (keptFor != style) {
        kept.clear();
        keptFor = style;
    }
    const auto found = kept.constFind(int(icon));
    if (found != kept.cend())
        return found.value();
    return *kept.insert(int(icon), style->standardIcon(icon));
}
