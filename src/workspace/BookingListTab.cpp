#include "BookingListTab.h"

#include "BookingListModel.h"
#include "Dialogs.h"
#include "FittedColumns.h"
#include "InvoiceReader.h"
#include "InvoiceView.h"
#include "JournalHistoryDialog.h"
#include "ReportListView.h"
#include "RightMirror.h"
#include "Session.h"
#include "WorkspaceContext.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace {
constexpr int kVisibleColumns = 11;
} // namespace

BookingListTab::BookingListTab(WorkspaceContext& context, QWidget* parent)
    : QWidget(parent), m_context(context) {
    auto* title = new QLabel(QStringLiteral("Zelvora, gesamte Maßnahme"), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    title->setFont(titleFont);

    m_list = new ReportListView(QStringLiteral("ListView1"), this);
    m_model = new BookingListModel(this);
    m_list->setModel(m_model);
    for (int column = kVisibleColumns; column < BookingListModel::kColumnCount; ++column)
        m_list->setColumnHidden(column, true);
    using Column = BookingListModel::Column;
    m_fit = new FittedColumns(*m_list, {int(Column::RunningNumber), int(Column::InstructedOn),
                                        int(Column::InvoiceDate), int(Column::Amount), int(Column::Spare)});
    m_list->header()->setSectionsClickable(true);
    m_list->setAccessibleName(title->text());

    auto* totalFrame = new QGroupBox(QStringLiteral("Gesamtsumme"), this);
    m_totalField = new QLineEdit(totalFrame);
    m_totalField->setObjectName(QStringLiteral("txtGesamtsumme"));
    m_totalField->setReadOnly(true);
    m_totalField->setAlignment(Qt::AlignRight);
    m_totalField->setAccessibleName(totalFrame->title());
    auto* totalLayout = new QHBoxLayout(totalFrame);
    totalLayout->addWidget(m_totalField);
    totalLayout->addWidget(new QLabel(QStringLiteral("Euro"), totalFrame));

    auto makeButton = [this](const QString& name, const QString& caption) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        return button;
    };
    m_refresh = makeButton(QStringLiteral("cmdAktualisieren"), QStringLiteral("&Aktualisieren"));
    m_takeBack = makeButton(QStringLiteral("cmdBuchungBearbeiten"), QStringLiteral("Buchung &bearbeiten"));
    m_delete = makeButton(QStringLiteral("cmdBuchungLoeschen"), QStringLiteral("Buchung &löschen"));
    RightMirror::apply({m_takeBack, m_delete}, m_context.session.may(Right::Record),
                       rightWord(Right::Record));
    m_showInvoice = makeButton(QStringLiteral("cmdRechnungAnzeigen"), QStringLiteral("Rechnung an&zeigen"));
    m_saveInvoice =
        makeButton(QStringLiteral("cmdRechnungSpeichern"), QStringLiteral("Rechnung speichern &unter …"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(totalFrame);
    bottom->addStretch();
    bottom->addWidget(m_showInvoice, 0, Qt::AlignBottom);
    bottom->addWidget(m_saveInvoice, 0, Qt::AlignBottom);
    bottom->addWidget(m_refresh, 0, Qt::AlignBottom);
    bottom->addWidget(m_takeBack, 0, Qt::AlignBottom);
    bottom->addWidget(m_delete, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(m_list, 1);
    layout->addLayout(bottom);

    setTabOrder(m_list, m_showInvoice);
    setTabOrder(m_showInvoice, m_saveInvoice);
    setTabOrder(m_saveInvoice, m_refresh);
    setTabOrder(m_refresh, m_takeBack);
    setTabOrder(m_takeBack, m_delete);

    connect(m_refresh, &QPushButton::clicked, this, &BookingListTab::refreshRequested);
    connect(m_takeBack, &QPushButton::clicked, this, [this] {
        if (const qint64 id = selectedBookingIdOrSay())
            emit takeBackRequested(id);
    });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        if (const qint64 id = selectedBookingIdOrSay())
            emit deleteRequested(id);
    });
    connect(m_showInvoice, &QPushButton::clicked, this, [this] {
        if (const qint64 id = selectedBookingIdOrSay())
            showInvoice(id);
    });
    connect(m_saveInvoice, &QPushButton::clicked, this, [this] {
        if (const qint64 id = selectedBookingIdOrSay())
            saveInvoice(id);
    });
    connect(m_list->header(), &QHeaderView::sectionClicked, this, &BookingListTab::sortByHeading);
    auto* history = new QAction(QStringLiteral("&Verlauf …"), this);
    history->setObjectName(QStringLiteral("cmdVerlauf"));
    connect(history, &QAction::triggered, this, [this] {
        if (const qint64 id = selectedBookingIdOrSay())
            JournalHistoryDialog::show(m_context.session, m_context.dialogs, QStringLiteral("tblBuchung"), id,
                                       QStringLiteral("Buchung ") + selectedRunningNumber(), this);
    });
    auto* journal = new QAction(QStringLiteral("Änderungs&protokoll des Projekts …"), this);
    journal->setObjectName(QStringLiteral("cmdProtokoll"));
    connect(journal, &QAction::triggered, this, &BookingListTab::journalRequested);
    m_list->addActions({history, journal});
    m_list->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_totalField->setText(Money().toGerman());
}

bool BookingListTab::EINLESEN() {
    bool ok = true;
    QList<Booking> bookings = m_context.ledger.bookings(m_context.projectId, &ok);
    m_list->setOutdated(!ok);
    if (!ok) {
        m_context.dialogs.inform(this, QStringLiteral("Lesefehler"), m_context.ledger.failureText(),
                                 Dialogs::Icon::Warning);
        return false;
    }
    if (m_context.waitingBookingId) {
        const qint64 waiting = *m_context.waitingBookingId;
        bookings.removeIf([waiting](const Booking& booking) { return booking.id == waiting; });
    }
    m_total = Money();
    for (const Booking& booking : std::as_const(bookings))
        m_total += booking.amount.value_or(Money());
    const int count = int(bookings.size());
    m_model->setBookings(std::move(bookings), m_context.ledger.bookingsWithFile(m_context.projectId));
    m_list->sortBy(int(BookingListModel::Column::RunningNumber), int(BookingListModel::Column::RunningNumber),
                   Qt::AscendingOrder);
    m_totalField->setText(m_total.toGerman());
    emit refilled(count, m_total);
    return true;
}

int BookingListTab::count() const {
    return m_model->rowCount();
}

qint64 BookingListTab::selectedBookingId() const {
    const int row = m_list->selectedRow();
    return row < 0 ? 0 : m_model->idAt(row);
}

qint64 BookingListTab::selectedBookingIdOrSay() {
    const qint64 id = selectedBookingId();
    if (!id)
        m_context.dialogs.inform(this, QStringLiteral("Keine Buchung gewählt"),
                                 QStringLiteral("Bitte wählen Sie zuerst eine Buchung in der Liste."),
                                 Dialogs::Icon::Information);
    return id;
}

QString BookingListTab::selectedRunningNumber() const {
    return m_model->textAt(m_list->selectedRow(), int(BookingListModel::Column::RunningNumber));
}

QString BookingListTab::selectedCompany() const {
    return m_model->textAt(m_list->selectedRow(), int(BookingListModel::Column::Company));
}

void BookingListTab::sortByHeading(int column) {
    const int sortColumn = BookingListModel::sortColumnFor(column);
    if (sortColumn < 0)
        return;
    m_order = m_order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_list->sortBy(column, sortColumn, m_order);
}

QList<int> BookingListTab::columnWidthsInTwips(int count) const {
    return m_list->columnWidthsInTwips(count);
}

void BookingListTab::setColumnWidthsInTwips(const QList<int>& widths) {
    m_fit->stop();
    m_list->setColumnWidthsInTwips(widths);
}

bool BookingListTab::columnsSizedByUser() const {
    return !m_fit->isActive();
}

ListSnapshot BookingListTab::snapshot() const {
    ListSnapshot snapshot;
    snapshot.kind = ListSnapshot::Kind::Payments;
    for (int column = 0; column < kVisibleColumns - 1; ++column)
        snapshot.headings.append(m_model->headerData(column, Qt::Horizontal).toString());
    for (int row = 0; row < m_model->rowCount(); ++row) {
        QStringList texts;
        for (int column = 0; column < kVisibleColumns - 1; ++column)
            texts.append(m_model->textAt(row, column));
        snapshot.rows.append(texts);
    }
    snapshot.rightAligned = {int(BookingListModel::Column::Amount)};
    snapshot.values = {{QStringLiteral("Projekt"), m_context.projectName},
                       {QStringLiteral("Gesamtsumme"), m_total.toGerman()}};
    return snapshot;
}

namespace {
std::optional<ProjectLedger::InvoiceFile> invoiceFileOrSay(WorkspaceContext& context, QWidget* parent,
                                                           qint64 bookingId) {
    bool ok = true;
    std::optional<ProjectLedger::InvoiceFile> file = context.ledger.invoiceFile(bookingId, &ok);
    if (!file)
        context.dialogs.inform(parent, QStringLiteral("Keine E-Rechnung"),
                               ok ? QStringLiteral("Zu dieser Buchung ist keine E-Rechnung gespeichert.")
                                  : context.ledger.failureText(),
                               ok ? Dialogs::Icon::Information : Dialogs::Icon::Warning);
    return file;
}
} // namespace

void BookingListTab::showInvoice(qint64 bookingId) {
    const std::optional<ProjectLedger::InvoiceFile> file = invoiceFileOrSay(m_context, this, bookingId);
    if (!file)
        return;
    const InvoiceReader::Result read = InvoiceReader::read(file->bytes);
    if (!read.invoice) {
        m_context.dialogs.inform(this, QStringLiteral("E-Rechnung"), read.reason, Dialogs::Icon::Warning);
        return;
    }
    auto* view = new InvoiceView(m_context, {*read.invoice, file->bytes, file->fileName},
                                 InvoicePresentation::checksOf(*read.invoice), false, this);
    view->show();
}

void BookingListTab::saveInvoice(qint64 bookingId) {
    const std::optional<ProjectLedger::InvoiceFile> file = invoiceFileOrSay(m_context, this, bookingId);
    if (!file)
        return;
    const bool pdf = file->bytes.startsWith("%PDF-");
    const QString path = m_context.dialogs.chooseFileToSave(
        this, QStringLiteral("Rechnung speichern unter"), file->fileName,
        pdf ? QStringLiteral("PDF-Dateien (*.pdf)") : QStringLiteral("XML-Dateien (*.xml)"));
    if (path.isEmpty())
        return;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(file->bytes) != file->bytes.size() || !out.commit())
        m_context.dialogs.inform(
            this, QStringLiteral("Rechnung nicht gespeichert"),
            QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden: %2").arg(path, out.errorString()),
            Dialogs::Icon::Critical);
}
