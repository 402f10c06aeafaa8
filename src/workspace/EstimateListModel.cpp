#include "EstimateListModel.h"

#include "DayNumber.h"

namespace {
QString amountText(const std::optional<Money>& amount) {
    return amount ? amount->toGerman() : QString();
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

int EstimateListModel::sortColumnFor(int clickedColumn) {
    return headingSortColumn(
        clickedColumn, Column::Spare,
        {{Column::ArchitectDate, Column::ArchitectDay}, {Column::OrderDate, Column::OrderDay}});
}
