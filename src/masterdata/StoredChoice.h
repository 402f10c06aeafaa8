#pragma once

#include <QString>

class QComboBox;

// A drop-down list of names (trades, cost groups) that shows a record's stored name exactly, also when
// it is empty or no longer among the list's entries: such a name is shown as an extra entry of its own
// until forget(), so that saving the record writes back what was stored unless the user chose another.
class StoredChoice {
public:
    static void show(QComboBox& list, const QString& stored);
    // Removes the extra entry; when it was selected, the list's first entry is selected instead.
    static void forget(QComboBox& list);
};
