#include "EntryTab.h"

#include "AmountField.h"
#include "BookingOperation.h"
#include "BookingWarnings.h"
#include "CompanyPicker.h"
#include "CompanySeat.h"
#include "CorrectionTexts.h"
#include "DateField.h"
#include "DayNumber.h"
#include "Dialogs.h"
#include "InvoiceView.h"
#include "LabelledComboBox.h"
#include "NotSavedNotice.h"
#include "OriginalGoneQuestion.h"
#include "PaymentPanel.h"
#include "PaymentReading.h"
#include "RightMirror.h"
#include "RunningNumberText.h"
#include "Session.h"
#include "WorkspaceContext.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace {
const QString kBookingCancelled = QStringLiteral("Buchung abgebrochen");
// Street, telephone and fax, mobile, e-mail, contact person.
constexpr int kContactLines = 5;

} // namespace

QStringList EntryTab::paymentKinds() {
    QStringList kinds{QString(), QStringLiteral("Schlußzahlung"), QStringLiteral("Rückhalt")};
    for (int i = 1; i <= 30; ++i)
        kinds.append(QString::number(i) + QStringLiteral(". Abschlagszahlung"));
    return kinds;
}

EntryTab::EntryTab(WorkspaceContext& context, QWidget* parent)
    : QWidget(parent), m_context(context), m_invoices(std::make_unique<InvoiceIntake>(context)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildCompanyBox());
    layout->addWidget(buildBookingBox());
    m_payment = new PaymentPanel(
        context, [this] { return paymentEntry(); }, this);
    layout->addWidget(m_payment);
    layout->addStretch();

    setTabOrder(m_company, m_search);
    setTabOrder(m_search, m_instructedOn);
    setTabOrder(m_instructedOn, m_invoiceDate);
    setTabOrder(m_invoiceDate, m_invoiceNumber);
    setTabOrder(m_invoiceNumber, m_paymentKind);
    setTabOrder(m_paymentKind, m_amount);
    setTabOrder(m_amount, m_remarks);
    setTabOrder(m_remarks, m_book);

    connect(m_search, &QLineEdit::textChanged, this, &EntryTab::search);
    connect(m_company, &QComboBox::activated, this, [this] {
        showCompany(m_company->currentText());
        emit companyChosen(m_company->currentText());
    });
    connect(m_book, &QPushButton::clicked, this, &EntryTab::book);
    connect(m_cancelCorrection, &QPushButton::clicked, this, &EntryTab::cancelCorrection);
    connect(m_readInvoice, &QPushButton::clicked, this, &EntryTab::chooseInvoiceFile);
    // Open, the payment panel computes the amount paid out.
    connect(m_payment, &PaymentPanel::paidOutChanged, m_amount, &QLineEdit::setText);
    connect(m_payment, &QGroupBox::toggled, m_amount, &QLineEdit::setReadOnly);
    connect(m_company, &QComboBox::activated, m_payment, &PaymentPanel::entryChanged);
    connect(m_paymentKind, &QComboBox::currentTextChanged, m_payment, &PaymentPanel::entryChanged);
    connect(m_instructedOn, &QDateEdit::dateChanged, m_payment, &PaymentPanel::entryChanged);
}

PaymentPanel::Entry EntryTab::paymentEntry() const {
    return {m_company->currentText(), m_paymentKind->currentText(), m_instructedOn->value().day,
            m_amount->amount(), m_context.waitingBookingId.value_or(0)};
}

void EntryTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The tab opens with the company to be chosen first.
    if (!std::exchange(m_shown, true))
        m_company->setFocus();
}

void EntryTab::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && focusWidget() != m_search) {
        event->accept();
        book();
        return;
    }
    if (event->key() == Qt::Key_Escape && isCorrecting()) {
        event->accept();
        cancelCorrection();
        return;
    }
    QWidget::keyPressEvent(event);
}

QWidget* EntryTab::buildCompanyBox() {
    auto* box = new QGroupBox(this);
    m_search = new QLineEdit(box);
    m_search->setObjectName(QStringLiteral("txtSuchen"));
    m_search->setToolTip(QStringLiteral("Suchtext eingeben für Firma, Gewerk, Kostengruppe, PLZ, Ort"));
    m_company = new CompanyPicker(QStringLiteral("cboFirma"), box);
    m_count = new QLabel(box);
    m_count->setObjectName(QStringLiteral("lblAnzahlFirmen"));

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_seat = new QLabel(box);
    m_seat->setObjectName(QStringLiteral("lblSitz"));
    m_contact = new QLabel(box);
    m_contact->setObjectName(QStringLiteral("lblAnschrift"));
    for (QLabel* details : {m_seat, m_contact}) {
        details->setFont(fixed);
        details->setTextInteractionFlags(Qt::TextSelectableByMouse);
        details->setTextFormat(Qt::PlainText);
        // The details have their room from the start, whatever their length: picking a company never
        // makes the window grow.
        details->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    }
    const int lineHeight = QFontMetrics(fixed).lineSpacing();
    m_seat->setFixedHeight(lineHeight);
    m_contact->setFixedHeight(lineHeight * kContactLines);
    m_trade = new QLineEdit(box);
    m_trade->setObjectName(QStringLiteral("txtGewerk"));
    m_costGroup = new QLineEdit(box);
    m_costGroup->setObjectName(QStringLiteral("txtKostengruppe"));
    for (QLineEdit* shown : {m_trade, m_costGroup})
        shown->setReadOnly(true);

    auto* grid = new QGridLayout(box);
    grid->addWidget(CompanyPicker::labelFor(m_company, QStringLiteral("&Firma:"), box), 0, 0);
    grid->addWidget(m_company, 0, 1);
    grid->addWidget(CompanyPicker::labelFor(m_search, QStringLiteral("&Suchen"), box), 0, 2);
    grid->addWidget(m_search, 0, 3);
    grid->addWidget(m_count, 1, 1);
    grid->addWidget(m_seat, 2, 1, 1, 3);
    grid->addWidget(m_contact, 3, 1, 1, 3);
    grid->addWidget(CompanyPicker::labelFor(m_trade, QStringLiteral("Gewerk:"), box), 4, 0);
    grid->addWidget(m_trade, 4, 1);
    grid->addWidget(CompanyPicker::labelFor(m_costGroup, QStringLiteral("Kostengruppe:"), box), 5, 0);
    grid->addWidget(m_costGroup, 5, 1);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 1);
    return box;
}

QWidget* EntryTab::buildBookingBox() {
    auto* box = new QGroupBox(this);
    m_instructedOn = new DateField(QStringLiteral("dtpAnweisung"), box);
    m_invoiceDate = new DateField(QStringLiteral("dtpRechnung"), box);
    m_invoiceNumber = new QLineEdit(box);
    m_invoiceNumber->setObjectName(QStringLiteral("txtRechnungsNr"));
    m_paymentKind = new LabelledComboBox(box);
    m_paymentKind->setObjectName(QStringLiteral("cboZahlungsart"));
    m_paymentKind->setEditable(true);
    m_paymentKind->setInsertPolicy(QComboBox::NoInsert);
    m_paymentKind->addItems(paymentKinds());
    m_paymentKind->setCurrentIndex(0);
    m_amount = new AmountField(box);
    m_amount->setObjectName(QStringLiteral("txtBetrag"));
    m_amount->setAlignment(Qt::AlignRight);
    m_remarks = new QLineEdit(box);
    m_remarks->setObjectName(QStringLiteral("txtBemerkungen"));
    m_book = new QPushButton(QStringLiteral("&Buchen"), box);
    m_book->setObjectName(QStringLiteral("cmdBuchen"));
    RightMirror::apply({m_book}, m_context.session.may(Right::Record), rightWord(Right::Record));
    m_waitingNotice = new QLabel(box);
    m_waitingNotice->setObjectName(QStringLiteral("lblBearbeitungsmodus"));
    QFont bold = m_waitingNotice->font();
    bold.setBold(true);
    m_waitingNotice->setFont(bold);
    m_waitingNotice->setWordWrap(true);
    m_waitingNotice->setTextFormat(Qt::PlainText);
    m_waitingNotice->hide();
    m_cancelCorrection = new QPushButton(QStringLiteral("&Korrektur abbrechen"), box);
    m_cancelCorrection->setObjectName(QStringLiteral("cmdKorrekturAbbrechen"));
    m_cancelCorrection->setToolTip(QStringLiteral("Die Korrektur verwerfen (Esc)"));
    m_cancelCorrection->hide();

    auto* grid = new QGridLayout(box);
    grid->addWidget(CompanyPicker::labelFor(m_instructedOn, QStringLiteral("&Tag der Anweisung"), box), 0, 0);
    grid->addWidget(m_instructedOn, 0, 1);
    grid->addWidget(CompanyPicker::labelFor(m_invoiceDate, QStringLiteral("&Rechnung vom"), box), 0, 2);
    grid->addWidget(m_invoiceDate, 0, 3);
    grid->addWidget(m_instructedOn->notice(), 1, 1);
    grid->addWidget(m_invoiceDate->notice(), 1, 3);
    grid->addWidget(CompanyPicker::labelFor(m_invoiceNumber, QStringLiteral("Beleg&Nr.: RechnungsNr.:"), box),
                    2, 0);
    grid->addWidget(m_invoiceNumber, 2, 1);
    grid->addWidget(CompanyPicker::labelFor(m_paymentKind, QStringLiteral("&Zahlungsart"), box), 2, 2);
    grid->addWidget(m_paymentKind, 2, 3);
    grid->addWidget(CompanyPicker::labelFor(m_amount, QStringLiteral("&Angewiesener Betrag"), box), 3, 0);
    auto* amountRow = new QHBoxLayout;
    amountRow->addWidget(m_amount);
    amountRow->addWidget(new QLabel(QStringLiteral("Euro"), box));
    grid->addLayout(amountRow, 3, 1);
    grid->addWidget(CompanyPicker::labelFor(m_remarks, QStringLiteral("B&emerkungen"), box), 4, 0);
    grid->addWidget(m_remarks, 4, 1, 1, 3);
    grid->addWidget(m_waitingNotice, 5, 0, 1, 3);
    auto* bookRow = new QHBoxLayout;
    bookRow->addWidget(m_cancelCorrection);
    bookRow->addWidget(m_book);
    grid->addLayout(bookRow, 5, 3);
    m_readInvoice = new QPushButton(QStringLiteral("E-Rechnung e&inlesen …"), box);
    m_readInvoice->setObjectName(QStringLiteral("cmdERechnungEinlesen"));
    m_invoiceNotice = new QLabel(box);
    m_invoiceNotice->setObjectName(QStringLiteral("lblERechnung"));
    m_invoiceNotice->setWordWrap(true);
    m_invoiceNotice->setTextFormat(Qt::PlainText);
    grid->addWidget(m_readInvoice, 6, 0);
    grid->addWidget(m_invoiceNotice, 6, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return box;
}

void EntryTab::setCompanies(const QStringList& names) {
    m_company->setNames(names, names.isEmpty() ? -1 : 0);
}

QStringList EntryTab::companies() const {
    return m_company->names();
}

QString EntryTab::company() const {
    return m_company->currentText();
}

void EntryTab::fillCompanies() {
    bool ok = true;
    QStringList names = m_context.ledger.companyNames(&ok);
    m_count->setText(QStringLiteral("Anzahl Firmen: ") + QString::number(names.size()));
    names.prepend(QString());
    setCompanies(names);
    clearDetails();
    if (!ok)
        m_context.dialogs.inform(this, QStringLiteral("Lesefehler"), m_context.ledger.failureText(),
                                 Dialogs::Icon::Warning);
}

void EntryTab::search(const QString& text) {
    bool ok = true;
    const QList<Company> found = m_context.ledger.companiesFound(text, &ok);
    if (!ok) {
        m_context.dialogs.inform(this, QStringLiteral("Lesefehler"), m_context.ledger.failureText(),
                                 Dialogs::Icon::Warning);
        return;
    }
    if (found.isEmpty()) {
        setCompanies({QString()});
        m_trade->clear();
        m_costGroup->clear();
        clearDetails();
        m_count->clear();
        return;
    }
    QStringList names;
    names.reserve(found.size());
    for (const Company& company : found)
        names.append(company.name);
    m_count->setText(QStringLiteral("Anzahl Firmen: ") + QString::number(found.size()));
    setCompanies(names);
    emit companiesFound(names);
    showCompany(found.first().name);
}

bool EntryTab::chooseCompany(const QString& name) {
    if (!m_company->choose(name))
        return false;
    showCompany(name);
    return true;
}

void EntryTab::clearDetails() {
    m_seat->clear();
    m_contact->clear();
}

void EntryTab::showCompany(const QString& name) {
    if (name.isEmpty()) {
        clearDetails();
        return;
    }
    bool ok = true;
    const std::optional<Company> company = m_context.ledger.company(name, &ok);
    if (!company)
        return;
    m_trade->setText(company->trade);
    m_costGroup->setText(company->costGroup);
    m_seat->setText(CompanySeat::line(*company));
    m_contact->setText(QStringLiteral("Straße:  ") + company->street + QLatin1Char('\n') +
                       QStringLiteral("Telefon: ") + company->phone + QStringLiteral("   Fax: ") +
                       company->fax + QLatin1Char('\n') + QStringLiteral("Mobil:   ") + company->mobile +
                       QLatin1Char('\n') + QStringLiteral("eMail:   ") + company->email + QLatin1Char('\n') +
                       QStringLiteral("Anspr:   ") + company->contact);
}

void EntryTab::reportIncomplete(const QString& detail, QWidget* missing) {
    m_context.dialogs.inform(this, kBookingCancelled, QStringLiteral("Angaben unvollständig!\n") + detail,
                             Dialogs::Icon::Critical);
    missing->setFocus(Qt::OtherFocusReason);
}

bool EntryTab::book() {
    const QString kind = m_paymentKind->currentText();
    if (kind.isEmpty() || m_amount->text().isEmpty()) {
        reportIncomplete(QStringLiteral("Bitte geben Sie alle notwendigen Daten ein!"),
                         kind.isEmpty() ? static_cast<QWidget*>(m_paymentKind) : m_amount);
        return false;
    }
    const std::optional<Money> amount = m_amount->amount();
    if (!amount) {
        reportIncomplete(QStringLiteral("Der Betrag \"%1\" ist keine vollständige Zahl, z. B. 1.234,50.")
                             .arg(m_amount->text()),
                         m_amount);
        return false;
    }
    if (m_trade->text().isEmpty()) {
        reportIncomplete(QStringLiteral("Bitte wählen Sie eine Firma, bei der ein Gewerk eingetragen ist."),
                         m_company);
        return false;
    }
    Booking booking;
    booking.projectId = m_context.projectId;
    booking.project = m_context.projectName;
    booking.company = m_company->currentText();
    booking.trade = m_trade->text();
    booking.costGroup = m_costGroup->text();
    const DateField::Stored instructedOn = m_instructedOn->value();
    const DateField::Stored invoiceDate = m_invoiceDate->value();
    booking.instructedOn = instructedOn.day;
    booking.instructedOnText = instructedOn.text;
    booking.invoiceDate = invoiceDate.day;
    booking.invoiceDateText = invoiceDate.text;
    booking.invoiceNumber = m_invoiceNumber->text();
    booking.paymentKind = kind;
    booking.remarks = m_remarks->text();
    booking.amount = amount;
    QString problem;
    QWidget* unreadable = nullptr;
    const std::optional<Payment> payment = m_payment->payment(&problem, &unreadable);
    if (!problem.isEmpty()) {
        reportIncomplete(problem, unreadable);
        return false;
    }
    if (!BookingWarnings(m_context).confirm(this, booking, m_invoices->askedInvoiceNumber()))
        return false;
    BookingOperation bookings(m_context.session);
    const bool checkCompany = booking.company != m_companyOutsideRegister;
    const std::optional<AsLoaded> replacing =
        m_context.waitingBookingId ? std::optional<AsLoaded>(m_context.waitingBooking) : std::nullopt;
    // The e-invoice read for this entry is stored with the booking, in its transaction.
    Outcome outcome = bookings.book(booking, replacing, checkCompany, m_invoices->original(), payment);
    if (outcome.kind() == Outcome::Kind::Changed) {
        if (OriginalGoneQuestion::loadCurrent(m_context.dialogs, this, OriginalGoneQuestion::Kind::Booking))
            reloadWaitingBooking();
        else
            showCorrection(Original::Changed);
        return false;
    }
    if (outcome.kind() == Outcome::Kind::NameGone) {
        m_context.dialogs.inform(this, QStringLiteral("Buchung nicht gespeichert"),
                                 outcome.text() +
                                     QStringLiteral("\nBitte wählen Sie die Firma neu; Ihre übrigen Eingaben "
                                                    "bleiben erhalten."),
                                 Dialogs::Icon::Warning);
        if (m_search->text().isEmpty())
            fillCompanies();
        else
            search(m_search->text());
        return false;
    }
    if (outcome.kind() == Outcome::Kind::Gone &&
        OriginalGoneQuestion::bookAsNew(m_context.dialogs, this, OriginalGoneQuestion::Kind::Booking))
        outcome = bookings.book(booking, std::nullopt, checkCompany, m_invoices->original(), payment);
    if (outcome.kind() == Outcome::Kind::Gone) {
        showOriginalGone();
        return false;
    }
    if (!outcome.ok()) {
        NotSavedNotice::show(m_context.dialogs, this, outcome);
        return false;
    }
    endCorrection();
    clearEntry();
    emit booked(booking.company);
    return true;
}

void EntryTab::clearEntry() {
    m_invoices->forget();
    m_payment->clear();
    showPendingInvoice();
    m_invoiceNumber->clear();
    m_remarks->clear();
    m_amount->clear();
    m_paymentKind->setCurrentIndex(0);
}

void EntryTab::reloadWaitingBooking() {
    if (!m_context.waitingBookingId)
        return;
    if (const std::optional<Loaded<Booking>> current =
            BookingOperation(m_context.session).takeBack(*m_context.waitingBookingId))
        takeBack(current->row, current->asLoaded);
}

void EntryTab::takeBack(const Booking& booking, const AsLoaded& loaded) {
    m_context.waitingBookingId = booking.id;
    m_context.waitingBooking = loaded;
    m_companyOutsideRegister.clear();
    if (!chooseCompany(booking.company)) {
        m_search->clear();
        if (!chooseCompany(booking.company)) {
            // A company no longer in the register: its booking keeps its own trade and cost group.
            m_companyOutsideRegister = booking.company;
            m_company->chooseUnlisted(booking.company);
            clearDetails();
            m_trade->setText(booking.trade);
            m_costGroup->setText(booking.costGroup);
        }
    }
    m_instructedOn->showStored({booking.instructedOn, booking.instructedOnText});
    m_invoiceDate->showStored({booking.invoiceDate, booking.invoiceDateText});
    m_invoiceNumber->setText(booking.invoiceNumber);
    m_paymentKind->setCurrentText(booking.paymentKind);
    m_amount->setText(booking.amount ? booking.amount->toGerman() : QString());
    m_remarks->setText(booking.remarks);
    m_payment->showStored(PaymentReading::ofBooking(m_context.session, booking.id).value);
    m_correctedNumber = RunningNumberText::of(booking.runningNumber);
    m_originalGone = false;
    showCorrection(Original::Unchanged);
}

void EntryTab::endCorrection() {
    m_context.waitingBookingId.reset();
    m_context.waitingBooking = AsLoaded();
    m_companyOutsideRegister.clear();
    m_originalGone = false;
    m_correctedNumber.clear();
    m_waitingNotice->hide();
    m_cancelCorrection->hide();
    m_instructedOn->endCorrection();
    m_invoiceDate->endCorrection();
}

bool EntryTab::hasWaitingBooking() const {
    return m_context.waitingBookingId.has_value();
}

bool EntryTab::isCorrecting() const {
    return hasWaitingBooking() || m_originalGone;
}

void EntryTab::cancelCorrection() {
    if (!isCorrecting())
        return;
    endCorrection();
    clearEntry();
    emit correctionEnded();
}

std::optional<EntryTab::Original> EntryTab::waitingOriginal() const {
    if (m_originalGone || !m_context.waitingBookingId)
        return Original::Gone;
    return BookingOperation(m_context.session).state(m_context.waitingBooking);
}

void EntryTab::showCorrection(Original original) {
    m_waitingNotice->setText(CorrectionTexts::banner(original, m_correctedNumber));
    m_waitingNotice->show();
    m_cancelCorrection->show();
}

void EntryTab::checkCorrection() {
    if (!isCorrecting())
        return;
    if (const std::optional<Original> original = waitingOriginal())
        showCorrection(*original);
}

void EntryTab::showOriginalGone() {
    // The booking corrected no longer exists: what is typed is a new entry now, which the clerk may
    // book as new or cancel.
    m_context.waitingBookingId.reset();
    m_context.waitingBooking = AsLoaded();
    m_originalGone = true;
    showCorrection(Original::Gone);
    emit correctionEnded();
}

bool EntryTab::hasUnbookedEntry() const {
    return !m_invoiceNumber->text().isEmpty() || !m_amount->text().isEmpty() ||
           !m_remarks->text().isEmpty() || !m_paymentKind->currentText().isEmpty() || m_invoices->pending();
}

bool EntryTab::settleWaitingBooking() {
    if (!isCorrecting())
        return true;
    const std::optional<Original> original = waitingOriginal();
    const QString question = CorrectionTexts::leaveQuestion(original, m_correctedNumber);
    switch (m_context.dialogs.askWithCancel(this, QStringLiteral("Buchung bearbeiten"), question,
                                            Dialogs::Icon::Question, Dialogs::Answer::Yes)) {
    case Dialogs::Answer::Yes:
        return book();
    case Dialogs::Answer::No:
        cancelCorrection();
        return true;
    case Dialogs::Answer::Cancel:
        break;
    }
    return false;
}

bool EntryTab::settleBeforeLeaving() {
    if (!settleWaitingBooking())
        return false;
    if (!hasUnbookedEntry())
        return true;
    const InvoiceIntake::Opened* invoice = m_invoices->pending();
    const QString question = CorrectionTexts::unbookedQuestion(invoice ? invoice->fileName : QString());
    switch (m_context.dialogs.askWithCancel(this, QStringLiteral("Eingabe nicht gebucht"), question,
                                            Dialogs::Icon::Question, Dialogs::Answer::Cancel)) {
    case Dialogs::Answer::Yes:
        return book();
    case Dialogs::Answer::No:
        endCorrection();
        clearEntry();
        return true;
    case Dialogs::Answer::Cancel:
        break;
    }
    return false;
}

void EntryTab::chooseInvoiceFile() {
    const QString path = m_context.dialogs.chooseFileToOpen(
        this, QStringLiteral("E-Rechnung einlesen"), QString(), QStringLiteral("E-Rechnungen (*.xml *.pdf)"));
    if (!path.isEmpty())
        openInvoice(path);
}

InvoiceView* EntryTab::openInvoice(const QString& path) {
    std::optional<InvoiceIntake::Opened> opened = m_invoices->open(path, this);
    if (!opened)
        return nullptr;
    QList<InvoicePresentation::Check> checks = m_invoices->checks(*opened);
    auto* view = new InvoiceView(m_context, std::move(*opened), std::move(checks), true, this);
    connect(view, &InvoiceView::bookRequested, this, [this, view] { takeInvoice(view->opened()); });
    view->show();
    return view;
}

void EntryTab::takeInvoice(const InvoiceIntake::Opened& opened) {
    const std::optional<InvoiceIntake::Entry> entry = m_invoices->prepare(opened, this);
    if (!entry)
        return;
    if (!chooseCompany(entry->company)) {
        m_search->clear();
        fillCompanies();
        chooseCompany(entry->company);
    }
    if (entry->invoiceDate.isValid())
        m_invoiceDate->showStored({DayNumber::fromDate(entry->invoiceDate), QString()});
    m_invoiceNumber->setText(entry->invoiceNumber);
    m_paymentKind->setCurrentText(entry->paymentKind);
    m_amount->setText(entry->amount.toGerman());
    m_remarks->setText(entry->remarks);
    if (const BookingOperation::InvoiceOriginal* original = m_invoices->original())
        m_payment->takeInvoice(DayNumber::fromDate(QDate::currentDate()), entry->amount, original->discounts);
    if (entry->company.isEmpty()) {
        // The clerk chooses the company: nothing of the one chosen before may stay.
        m_trade->clear();
        m_costGroup->clear();
        clearDetails();
    }
    showPendingInvoice();
    if (entry->company.isEmpty())
        m_company->setFocus();
    else
        m_book->setFocus();
}

void EntryTab::showPendingInvoice() {
    const InvoiceIntake::Opened* pending = m_invoices->pending();
    m_invoiceNotice->setText(
        pending
            ? QStringLiteral("Die E-Rechnung „%1“ wird mit der Buchung gespeichert.").arg(pending->fileName)
            : QString());
}
