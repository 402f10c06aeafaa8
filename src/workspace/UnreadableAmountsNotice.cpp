#include "UnreadableAmountsNotice.h"

#include "BookingListModel.h"
#include "Dialogs.h"
#include "RunningNumberText.h"
#include "WorkspaceContext.h"

namespace {
const QString kTitle = QStringLiteral("Unlesbare Beträge");
// More lines than a message box can show are summed up in one.
constexpr int kListedRows = 25;

QString quoted(const QString& text) {
    return QStringLiteral("„") + text + QStringLiteral("“");
}
} // namespace

UnreadableAmountsNotice::UnreadableAmountsNotice(WorkspaceContext& context, QWidget* parent)
    : QPushButton(parent), m_context(context) {
    setObjectName(QStringLiteral("cmdUnlesbareBetraege"));
    setFlat(true);
    setStyleSheet(QStringLiteral("color: #a00000; text-align: left;"));
    setToolTip(QStringLiteral("Die Buchungen und Einträge mit unlesbarem Betrag anzeigen"));
    hide();
    connect(this, &QPushButton::clicked, this, &UnreadableAmountsNotice::showDetails);
}

void UnreadableAmountsNotice::check() {
    bool bookingsRead = true;
    bool estimatesRead = true;
    const QList<Booking> bookings =
        m_context.ledger.bookingsWithUnreadableAmount(m_context.projectId, &bookingsRead);
    const QList<EstimateRow> estimates =
        m_context.ledger.estimateRowsWithUnreadableAmount(m_context.projectId, &estimatesRead);
    // A file that cannot be read is reported by the lists; the note stays as it was.
    if (!bookingsRead || !estimatesRead)
        return;
    QStringList counts;
    QStringList lines;
    if (bookings.size() == 1)
        counts += QStringLiteral("1 Buchung mit unlesbarem Betrag wird nicht mitgezählt");
    else if (!bookings.isEmpty())
        counts +=
            QStringLiteral("%1 Buchungen mit unlesbarem Betrag werden nicht mitgezählt").arg(bookings.size());
    if (estimates.size() == 1)
        counts +=
            QStringLiteral("1 Eintrag der Kostenberechnung und Aufträge mit unlesbarem Betrag wird nicht "
                           "mitgezählt");
    else if (!estimates.isEmpty())
        counts += QStringLiteral("%1 Einträge der Kostenberechnung und Aufträge mit unlesbarem Betrag werden "
                                 "nicht mitgezählt")
                      .arg(estimates.size());
    for (const Booking& booking : bookings)
        lines += QStringLiteral("LfdNr. %1  %2: %3")
                     .arg(RunningNumberText::of(booking.runningNumber), booking.company,
                          quoted(booking.unreadableAmount));
    for (const EstimateRow& row : estimates) {
        const QString number = row.runningNumber ? QString::number(*row.runningNumber) : QString();
        if (!row.unreadableArchitectCost.isEmpty())
            lines += QStringLiteral("Nr. %1  %2, Kostenberechnung: %3")
                         .arg(number, row.company, quoted(row.unreadableArchitectCost));
        if (!row.unreadableOrderCost.isEmpty())
            lines += QStringLiteral("Nr. %1  %2, %3: %4")
                         .arg(number, row.company,
                              row.orderKind.isEmpty() ? QStringLiteral("Auftrag") : row.orderKind,
                              quoted(row.unreadableOrderCost));
    }
    if (lines.size() > kListedRows) {
        const qsizetype more = lines.size() - kListedRows;
        lines.resize(kListedRows);
        lines += QStringLiteral("… und %1 weitere").arg(more);
    }
    if (counts.isEmpty()) {
        m_details.clear();
        hide();
        return;
    }
    m_details =
        counts.join(QStringLiteral(".\n")) + QStringLiteral(":\n\n") + lines.join(QLatin1Char('\n')) +
        QStringLiteral("\n\nSo korrigieren Sie eine Buchung: „Buchung bearbeiten“ übernimmt sie in die "
                       "Eingabe, wo Sie den Betrag neu eingeben und buchen.");
    setText(counts.join(QStringLiteral("; ")) + QStringLiteral(" (anzeigen)"));
    setAccessibleName(counts.join(QStringLiteral("; ")));
    show();
    if (!m_announced.contains(m_context.projectId)) {
        m_announced.insert(m_context.projectId);
        showDetails();
    }
}

void UnreadableAmountsNotice::showDetails() {
    m_context.dialogs.inform(window(), kTitle, m_details, Dialogs::Icon::Warning);
}
