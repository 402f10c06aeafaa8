#include "RightMirror.h"

#include <QWidget>

void RightMirror::apply(std::initializer_list<QWidget*> controls, bool allowed, const QString& rightWord) {
    if (allowed)
        return;
    for (QWidget* control : controls) {
        control->setEnabled(false);
        control->setToolTip(missing(rightWord));
    }
}

QString RightMirror::missing(const QString& rightWord) {
    return QStringLiteral("Dazu fehlt Ihnen das Recht „%1“.").arg(rightWord);
}
