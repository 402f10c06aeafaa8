#include "InvoiceLineModel.h"

#include "InvoicePresentation.h"

InvoiceLineModel::InvoiceLineModel(QObject* parent)
    : TextTableModel(InvoicePresentation::lineHeadings(), parent) {
    sortAs(SortKind::Amount, {2, 4, 5, 6});
}

void InvoiceLineModel::setInvoice(const Invoice& invoice) {
    QList<Row> rows;
    const QList<QStringList> lines = InvoicePresentation::lineRows(invoice);
    rows.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        rows.append({i, lines.at(i), {}, false});
    setRows(std::move(rows));
}
