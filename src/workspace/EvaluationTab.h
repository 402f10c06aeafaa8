#pragma once

#include "ListSnapshot.h"
#include "Money.h"

#include <QStringList>
#include <QWidget>

class EvaluationListModel;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStringListModel;
class FittedColumns;
class ReportListView;
struct WorkspaceContext;

// The workspace's tab "Auswertung / Filter": the project's bookings of one company, one trade, one cost
// group or one year of instruction, with their count and partial sum, narrowed to one state on the way to
// payment when one is chosen. Its filter lists offer only what the project's bookings hold.
class EvaluationTab : public QWidget {
    Q_OBJECT
public:
    enum class Filter { Company, Trade, CostGroup, Year };
    // The columns whose widths the settings keep ("LvW3").
    static constexpr int kStoredWidthsRead = 8;
    static constexpr int kStoredWidthsWritten = 8;

    EvaluationTab(WorkspaceContext& context, QWidget* parent = nullptr);

    // The filter lists keep the chosen entry when it is still offered, else the first is chosen.
    void setCompanies(const QStringList& names);
    void setTrades(const QStringList& names);
    void setCostGroups(const QStringList& names);
    QStringList companies() const;
    QStringList trades() const;
    QStringList costGroups() const;
    bool chooseCompany(const QString& name);
    void selectFilter(Filter filter);
    Filter filter() const;
    // The state word the list is narrowed to ("erfasst" ... "bezahlt"), empty for "alle".
    QString chosenState() const;
    bool chooseState(const QString& word);

    // Rebuilds the evaluation list, its count and partial sum for the chosen filter, leaving out a
    // booking that waits in the entry fields; ascending by running number afterwards.
    // False when the file could not be read (the user was told).
    bool AusWertung();
    // Runs the evaluation again for the filter and value the user chose ("Firma" when none is chosen
    // yet), keeping the list's sort: a return to the window shows and prints the same rows.
    void refresh();
    // Chooses the filter "Firma" when none is chosen yet.
    void chooseCompaniesUnlessFiltered();
    int count() const;
    Money partialSum() const { return m_sum; }

    QList<int> columnWidthsInTwips(int count) const;
    void setColumnWidthsInTwips(const QList<int>& widths);
    // The columns' widths were given or set by the user, and are kept in the settings; else they fit
    // themselves to their texts.
    bool columnsSizedByUser() const;
    ListSnapshot snapshot() const;

signals:
    // The list was rebuilt with this many bookings, for the status bar's "Buchungen: ".
    void counted(int count);

private:
    QComboBox* picker(const QString& name, QStringListModel*& model);
    bool hasFilter() const;
    void sortByHeading(int column);

    WorkspaceContext& m_context;
    QRadioButton* m_byCompany = nullptr;
    QRadioButton* m_byTrade = nullptr;
    QRadioButton* m_byCostGroup = nullptr;
    QRadioButton* m_byYear = nullptr;
    QComboBox* m_company = nullptr;
    QComboBox* m_trade = nullptr;
    QComboBox* m_costGroup = nullptr;
    QComboBox* m_state = nullptr;
    QStringListModel* m_companies = nullptr;
    QStringListModel* m_trades = nullptr;
    QStringListModel* m_costGroups = nullptr;
    QDateEdit* m_year = nullptr;
    QPushButton* m_refresh = nullptr;
    EvaluationListModel* m_model = nullptr;
    ReportListView* m_list = nullptr;
    FittedColumns* m_fit = nullptr;
    QLineEdit* m_sumField = nullptr;
    Money m_sum;
    int m_sortHeading = 0;
    Qt::SortOrder m_order = Qt::AscendingOrder;
};
