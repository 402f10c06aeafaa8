#pragma once

#include "Exemption.h"
#include "TextTableModel.h"

// The exemption certificates of one company in the company register: number, tax office, valid from and
// to, checked on.
class ExemptionListModel : public TextTableModel {
    Q_OBJECT
public:
    enum class Column { Number, TaxOffice, ValidFrom, ValidTo, CheckedOn };

    explicit ExemptionListModel(QObject* parent = nullptr);
    void setExemptions(const QList<Exemption>& exemptions);
};
