#include "BookingListTab.h"

#include "BookingListModel.h"
#include "DayNumber.h"
#include "Dialogs.h"
#include "FittedColumns.h"
#include "InvoiceReader.h"
#include "InvoiceView.h"
#include "JournalHistoryDialog.h"
#include "PaymentOrderSnapshot.h"
#include "ReportListView.h"
#include "RightMirror.h"
#include "RunningNumberText.h"
#include "Session.h"
#include "SignOffOperation.h"
#include "WorkspaceContext.h"

#include <QAction>
#include <QDate>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace {
constexpr int kVisibleColumns = 11;
const QString kChooseFirst = QStringLiteral("Bitte wählen Sie zuerst eine Buchung in der Liste.");
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
    using Column = BookingListModel::Column;
    for (int column = kVisibleColumns; column <= int(Column::AmountSort); ++column)
        m_list->setColumnHidden(column, true);
    m_fit = new FittedColumns(*m_list, {int(Column::RunningNumber), int(Column::InstructedOn),
                                        int(Column::InvoiceDate), int(Column::Amount), int(Column::Spare),
                                        int(Column::State)});
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
    m_confirm = addSignOffAction(QStringLiteral("cmdFeststellen"), QStringLiteral("&Feststellen"));
    m_ordering = addSignOffAction(QStringLiteral("cmdAnordnen"), QStringLiteral("&Anordnen"));
    m_cancel = addSignOffAction(QStringLiteral("cmdStornieren"), QStringLiteral("&Stornieren …"));
    m_paid = addSignOffAction(QStringLiteral("cmdBezahlt"), QStringLiteral("Als &bezahlt vermerken …"));
    m_printOrder = addSignOffAction(QStringLiteral("cmdAuszahlungsanordnung"),
                                    QStringLiteral("Auszahlungsanordnung &drucken"));
    m_confirm->setStatusTip(
        QStringLiteral("Bestätigt die gewählte Buchung als sachlich und rechnerisch richtig"));
    m_ordering->setStatusTip(QStringLiteral("Ordnet die Auszahlung der gewählten Buchung an"));
    m_cancel->setStatusTip(QStringLiteral("Storniert die gewählte Buchung durch eine Gegenbuchung"));
    m_paid->setStatusTip(
        QStringLiteral("Vermerkt den Tag, an dem die Kasse die gewählte Buchung bezahlt hat"));
    m_printOrder->setStatusTip(QStringLiteral("Druckt die Auszahlungsanordnung der gewählten Buchung"));
    connect(m_confirm, &QAction::triggered, this, [this] { signOff(SignOffReading::Step::Confirm); });
    connect(m_ordering, &QAction::triggered, this, [this] { signOff(SignOffReading::Step::Order); });
    connect(m_cancel, &QAction::triggered, this, &BookingListTab::cancelSelected);
    connect(m_paid, &QAction::triggered, this, &BookingListTab::markSelectedPaid);
    connect(m_printOrder, &QAction::triggered, this, &BookingListTab::printPaymentOrder);
    auto* signOffs = new QAction(QStringLiteral("A&nordnungen aller Projekte …"), this);
    signOffs->setObjectName(QStringLiteral("cmdAnordnungen"));
    connect(signOffs, &QAction::triggered, this, &BookingListTab::signOffsRequested);
    m_list->addAction(signOffs);
    auto* due = new QAction(QStringLiteral("Fä&lligkeiten des Projekts …"), this);
    due->setObjectName(QStringLiteral("cmdFaelligkeiten"));
    connect(due, &QAction::triggered, this, &BookingListTab::dueRequested);
    m_list->addAction(due);
    // A menu of its own, so that a disabled action shows why as its tooltip.
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        updateActions();
        QMenu menu(this);
        menu.setToolTipsVisible(true);
        menu.addActions(m_list->actions().mid(0, 2));
        menu.addSeparator();
        menu.addActions(m_list->actions().mid(2));
        menu.exec(m_list->viewport()->mapToGlobal(at));
    });
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BookingListTab::updateActions);
    connect(m_model, &QAbstractItemModel::modelReset, this, &BookingListTab::updateActions);
    m_totalField->setText(Money().toGerman());
    for (QAction* action : {m_confirm, m_ordering, m_cancel, m_paid, m_printOrder}) {
        action->setEnabled(false);
        action->setToolTip(kChooseFirst);
    }
}

QAction* BookingListTab::addSignOffAction(const QString& name, const QString& caption) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    m_list->addAction(action);
    return action;
}

void BookingListTab::updateActions() {
    using Step = SignOffReading::Step;
    const int row = m_list->selectedRow();
    const auto open = [](QAction* action, const std::optional<QString>& whyNot) {
        action->setEnabled(!whyNot);
        action->setToolTip(whyNot.value_or(action->statusTip()));
    };
    const SignOff signOff = row < 0 ? SignOff() : m_model->signOffAt(row);
    // Without a row the buttons say so when pressed; only a missing right keeps them disabled.
    const std::pair<QPushButton*, Step> buttons[] = {{m_takeBack, Step::TakeBack}, {m_delete, Step::Remove}};
    for (const auto& [button, step] : buttons) {
        const std::optional<QString> whyNot = SignOffReading::whyNot(m_viewer, signOff, step);
        button->setEnabled(!whyNot);
        button->setToolTip(whyNot.value_or(QString()));
    }
    if (row < 0) {
        for (QAction* action : {m_confirm, m_ordering, m_cancel, m_paid, m_printOrder})
            open(action, kChooseFirst);
        return;
    }
    open(m_confirm, SignOffReading::whyNot(m_viewer, signOff, Step::Confirm));
    open(m_ordering, SignOffReading::whyNot(m_viewer, signOff, Step::Order));
    open(m_cancel, SignOffReading::whyNot(m_viewer, signOff, Step::Cancel));
    open(m_paid, SignOffReading::whyNot(m_viewer, signOff, Step::Pay));
    const bool ordered = signOff.state == BookingState::Ordered || signOff.state == BookingState::Paid;
    open(m_printOrder, ordered
                           ? std::nullopt
                           : std::optional<QString>(QStringLiteral(
                                 "Eine Auszahlungsanordnung gibt es erst für eine angeordnete Buchung.")));
}

void BookingListTab::signOff(SignOffReading::Step step) {
    const qint64 id = selectedBookingIdOrSay();
    if (!id)
        return;
    const QString company = selectedCompany();
    SignOffOperation operation(m_context.session);
    const bool confirming = step == SignOffReading::Step::Confirm;
    const Outcome outcome = confirming ? operation.confirm({id}) : operation.order({id});
    if (!outcome.ok())
        m_context.dialogs.inform(this,
                                 confirming ? QStringLiteral("Feststellen nicht möglich")
                                            : QStringLiteral("Anordnen nicht möglich"),
                                 outcome.text(), Dialogs::Icon::Warning);
    emit signedOff(company);
}

void BookingListTab::cancelSelected() {
    const qint64 id = selectedBookingIdOrSay();
    if (!id)
        return;
    const QString company = selectedCompany();
    const QString amount = m_model->textAt(m_list->selectedRow(), int(BookingListModel::Column::Amount));
    const QString title = QStringLiteral("Buchung stornieren");
    const QString label =
        QStringLiteral("LfdNr. ") + selectedRunningNumber() + QStringLiteral(" – ") + company +
        QStringLiteral(", ") + amount +
        QStringLiteral(" Euro\nwird durch eine Gegenbuchung des negativen Betrags storniert, "
                       "die wie jede Buchung festgestellt und angeordnet wird.\n\n"
                       "&Grund der Stornierung:");
    QString reason;
    while (true) {
        if (!m_context.dialogs.askText(this, title, label, reason))
            return;
        reason = reason.trimmed();
        if (!reason.isEmpty())
            break;
        m_context.dialogs.inform(this, title,
                                 QStringLiteral("Bitte geben Sie den Grund der Stornierung ein."),
                                 Dialogs::Icon::Information);
    }
    const Outcome outcome = SignOffOperation(m_context.session).cancel(id, reason);
    if (!outcome.ok())
        m_context.dialogs.inform(this, QStringLiteral("Stornieren nicht möglich"), outcome.text(),
                                 Dialogs::Icon::Warning);
    emit signedOff(company);
}

void BookingListTab::markSelectedPaid() {
    const qint64 id = selectedBookingIdOrSay();
    if (!id)
        return;
    const QString company = selectedCompany();
    const QString title = QStringLiteral("Als bezahlt vermerken");
    const QString label = QStringLiteral("LfdNr. ") + selectedRunningNumber() + QStringLiteral(" – ") +
                          company + QStringLiteral("\n\n&Tag der Zahlung durch die Kasse (TT.MM.JJJJ):");
    const QString format = QStringLiteral("dd.MM.yyyy");
    QString text = QDate::currentDate().toString(format);
    QDate day;
    while (true) {
        if (!m_context.dialogs.askText(this, title, label, text))
            return;
        day = QDate::fromString(text.trimmed(), format);
        if (day.isValid() && day <= QDate::currentDate())
            break;
        m_context.dialogs.inform(
            this, title,
            day.isValid() ? QStringLiteral("Der Tag der Zahlung liegt in der Zukunft.")
                          : QStringLiteral("Bitte geben Sie den Tag der Zahlung als TT.MM.JJJJ ein."),
            Dialogs::Icon::Information);
    }
    const Outcome outcome = SignOffOperation(m_context.session).markPaid({id}, DayNumber::fromDate(day));
    if (!outcome.ok())
        m_context.dialogs.inform(this, QStringLiteral("Als bezahlt vermerken nicht möglich"), outcome.text(),
                                 Dialogs::Icon::Warning);
    emit signedOff(company);
}

void BookingListTab::printPaymentOrder() {
    const qint64 id = selectedBookingIdOrSay();
    if (!id)
        return;
    bool ok = true;
    const std::optional<Booking> booking = m_context.ledger.booking(id, &ok);
    const std::optional<SignOff> signOff =
        booking ? SignOffReading::ofBooking(m_context.session, id) : std::nullopt;
    if (!booking || !signOff) {
        m_context.dialogs.inform(this, QStringLiteral("Auszahlungsanordnung"),
                                 ok ? QStringLiteral("Die Buchung ist nicht mehr gespeichert.")
                                    : m_context.ledger.failureText(),
                                 Dialogs::Icon::Warning);
        return;
    }
    if (signOff->state != BookingState::Ordered && signOff->state != BookingState::Paid) {
        m_context.dialogs.inform(this, QStringLiteral("Auszahlungsanordnung"),
                                 QStringLiteral("Die Buchung ist noch nicht angeordnet (Status „%1“).")
                                     .arg(stateWord(signOff->state)),
                                 Dialogs::Icon::Information);
        return;
    }
    emit paymentOrderRequested(PaymentOrderSnapshot::of(m_context.session, m_context.settings,
                                                        {{*booking, *signOff}}, m_viewer.rules.twoStep));
}

bool BookingListTab::EINLESEN() {
    bool ok = true;
    QList<Booking> bookings = m_context.ledger.bookings(m_context.projectId, &ok);
    bool statesRead = ok;
    QHash<qint64, SignOff> signOffs =
        ok ? SignOffReading::ofProject(m_context.session, m_context.projectId, &statesRead)
           : QHash<qint64, SignOff>();
    m_list->setOutdated(!statesRead);
    if (!statesRead) {
        m_context.dialogs.inform(this, QStringLiteral("Lesefehler"),
                                 ok ? QStringLiteral("Der Stand der Freigaben konnte nicht gelesen werden.")
                                    : m_context.ledger.failureText(),
                                 Dialogs::Icon::Warning);
        return false;
    }
    m_viewer = SignOffReading::viewer(m_context.session);
    if (m_context.waitingBookingId) {
        const qint64 waiting = *m_context.waitingBookingId;
        bookings.removeIf([waiting](const Booking& booking) { return booking.id == waiting; });
    }
    m_total = Money();
    for (const Booking& booking : std::as_const(bookings))
        m_total += booking.amount.value_or(Money());
    const int count = int(bookings.size());
    m_model->setBookings(std::move(bookings), m_context.ledger.bookingsWithFile(m_context.projectId),
                         std::move(signOffs));
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
    snapshot.headings = m_model->shownHeadings(kVisibleColumns - 1);
    snapshot.rows = m_model->shownRows(kVisibleColumns - 1);
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
