#pragma once

#include "Company.h"
#include "TextTableModel.h"

#include <QHash>

// The company register's list: number, name, postcode and town, trade and cost group; a company whose
// exemption certificate runs out within 30 days shows in orange, one whose certificate has run out in red.
class CompanyListModel : public TextTableModel {
    Q_OBJECT
public:
    enum class Column { Number, Name, Town, Trade, CostGroup };

    explicit CompanyListModel(QObject* parent = nullptr);
    void setCompanies(QList<Company> companies);
    // The companies whose latest certificate ends on the day given, at the latest 30 days after today.
    void setCertificatesEnding(QHash<qint64, int> lastDays, int today);
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QHash<qint64, int> m_lastDays;
    int m_today = 0;
};
