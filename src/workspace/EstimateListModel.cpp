#include "EstimateListModel.h"

#include "DayNumber.h"

namespace {
QString amountText(const std::optional<Money>& amount) {
    return amount ? amount->toGerman() : QString();
}

QString dayText(const std::optional<int>& day) {
    return day ? QString::number(*day) : QString();
}
} // namespace

EstimateSums EstimateSums::of(const QList<EstimateRow>& rows) {
    EstimateSums sums;
    for (const EstimateRow& row : rows) {
        sums.architect += row.architectCost.value_or(Money());
        sums.order += row.orderCost.value_or(Money());
    }
    return sums;
}

EstimateListModel::EstimateListModel(QObject* parent)
    : TextTableModel({QStringLiteral("LfdNr."), QStringLiteral("Architekt Datum"),
                      QStringLiteral("Architekt Betrag"), QString(), QStringLiteral("Auträge Datum"),
                      QStringLiteral("Aufträge Art"), QStringLiteral("Aufträge Betrag"), QString(),
                      QStringLiteral("ArchitektDatumwert"), QStringLiteral("AufträgeDatumwert")},
                     parent) {
    sortAs(SortKind::Number, {int(Column::RunningNumber), int(Column::ArchitectDay), int(Column::OrderDay)});
    sortAs(SortKind::Amount, {int(Column::ArchitectCost), int(Column::OrderCost)});
}

QString EstimateListModel::kindText(const QString& storedKind) {
    return QLatin1Char(' ') + storedKind;
}

void EstimateListModel::setEstimates(const QList<EstimateRow>& estimates) {
    QList<Row> rows;
    rows.reserve(estimates.size());
    for (const EstimateRow& estimate : estimates) {
        Row& row = rows.emplaceBack();
        row.id = estimate.rowId;
        row.texts.reserve(kColumnCount);
        row.texts << (estimate.runningNumber ? QString::number(*estimate.runningNumber) : QString())
                  << DayNumber::format(estimate.architectDate) << amountText(estimate.architectCost)
                  << QString() << DayNumber::format(estimate.orderDate) << kindText(estimate.orderKind)
                  << amountText(estimate.orderCost) << QString() << dayText(estimate.architectDate)
                  << dayText(estimate.orderDate);
    }
    setRows(std::move(rows));
}

QVariant EstimateListModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::TextAlignmentRole &&
        (index.column() == int(Column::ArchitectCost) || index.column() == int(Column::OrderCost)))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return TextTableModel::data(index, role);
}

int EstimateListModel::sortColumnFor(int clickedColumn) {
    switch (Column(clickedColumn)) {
    case Column::ArchitectDate:
        return int(Column::ArchitectDay);
    case Column::OrderDate:
        return int(Column::OrderDay);
    case Column::RunningNumber:
    case Column::ArchitectCost:
    case Column::Spacer:
    case Column::OrderKind:
    case Column::OrderCost:
        return clickedColumn;
    default:
        return -1;
    }
}
