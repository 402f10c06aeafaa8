#include "ExemptionListModel.h"

#include "DayNumber.h"

ExemptionListModel::ExemptionListModel(QObject* parent)
    : TextTableModel({QStringLiteral("Nummer"), QStringLiteral("Finanzamt"), QStringLiteral("Gültig von"),
                      QStringLiteral("Gültig bis"), QStringLiteral("Geprüft am")},
                     parent) {}

void ExemptionListModel::setExemptions(const QList<Exemption>& exemptions) {
    QList<Row> rows;
    rows.reserve(exemptions.size());
    for (const Exemption& exemption : exemptions)
        rows.append({exemption.id,
                     {exemption.number, exemption.taxOffice, DayNumber::format(exemption.validFrom),
                      DayNumber::format(exemption.validTo), DayNumber::format(exemption.checkedOn)},
                     {},
                     false});
    setRows(std::move(rows));
}
