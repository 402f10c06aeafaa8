#pragma once

#include "EstimateListModel.h"
#include "ListSnapshot.h"
#include "Money.h"

#include <optional>
#include <QStringList>
#include <QWidget>

class AmountField;
class DateField;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class CompanyPicker;
class FittedColumns;
class ReportListView;
struct WorkspaceContext;

// The workspace's tab " Firma   ": the choice of one company, either from the whole register or, with
// "Alle Firmen anzeigen" off, from the companies booked in the project, with its trade, cost group and
// the project's total of payments; the architect's cost calculations and the orders of that company,
// booked, listed with their sums, taken back for correction and deleted. A row taken back stays in the
// file, left out of the list and its sums, until its corrected entry is booked and replaces it.
class CompanyTab : public QWidget {
    Q_OBJECT
public:
    static constexpr int kStoredWidthsRead = 7;
    static constexpr int kStoredWidthsWritten = 9;

    // The kinds of order offered: an empty entry, "Auftrag vom" and thirty supplements.
    static QStringList orderKinds();

    CompanyTab(WorkspaceContext& context, QWidget* parent = nullptr);

    bool showsAllCompanies() const;
    void setShowsAllCompanies(bool all);
    // Lists the companies offered, selecting the first, or the chosen one while a row waits.
    void setCompanies(const QStringList& names);
    QStringList companies() const;
    QString company() const;
    // Selects the company when it is listed, showing its trade and cost group.
    bool chooseCompany(const QString& name);
    void setProjectTotal(Money total);

    // Refills the company's estimate rows and both sums, leaving out a row that waits. False when the
    // file could not be read (the German message was shown): the list keeps its rows, marked.
    bool List2Fuellen();
    EstimateSums sums() const { return m_sums; }

    // "&Buchen". True when the entry was stored.
    bool book();
    bool hasWaitingRow() const;
    std::optional<qint64> waitingRowId() const;
    // Books the corrected entry in place of the waiting row; true when it was booked or nothing waits.
    bool bookWaitingRow();
    // Gives up the correction: the waiting row stays in the file as it was.
    void keepWaitingRow();
    // Asks whether the waiting row's correction is to be booked now, and books or keeps it; false when
    // it still waits (its booking failed, or the user cancelled). True at once when nothing waits.
    bool settleWaitingRow();

    QList<int> columnWidthsInTwips(int count) const;
    void setColumnWidthsInTwips(const QList<int>& widths);
    // The columns' widths were given or set by the user, and are kept in the settings; else they fit
    // themselves to their texts.
    bool columnsSizedByUser() const;
    ListSnapshot snapshot() const;

protected:
    // Enter in a field of the two frames or on "&Buchen" books the entry.
    void keyPressEvent(QKeyEvent* event) override;

signals:
    // "Alle Firmen anzeigen" was switched by the user.
    void showAllToggled(bool all);
    void companyChosen(const QString& company);
    // An estimate row was booked, taken back, kept or deleted.
    void estimatesChanged();
    void securitiesRequested();

private:
    QWidget* buildArchitectBox();
    QWidget* buildOrderBox();
    void showCompany(const QString& name);
    void takeBackSelected();
    // Puts estimate row rowId into the entry fields, where it waits for its correction.
    void loadForCorrection(qint64 rowId);
    void deleteSelected();
    // Opens the payment terms of the order on the selected row ("Auftrag vom").
    void editTermsOfSelected();
    void sortByHeading(int column);
    void reportReadError();
    // The row selected in the list, or -1 after telling the user to select one.
    int selectedRowOrSay();
    void endCorrection();
    // An amount field's value to store: nullopt for an empty field; false when its text is no amount.
    bool amountToStore(const AmountField& field, std::optional<Money>& amount);

    WorkspaceContext& m_context;
    CompanyPicker* m_company = nullptr;
    QCheckBox* m_all = nullptr;
    QLineEdit* m_trade = nullptr;
    QLineEdit* m_costGroup = nullptr;
    QLineEdit* m_projectTotal = nullptr;
    DateField* m_architectDate = nullptr;
    AmountField* m_architectCost = nullptr;
    QLineEdit* m_architectSum = nullptr;
    QComboBox* m_kind = nullptr;
    DateField* m_orderDate = nullptr;
    AmountField* m_orderCost = nullptr;
    QLineEdit* m_orderSum = nullptr;
    QPushButton* m_book = nullptr;
    QPushButton* m_takeBack = nullptr;
    QPushButton* m_delete = nullptr;
    QLabel* m_waitingNotice = nullptr;
    EstimateListModel* m_model = nullptr;
    ReportListView* m_list = nullptr;
    FittedColumns* m_fit = nullptr;
    EstimateSums m_sums;
    int m_sortHeading = int(EstimateListModel::Column::RunningNumber);
    Qt::SortOrder m_order = Qt::DescendingOrder;
};
