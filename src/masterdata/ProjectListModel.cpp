#include "ProjectListModel.h"

#include "DayNumber.h"

#include <QColor>

namespace {

QString amountText(const std::optional<Money>& amount) {
    return amount ? amount->toGerman() : QString();
}

} // namespace

ProjectListModel::ProjectListModel(QObject* parent)
    : TextTableModel({QStringLiteral("ProjektNr."), QStringLiteral("Projektbezeichnung"),
                      QStringLiteral("Datum"), QStringLiteral("Budget (€)"), QStringLiteral("Bezahlt"),
                      QStringLiteral("Gebunden"), QStringLiteral("Verbleibend"), QStringLiteral("Anteil %"),
                      QString()},
                     parent) {
    sortAs(SortKind::Amount, {int(Column::Budget), int(Column::Paid), int(Column::Committed),
                              int(Column::Remaining), int(Column::Share)});
}

void ProjectListModel::setProjects(const QList<Project>& projects,
                                   const QHash<qint64, BudgetFigures>& figures) {
    QList<Row> rows;
    rows.reserve(projects.size());
    for (const Project& project : projects) {
        const QString number = QString::number(project.id);
        const QString day = project.startDay
                                ? QStringLiteral("%1").arg(*project.startDay, 10, 10, QLatin1Char('0'))
                                : QString();
        const BudgetFigures figure = figures.value(project.id);
        const std::optional<double> share = figure.sharePercent();
        QStringList texts{number,
                          project.name,
                          DayNumber::format(project.startDay),
                          amountText(figure.budget),
                          figure.paid.toGerman(),
                          figure.committed.toGerman(),
                          amountText(figure.remaining()),
                          share ? Money::fromEuros(*share).toGerman() : QString(),
                          QString()};
        QStringList sortValues = texts;
        sortValues[int(Column::StartDate)] = day;
        rows.append({project.id, std::move(texts), std::move(sortValues)});
    }
    setRows(std::move(rows));
}

bool ProjectListModel::isOverBudget(int row) const {
    return textAt(row, int(Column::Remaining)).startsWith(QLatin1Char('-'));
}

QVariant ProjectListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const bool figure = index.column() >= int(Column::Budget) && index.column() <= int(Column::Share);
    if (figure && role == Qt::ForegroundRole && isOverBudget(index.row()))
        return QColor(255, 0, 0);
    return TextTableModel::data(index, role);
}
