#pragma once

#include "NameEntry.h"
#include "TextTableModel.h"

// The list of trades or of cost groups on the presets: number and name.
class NameEntryListModel : public TextTableModel {
    Q_OBJECT
public:
    enum class Column { Number, Name };

    explicit NameEntryListModel(const QString& nameHeading, QObject* parent = nullptr);
    void setEntries(const QList<NameEntry>& entries);
};
