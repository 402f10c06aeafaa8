#include "CompanyListModel.h"

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
