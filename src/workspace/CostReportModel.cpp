#include "CostReportModel.h"

#include "BookingListModel.h"
#include "RunningNumberText.h"
#include "SameName.h"

#include <QColor>
#include <QFont>

namespace {

const QString kBlank = QStringLiteral(" ");
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kBlack(0, 0, 0);

QString shownOrBlank(bool shown, Money amount) {
    return shown ? amount.toGerman() : kBlank;
}

} // namespace

CostReportModel::CostReportModel(QObject* parent)
    : TextTableModel({QStringLiteral("LNr"), QStringLiteral("Firma"), QStringLiteral("Gewerk"),
                      QStringLiteral("Kostengruppe"), QStringLiteral("Kostenberechnung"),
                      QStringLiteral("Kostenanschlag"), QStringLiteral("Nachträge "),
                      QStringLiteral("Kostenfeststellung"), QStringLiteral("Abrechnungssumme"),
                      QStringLiteral("Abweichung Euro"), QStringLiteral("Abweichung %"),
                      QStringLiteral("Einbehalten")},
                     parent) {
    sortAs(SortKind::Number, {int(Column::Number)});
    sortAs(SortKind::Amount, {int(Column::Calculation), int(Column::Award), int(Column::Supplements),
                              int(Column::DeterminedCost), int(Column::Payments), int(Column::Deviation),
                              int(Column::DeviationPercent), int(Column::Retained)});
}

QString CostReportModel::percentText(double percent) {
    return Money::fromEuros(percent).toGerman();
}

void CostReportModel::setReport(const CostReport& report, const QHash<QString, Money>& retained) {
    Money retainedInAll;
    QList<Row> rows;
    rows.reserve(report.lines().size() + 1);
    int number = 0;
    for (const CostReport::Line& line : report.lines()) {
        Row& row = rows.emplaceBack();
        row.id = line.lastBookingId;
        row.texts.reserve(kColumnCount);
        row.texts << RunningNumberText::of(++number) << line.company << line.trade << line.costGroup
                  << shownOrBlank(line.calculationShown, line.calculation)
                  << shownOrBlank(line.awardShown, line.award)
                  << shownOrBlank(line.supplementsShown, line.supplements) << line.determinedCost().toGerman()
                  << line.payments.toGerman() << line.deviation().toGerman()
                  << percentText(line.deviationPercent());
        const auto found = retained.constFind(SameName::fold(line.company));
        row.texts << (found != retained.cend() ? found->toGerman() : QString());
        if (found != retained.cend())
            retainedInAll += *found;
    }
    const CostReport::Totals& totals = report.totals();
    const std::optional<double> percent = totals.deviationPercent();
    Row& sums = rows.emplaceBack();
    sums.keptLast = true;
    sums.texts << QString() << QString() << QStringLiteral("Summen:") << QString()
               << totals.calculation.toGerman() << totals.award.toGerman() << totals.supplements.toGerman()
               << totals.determinedCost.toGerman() << totals.payments.toGerman()
               << totals.deviation.toGerman() << (percent ? percentText(*percent) : QString())
               << retainedInAll.toGerman();
    const BudgetFigures budget = report.budgetFigures();
    const std::optional<Money> remaining = budget.remaining();
    const std::pair<QString, QString> closing[] = {
        {QStringLiteral("Budget"), budget.budget ? budget.budget->toGerman() : QString()},
        {QStringLiteral("Gebunden (Aufträge und Nachträge)"), budget.committed.toGerman()},
        {QStringLiteral("Verbleibend"), remaining ? remaining->toGerman() : QString()}};
    for (const auto& [label, amount] : closing) {
        Row& line = rows.emplaceBack();
        line.keptLast = true;
        line.texts = QStringList(kColumnCount);
        line.texts[int(Column::Trade)] = label;
        line.texts[int(Column::DeterminedCost)] = amount;
    }
    setRows(std::move(rows));
}

bool CostReportModel::isClosingRow(int row) const {
    return row >= 0 && row >= rowCount() - kClosingRows && row < rowCount();
}

bool CostReportModel::isAmountColumn(int column) {
    return column >= int(Column::Calculation) && column < kColumnCount;
}

QVariant CostReportModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int column = index.column();
    switch (role) {
    case Qt::ForegroundRole:
        if (isClosingRow(index.row())) {
            if (column >= int(Column::Trade) && textAt(index.row(), column).startsWith(QLatin1Char('-')) &&
                index.row() == rowCount() - 1)
                return kRed;
            if (column >= int(Column::Trade) && !textAt(index.row(), column).isEmpty())
                return kBlue;
        } else if (column == int(Column::Deviation) || column == int(Column::DeviationPercent)) {
            return textAt(index.row(), column).startsWith(QLatin1Char('-')) ? kRed : kBlack;
        }
        break;
    case Qt::FontRole:
        if (isClosingRow(index.row()) && column >= int(Column::Trade) &&
            !textAt(index.row(), column).isEmpty()) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        break;
    default:
        break;
    }
    return TextTableModel::data(index, role);
}
