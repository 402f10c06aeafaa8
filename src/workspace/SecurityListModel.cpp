#include "SecurityListModel.h"

#include "DayNumber.h"

#include <QColor>

namespace {

QString amountText(const std::optional<Money>& amount) {
    return amount ? amount->toGerman() : QString();
}

QString notice(const SecurityReading::Line& line) {
    QStringList said;
    if (line.returnDue)
        said += QStringLiteral("Rückgabe fällig");
    if (line.missing)
        said += QStringLiteral("Sicherheit fehlt");
    return said.join(QStringLiteral(", "));
}

} // namespace

SecurityListModel::SecurityListModel(QObject* parent) : TextTableModel(headings(), parent) {
    sortAs(SortKind::Amount, {int(Column::Agreed), int(Column::Retained), int(Column::Amount)});
    sortAs(SortKind::Number, {int(Column::ReceivedOn), int(Column::ReturnDueOn), int(Column::ReturnedOn)});
}

QStringList SecurityListModel::headings() {
    return {QStringLiteral("Firma"),       QStringLiteral("Art"),         QStringLiteral("Vereinbart"),
            QStringLiteral("Einbehalten"), QStringLiteral("Form"),        QStringLiteral("Betrag"),
            QStringLiteral("Bürge"),       QStringLiteral("Urkunde-Nr."), QStringLiteral("Erhalten am"),
            QStringLiteral("Rückgabe am"), QStringLiteral("Zurück am"),   QStringLiteral("Hinweis")};
}

void SecurityListModel::setLines(QList<SecurityReading::Line> lines) {
    m_lines = std::move(lines);
    QList<Row> rows;
    rows.reserve(m_lines.size());
    for (const SecurityReading::Line& line : std::as_const(m_lines)) {
        Row& row = rows.emplaceBack();
        const std::optional<Security>& security = line.security;
        row.id = security ? security->id : 0;
        row.texts << line.company << line.kind << line.agreed.toGerman() << line.retained.toGerman()
                  << (security ? security->form : QString())
                  << (security ? amountText(security->amount) : QString())
                  << (security ? security->guarantor : QString())
                  << (security ? security->documentNumber : QString())
                  << (security ? DayNumber::format(security->receivedOn) : QString())
                  << (security ? DayNumber::format(security->returnDueOn) : QString())
                  << (security ? DayNumber::format(security->returnedOn) : QString()) << notice(line);
        // The days sort by their numbers, not by their texts.
        row.sortValues = row.texts;
        if (security) {
            row.sortValues[int(Column::ReceivedOn)] = dayText(security->receivedOn);
            row.sortValues[int(Column::ReturnDueOn)] = dayText(security->returnDueOn);
            row.sortValues[int(Column::ReturnedOn)] = dayText(security->returnedOn);
        }
    }
    setRows(std::move(rows));
}

QVariant SecurityListModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::ForegroundRole && index.isValid() && index.row() < m_lines.size()) {
        const SecurityReading::Line& line = m_lines.at(index.row());
        if (line.returnDue || line.missing)
            return QColor(255, 0, 0);
    }
    return TextTableModel::data(index, role);
}

void SecurityListModel::reorder(const QList<int>& order) {
    TextTableModel::reorder(order);
    QList<SecurityReading::Line> sorted;
    sorted.reserve(m_lines.size());
    for (const int row : order)
        sorted.append(std::move(m_lines[row]));
    m_lines = std::move(sorted);
}
