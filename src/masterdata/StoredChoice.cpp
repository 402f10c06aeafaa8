#include "StoredChoice.h"

#include <QComboBox>

namespace {
// Item data that marks the extra entry.
constexpr int kStoredOnlyRole = Qt::UserRole + 1;
} // namespace

void StoredChoice::show(QComboBox& list, const QString& stored) {
    forget(list);
    const int index = list.findText(stored, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0 && !stored.isEmpty()) {
        list.setCurrentIndex(index);
        return;
    }
    list.insertItem(0, stored);
    list.setItemData(0, true, kStoredOnlyRole);
    list.setItemData(0,
                     stored.isEmpty() ? QStringLiteral("Bei dieser Firma ist nichts eingetragen")
                                      : QStringLiteral("Nicht (mehr) in den Voreinstellungen vorhanden"),
                     Qt::ToolTipRole);
    list.setCurrentIndex(0);
}

void StoredChoice::forget(QComboBox& list) {
    for (int i = list.count() - 1; i >= 0; --i) {
        if (list.itemData(i, kStoredOnlyRole).toBool()) {
            const bool selected = list.currentIndex() == i;
            list.removeItem(i);
            if (selected && list.count() > 0)
                list.setCurrentIndex(0);
        }
    }
}
