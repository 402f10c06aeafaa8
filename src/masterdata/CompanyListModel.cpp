#include "CompanyListModel.h"

CompanyListModel::CompanyListModel(QObject* parent)
    : TextTableModel({QStringLiteral("LfdNr."), QStringLiteral("Firma"), QStringLiteral("Ort"),
                      QStringLiteral("Gewerk"), QStringLiteral("Kostengruppe")},
                     parent) {}

void CompanyListModel::setCompanies(const QList<Company>& companies) {
    QList<Row> rows;
    rows.reserve(companies.size());
    for (const Company& company : companies)
        rows.append({company.id,
                     {QString::number(company.id), company.name,
                      company.postcode + QLatin1Char(' ') + company.town, company.trade, company.costGroup},
                     {}});
    setRows(std::move(rows));
}
