#pragma once

#include "SecurityReading.h"
#include "TextTableModel.h"

// The list of a project's securities ("lvwSicherheiten"): per company and kind what is agreed and retained
// in cash, and each recorded security with its form, amount, guarantor, document number and days; a
// security due back or missing shows red and says so in the last column.
class SecurityListModel : public TextTableModel {
    Q_OBJECT
public:
    enum class Column {
        Company,
        Kind,
        Agreed,
        Retained,
        Form,
        Amount,
        Guarantor,
        DocumentNumber,
        ReceivedOn,
        ReturnDueOn,
        ReturnedOn,
        Notice
    };
    static constexpr int kColumnCount = 12;

    explicit SecurityListModel(QObject* parent = nullptr);
    static QStringList headings();

    void setLines(QList<SecurityReading::Line> lines);
    const SecurityReading::Line& lineAt(int row) const { return m_lines.at(row); }
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

protected:
    // The lines follow their rows, so that a sorted list colours and opens the line it shows.
    void reorder(const QList<int>& order) override;

private:
    QList<SecurityReading::Line> m_lines;
};
