#pragma once

#include "TextTableModel.h"
#include "WithholdingReading.h"

#include <optional>

// The list of "Bauabzugsteuer": for each month and tax office a bold row with the sum withheld and the day
// it is due, followed by the payments it was withheld from (project, running number, company, invoice, gross
// amount, payment day, amount withheld). The rows keep that order.
class WithholdingListModel : public TextTableModel {
    Q_OBJECT
public:
    enum class Column {
        Month,
        TaxOffice,
        DueOn,
        Project,
        RunningNumber,
        Company,
        InvoiceDate,
        InvoiceAmount,
        PaidOn,
        Gross,
        Withheld
    };

    explicit WithholdingListModel(QObject* parent = nullptr);

    static QStringList headings();
    void setMonths(const QList<WithholdingReading::Month>& months);
    // The payment shown in row; nullopt for a month's row.
    std::optional<WithheldPayment> paymentAt(int row) const { return m_payments.value(row); }
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QList<std::optional<WithheldPayment>> m_payments;
};
