#include "MasterListView.h"

#include "Twips.h"

#include <QHeaderView>

MasterListView::MasterListView(const QString& objectName, QWidget* parent) : QTreeView(parent) {
    setObjectName(objectName);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAlternatingRowColors(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemsExpandable(false);
    header()->setStretchLastSection(false);
}

void MasterListView::setColumnWidthsInTwips(const QList<int>& widths) {
    for (int column = 0; column < widths.size(); ++column)
        setColumnWidth(column, Twips::toPixelsX(widths.at(column), *this));
}

int MasterListView::selectedRow() const {
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}
