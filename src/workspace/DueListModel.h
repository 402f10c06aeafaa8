#pragma once

#include "DueReading.h"
#include "TextTableModel.h"

// The list of "Fälligkeiten": the received invoices waiting for payment with project, running number,
// company, invoice, kind, receipt, due day, days left, the discount's last day and amount, the interest
// owed and the amount; late rows in red, a discount about to be lost in bold orange; three hidden columns
// sort the dates.
class DueListModel : public TextTableModel {
    Q_OBJECT
public:
    enum class Column {
        Project,
        RunningNumber,
        Company,
        InvoiceNumber,
        PaymentKind,
        Received,
        DueOn,
        DaysLeft,
        DiscountLastDay,
        Discount,
        Interest,
        Amount,
        ReceivedDay,
        DueDay,
        DiscountDay
    };
    static constexpr int kShownColumns = 12;

    explicit DueListModel(QObject* parent = nullptr);

    static QStringList headings();
    void setItems(QList<DueItem> items);
    const DueItem& itemAt(int row) const { return m_items.at(row); }
    // The column a click on heading sorts by: a date by its hidden column.
    static int sortColumnFor(int heading);
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

protected:
    int heldRows() const override;
    qint64 idOf(int row) const override;
    QString textOf(int row, int column) const override;
    bool keptLastAt(int row) const override;
    QString sortTextOf(int row, int column) const override;
    void reorder(const QList<int>& order) override;

private:
    QList<DueItem> m_items;
};
