#pragma once

#include <QAbstractButton>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMap>
#include <QTabBar>
#include <QTabWidget>

// The Alt+letter keys that two controls of a window take at once: for the window as it shows, then for
// each page of each of its tab widgets. Buttons, labels with a buddy, group boxes and tabs count; a
// control hidden with its page does not. Each collision reads "window, page: Alt+B: &Buchen | …".
inline QStringList mnemonicCollisions(QWidget& window) {
    const auto collisionsInView = [&window](const QString& where) {
        QMap<QString, QStringList> byKey;
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            QStringList texts;
            if (auto* button = qobject_cast<QAbstractButton*>(widget))
                texts << button->text();
            else if (auto* label = qobject_cast<QLabel*>(widget); label && label->buddy())
                texts << label->text();
            else if (auto* box = qobject_cast<QGroupBox*>(widget))
                texts << box->title();
            else if (auto* tabs = qobject_cast<QTabBar*>(widget))
                for (int i = 0; i < tabs->count(); ++i)
                    texts << tabs->tabText(i);
            for (const QString& text : texts)
                if (widget->isVisibleTo(&window) && !QKeySequence::mnemonic(text).isEmpty())
                    byKey[QKeySequence::mnemonic(text).toString()].append(text);
        }
        QStringList collisions;
        for (auto it = byKey.cbegin(); it != byKey.cend(); ++it)
            if (it->size() > 1)
                collisions << where + QStringLiteral(": ") + it.key() + QStringLiteral(": ") +
                                  it->join(" | ");
        return collisions;
    };
    QStringList collisions = collisionsInView(window.objectName());
    for (QTabWidget* tabs : window.findChildren<QTabWidget*>())
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            collisions += collisionsInView(window.objectName() + ", " + tabs->tabText(page).trimmed());
        }
    collisions.removeDuplicates();
    return collisions;
}
