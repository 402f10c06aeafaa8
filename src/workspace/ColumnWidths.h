#pragma once

#include <QList>
#include <QString>

// The stored form of a list's column widths: one group of six digits per column, each the width in
// twips with leading zeros ("001482002716" for 1482 and 2716 twips).
class ColumnWidths {
public:
    static QString encode(const QList<int>& twips);
    // The widths of the first groups, at most count of them; a group that is not six digits ends the
    // list there.
    static QList<int> decode(const QString& text, int count);
};
