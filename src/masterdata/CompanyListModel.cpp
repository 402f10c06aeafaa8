#include "CompanyListModel.h"

#include "DayNumber.h"

#include <QColor>

CompanyListModel::CompanyListModel(QObject* parent)
    : TextTableModel({QStringLiteral("LfdNr."), QStringLiteral("Firma"), QStringLiteral("Ort"),
                      QStringLiteral("Gewerk"), QStringLiteral("Kostengruppe")},
                     parent) {
    sortAs(SortKind::Number, {int(Column::Number)});
}

void CompanyListModel::setCompanies(QList<Company> companies) {
    QList<Row> rows;
    rows.reserve(companies.size());
    for (Company& company : companies) {
        QString town = std::move(company.postcode);
        town += QLatin1Char(' ');
        town += company.town;
        Row& row = rows.emplaceBack();
        row.id = company.id;
        row.texts.reserve(5);
        row.texts.append(QString::number(company.id));
        row.texts.append(std::move(company.name));
        row.texts.append(std::move(town));
        row.texts.append(std::move(company.trade));
        row.texts.append(std::move(company.costGroup));
    }
    setRows(std::move(rows));
}

void CompanyListModel::setCertificatesEnding(QHash<qint64, int> lastDays, int today) {
    m_lastDays = std::move(lastDays);
    m_today = today;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::ForegroundRole, Qt::ToolTipRole});
}

QVariant CompanyListModel::data(const QModelIndex& index, int role) const {
    if ((role != Qt::ForegroundRole && role != Qt::ToolTipRole) || !index.isValid())
        return TextTableModel::data(index, role);
    const auto found = m_lastDays.constFind(idAt(index.row()));
    if (found == m_lastDays.cend())
        return TextTableModel::data(index, role);
    const bool expired = *found < m_today;
    if (role == Qt::ForegroundRole)
        return QColor(expired ? 0xc00000 : 0xc06000);
    return (expired ? QStringLiteral("Freistellungsbescheinigung abgelaufen am %1")
                    : QStringLiteral("Freistellungsbescheinigung läuft am %1 ab"))
        .arg(DayNumber::format(*found));
}
