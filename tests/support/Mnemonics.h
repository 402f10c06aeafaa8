#pragma once

#include <QAbstractButton>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMap>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>

// The Alt+letter keys that two controls of a window take at once: for the window as it shows, then for
// each page of each of its tab widgets. Buttons, labels with a buddy, group boxes and tabs count; a
// control hidden with its page does not. Each collision reads "window, page: Alt+B: &Buchen | …".
inline QStringList mnemonicCollisions(QWidget& window) {
    const auto collisionsInView = [&window](const QString& where) {
        QMap<QString, QStringList> byKey;
        const auto take = [&byKey](const QString& text) {
            const QString key = QKeySequence::mnemonic(text).toString();
            if (!key.isEmpty())
                byKey[key].append(text);
        };
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(&window))
                continue;
            if (auto* button = qobject_cast<QAbstractButton*>(widget))
                take(button->text());
            else if (auto* label = qobject_cast<QLabel*>(widget); label && label->buddy())
                take(label->text());
            else if (auto* box = qobject_cast<QGroupBox*>(widget))
                take(box->title());
            else if (auto* tabs = qobject_cast<QTabBar*>(widget))
                for (int i = 0; i < tabs->count(); ++i)
                    take(tabs->tabText(i));
        }
        QStringList collisions;
        for (auto it = byKey.cbegin(); it != byKey.cend(); ++it)
            if (it->size() > 1)
                collisions.append(where + QStringLiteral(": ") + it.key() + QStringLiteral(": ") +
                                  it->join(QStringLiteral(" | ")));
        return collisions;
    };
    const QString name = window.objectName();
    QStringList collisions = collisionsInView(name);
    for (QTabWidget* tabs : window.findChildren<QTabWidget*>()) {
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            collisions += collisionsInView(name + QStringLiteral(", ") + tabs->tabText(page).trimmed());
        }
    }
    collisions.removeDuplicates();
    return collisions;
}
