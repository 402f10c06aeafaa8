#pragma once

#include "Company.h"
#include "TextTableModel.h"

// The company register's list: number, name, postcode and town, trade and cost group.
class CompanyListModel : public TextTableModel {
    Q_OBJECT
public:
    enum class Column { Number, Name, Town, Trade, CostGroup };

    explicit CompanyListModel(QObject* parent = nullptr);
    void setCompanies(QList<Company> companies);
};
