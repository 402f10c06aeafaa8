#pragma once

#include "SignOffReading.h"
#include "TextTableModel.h"

// The list of "Anordnungen": the bookings waiting for the login's next step, across projects, with
// project, running number, company, invoice, amount, state, who recorded it when and who confirmed it;
// two hidden columns sort the dates.
class SignOffListModel : public TextTableModel {
    Q_OBJECT
public:
    enum class Column {
        Project,
        RunningNumber,
        Company,
        InvoiceNumber,
        InvoiceDate,
        Amount,
        State,
        RecordedBy,
        RecordedAt,
        ConfirmedBy,
        InvoiceDay,
        RecordedStamp
    };
    static constexpr int kShownColumns = 10;
    static constexpr int kColumnCount = 12;

    explicit SignOffListModel(QObject* parent = nullptr);

    static QStringList headings();
    void setWaiting(QList<SignOffReading::Waiting> waiting);
    const SignOffReading::Waiting& waitingAt(int row) const { return m_waiting.at(row); }
    // The column a click on heading sorts by: a date by its hidden column.
    static int sortColumnFor(int heading);

protected:
    int heldRows() const override;
    qint64 idOf(int row) const override;
    QString textOf(int row, int column) const override;
    bool keptLastAt(int row) const override;
    QString sortTextOf(int row, int column) const override;
    std::optional<qint64> sortNumberOf(int row, int column, SortKind kind) const override;
    void reorder(const QList<int>& order) override;

private:
    QList<SignOffReading::Waiting> m_waiting;
};
