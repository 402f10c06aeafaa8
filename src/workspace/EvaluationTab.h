#pragma once

#include <QStringList>
#include <QWidget>

class QComboBox;
class QDateEdit;
class QPushButton;
class QRadioButton;
class QStringListModel;
struct WorkspaceContext;

// The workspace's tab "Auswertung / Filter": the project's bookings of one company, one trade, one cost
// group or one year of instruction. Its filter lists offer only what the project's bookings hold.
class EvaluationTab : public QWidget {
    Q_OBJECT
public:
    enum class Filter { Company, Trade, CostGroup, Year };

    EvaluationTab(WorkspaceContext& context, QWidget* parent = nullptr);

    void setCompanies(const QStringList& names);
    void setTrades(const QStringList& names);
    void setCostGroups(const QStringList& names);
    QStringList companies() const;
    QStringList trades() const;
    QStringList costGroups() const;
    bool chooseCompany(const QString& name);
    void selectFilter(Filter filter);
    Filter filter() const;

    // Rebuilds the evaluation list for the chosen filter.
    void AusWertung();

private:
    QComboBox* picker(const QString& name, QStringListModel*& model);

    WorkspaceContext& m_context;
    QRadioButton* m_byCompany = nullptr;
    QRadioButton* m_byTrade = nullptr;
    QRadioButton* m_byCostGroup = nullptr;
    QRadioButton* m_byYear = nullptr;
    QComboBox* m_company = nullptr;
    QComboBox* m_trade = nullptr;
    QComboBox* m_costGroup = nullptr;
    QStringListModel* m_companies = nullptr;
    QStringListModel* m_trades = nullptr;
    QStringListModel* m_costGroups = nullptr;
    QDateEdit* m_year = nullptr;
    QPushButton* m_refresh = nullptr;
};
