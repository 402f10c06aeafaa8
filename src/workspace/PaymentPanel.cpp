#include "PaymentPanel.h"

#include "AmountField.h"
#include "CompanyPicker.h"
#include "DateField.h"
#include "DayNumber.h"
#include "OrderTermsReading.h"
#include "PaymentDue.h"
#include "Percent.h"
#include "RetentionProposal.h"
#include "WithholdingProposal.h"
#include "WorkspaceContext.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QString shown(const std::optional<Money>& amount) {
    return amount ? amount->toGerman() : QString();
}

QLineEdit* readOnly(const QString& name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    return field;
}

AmountField* amountField(const QString& name, QWidget* parent) {
    auto* field = new AmountField(parent);
    field->setObjectName(name);
    field->setAlignment(Qt::AlignRight);
    return field;
}

QLabel* reasonLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// An amount field's value, where an empty field counts as none; false when the text is no amount.
bool read(const AmountField* field, std::optional<Money>* amount) {
    *amount = field->text().trimmed().isEmpty() ? std::nullopt : field->amount();
    return field->text().trimmed().isEmpty() || amount->has_value();
}

} // namespace

PaymentPanel::PaymentPanel(WorkspaceContext& context, std::function<Entry()> entry, QWidget* parent)
    : QGroupBox(QStringLiteral("Zahlung"), parent), m_context(context), m_entry(std::move(entry)) {
    setObjectName(QStringLiteral("fraZahlung"));
    setCheckable(true);
    setChecked(false);
    setToolTip(QStringLiteral("Eingang, Fälligkeit, Bruttobetrag und Abzüge der Zahlung erfassen"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildFields());
    m_fields->hide();
    connect(this, &QGroupBox::toggled, this, &PaymentPanel::opened);
}

QWidget* PaymentPanel::buildFields() {
    m_fields = new QWidget(this);
    m_received = new DateField(QStringLiteral("dtpEingang"), m_fields);
    m_due = readOnly(QStringLiteral("txtFaelligAm"), m_fields);
    m_invoiceAmount = amountField(QStringLiteral("txtRechnungsbetrag"), m_fields);
    m_gross = amountField(QStringLiteral("txtBrutto"), m_fields);
    m_retention = amountField(QStringLiteral("txtEinbehalt"), m_fields);
    m_retentionKind = new QComboBox(m_fields);
    m_retentionKind->setObjectName(QStringLiteral("cboEinbehaltArt"));
    m_retentionKind->addItem(QString());
    m_retentionKind->addItems(PaymentChecks::retentionKinds());
    m_retentionKind->setAccessibleName(QStringLiteral("Einbehalt für"));
    m_retentionReason = reasonLabel(QStringLiteral("lblEinbehaltVorschlag"), m_fields);
    m_withholding = amountField(QStringLiteral("txtBauabzug"), m_fields);
    m_taxOffice = new QLineEdit(m_fields);
    m_taxOffice->setObjectName(QStringLiteral("txtFinanzamt"));
    m_withholdingReason = reasonLabel(QStringLiteral("lblBauabzugVorschlag"), m_fields);
    m_discountPercent = new QLineEdit(m_fields);
    m_discountPercent->setObjectName(QStringLiteral("txtSkontoProzent"));
    m_discountDays = new QLineEdit(m_fields);
    m_discountDays->setObjectName(QStringLiteral("txtSkontoTage"));
    m_discountDays->setValidator(new QIntValidator(0, 999, m_discountDays));
    m_discountLastDay = readOnly(QStringLiteral("txtSkontoBis"), m_fields);
    m_discount = readOnly(QStringLiteral("txtSkonto"), m_fields);
    m_discount->setAlignment(Qt::AlignRight);
    m_discountReason = reasonLabel(QStringLiteral("lblSkontoHinweis"), m_fields);
    m_paidOut = readOnly(QStringLiteral("txtAuszahlung"), m_fields);
    m_paidOut->setAlignment(Qt::AlignRight);

    auto* grid = new QGridLayout(m_fields);
    grid->setContentsMargins(0, 0, 0, 0);
    const auto label = [this](QWidget* field, const char* caption) {
        return CompanyPicker::labelFor(field, QString::fromUtf8(caption), m_fields);
    };
    grid->addWidget(label(m_received, "Eingang"), 0, 0);
    grid->addWidget(m_received, 0, 1);
    grid->addWidget(label(m_due, "Fällig am"), 0, 2);
    grid->addWidget(m_due, 0, 3);
    grid->addWidget(label(m_invoiceAmount, "Rechnungsbetrag"), 1, 0);
    grid->addWidget(m_invoiceAmount, 1, 1);
    grid->addWidget(label(m_gross, "Brutto"), 1, 2);
    grid->addWidget(m_gross, 1, 3);
    grid->addWidget(label(m_retention, "Einbehalt"), 2, 0);
    auto* retentionRow = new QHBoxLayout;
    retentionRow->addWidget(m_retention);
    retentionRow->addWidget(m_retentionKind);
    grid->addLayout(retentionRow, 2, 1);
    grid->addWidget(m_retentionReason, 2, 2, 1, 2);
    grid->addWidget(label(m_withholding, "Bauabzug"), 3, 0);
    grid->addWidget(m_withholding, 3, 1);
    grid->addWidget(label(m_taxOffice, "Finanzamt"), 3, 2);
    grid->addWidget(m_taxOffice, 3, 3);
    grid->addWidget(m_withholdingReason, 4, 1, 1, 3);
    grid->addWidget(label(m_discountPercent, "Skonto %"), 5, 0);
    auto* discountRow = new QHBoxLayout;
    discountRow->addWidget(m_discountPercent);
    discountRow->addWidget(label(m_discountDays, "Tage"));
    discountRow->addWidget(m_discountDays);
    discountRow->addWidget(label(m_discountLastDay, "bis"));
    discountRow->addWidget(m_discountLastDay);
    grid->addLayout(discountRow, 5, 1);
    grid->addWidget(label(m_discount, "Skonto"), 5, 2);
    grid->addWidget(m_discount, 5, 3);
    grid->addWidget(m_discountReason, 6, 1, 1, 3);
    grid->addWidget(label(m_paidOut, "Auszahlung"), 7, 2);
    grid->addWidget(m_paidOut, 7, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    for (QLineEdit* field : {static_cast<QLineEdit*>(m_invoiceAmount), static_cast<QLineEdit*>(m_retention),
                             static_cast<QLineEdit*>(m_withholding), m_discountPercent, m_discountDays})
        connect(field, &QLineEdit::textChanged, this, &PaymentPanel::recompute);
    connect(m_gross, &QLineEdit::textChanged, this, &PaymentPanel::recompute);
    connect(m_gross, &QLineEdit::editingFinished, this, [this] {
        if (m_gross->text() != m_proposedFor)
            propose();
    });
    connect(m_received, &QDateEdit::dateChanged, this, &PaymentPanel::recompute);
    return m_fields;
}

void PaymentPanel::opened(bool on) {
    m_fields->setVisible(on);
    if (!on)
        return;
    const Entry entry = m_entry();
    if (m_gross->text().isEmpty() && entry.amount && !m_filling) {
        m_invoiceAmount->setText(entry.amount->toGerman());
        m_gross->setText(entry.amount->toGerman());
    }
    entryChanged();
    m_gross->setFocus(Qt::OtherFocusReason);
}

void PaymentPanel::entryChanged() {
    if (!isUsed() || m_filling)
        return;
    readTerms(true);
    propose();
}

void PaymentPanel::readTerms(bool fillDiscount) {
    const Entry entry = m_entry();
    const std::optional<OrderTerms> terms =
        entry.company.isEmpty()
            ? std::nullopt
            : OrderTermsReading::forCompany(m_context.session, m_context.projectId, entry.company);
    m_orderDays = terms ? terms->daysToPay : std::nullopt;
    if (fillDiscount && m_discountPercent->text().isEmpty() && m_discountDays->text().isEmpty()) {
        if (!m_invoiceDiscounts.isEmpty()) {
            m_discountPercent->setText(percentText(m_invoiceDiscounts.first().percent));
            m_discountDays->setText(QString::number(m_invoiceDiscounts.first().days));
        } else if (terms && terms->discountPercent && terms->discountDays) {
            m_discountPercent->setText(percentText(*terms->discountPercent));
            m_discountDays->setText(QString::number(*terms->discountDays));
        }
    }
}

void PaymentPanel::propose() {
    if (!isUsed() || m_filling)
        return;
    const Entry entry = m_entry();
    const std::optional<Money> gross = m_gross->amount();
    m_proposedFor = m_gross->text();
    // Most invoices are approved in full.
    if (gross && m_invoiceAmount->text().isEmpty())
        m_invoiceAmount->setText(gross->toGerman());
    if (!gross || entry.company.isEmpty()) {
        recompute();
        return;
    }
    const bool release =
        entry.paymentKind.trimmed().compare(PaymentChecks::releaseKind(), Qt::CaseInsensitive) == 0;
    if (!release) {
        const Retention retention =
            RetentionProposal::propose(m_context.session, m_context.projectId, entry.company,
                                       entry.paymentKind, *gross, entry.replacing);
        m_retention->setText(retention.amount.cents() == 0 ? QString() : retention.amount.toGerman());
        m_retentionKind->setCurrentText(retention.kind);
        m_retentionReason->setText(retention.reason);
    }
    if (entry.paymentDay) {
        const Withholding withholding = WithholdingProposal::propose(
            m_context.session, entry.company, *entry.paymentDay, *gross, entry.replacing);
        m_withholding->setText(withholding.amount.cents() == 0 ? QString() : withholding.amount.toGerman());
        if (!withholding.taxOffice.isEmpty() || withholding.amount.cents() == 0)
            m_taxOffice->setText(withholding.taxOffice);
        m_withholdingReason->setText(withholding.reason);
    }
    recompute();
}

std::optional<int> PaymentPanel::discountPercent() const {
    return m_discountPercent->text().trimmed().isEmpty() ? std::nullopt
                                                         : parsePercent(m_discountPercent->text());
}

std::optional<int> PaymentPanel::discountDays() const {
    bool ok = false;
    const int days = m_discountDays->text().toInt(&ok);
    return ok ? std::optional(days) : std::nullopt;
}

std::optional<Money> PaymentPanel::discountDue(QString* reason) const {
    const std::optional<int> percent = discountPercent();
    const std::optional<int> days = discountDays();
    const std::optional<Money> gross = m_gross->amount();
    const std::optional<int> received = m_received->value().day;
    if (!percent || !days || !gross || !received || *percent == 0)
        return std::nullopt;
    const int lastDay = *PaymentDue::discountLastDay(*received, *days);
    const std::optional<int> paymentDay = m_entry().paymentDay;
    if (paymentDay && *paymentDay > lastDay) {
        *reason = QStringLiteral("Skonto ist nur bis zum %1 möglich; angewiesen am %2.")
                      .arg(DayNumber::format(lastDay), DayNumber::format(*paymentDay));
        return std::nullopt;
    }
    if (m_invoiceAmount->amount() != gross) {
        *reason = QStringLiteral("Skonto gibt es nur auf den vollen Rechnungsbetrag.");
        return std::nullopt;
    }
    return percentOf(*gross, *percent);
}

void PaymentPanel::recompute() {
    const Entry entry = m_entry();
    const std::optional<int> received = m_received->value().day;
    if (received) {
        const int due = PaymentDue::dueOn(*received, PaymentDue::daysToPay(entry.paymentKind, m_orderDays));
        m_due->setText(DayNumber::format(due));
        const bool late = PaymentDue::overdue(due, DayNumber::fromDate(QDate::currentDate()));
        m_due->setStyleSheet(late ? QStringLiteral("color: red") : QString());
        m_due->setToolTip(late ? QStringLiteral("überfällig") : QString());
    }
    const std::optional<int> days = discountDays();
    const std::optional<int> lastDay =
        received && days ? PaymentDue::discountLastDay(*received, days) : std::nullopt;
    m_discountLastDay->setText(lastDay ? DayNumber::format(*lastDay) : QString());
    QString reason;
    const std::optional<Money> discount = discountDue(&reason);
    m_discount->setText(shown(discount));
    m_discountReason->setText(reason);
    QString problem;
    QWidget* field = nullptr;
    const std::optional<Payment> entered = payment(&problem, &field);
    const std::optional<Money> out = entered ? PaymentChecks::paidOut(*entered) : std::nullopt;
    m_paidOut->setText(shown(out));
    if (isUsed())
        emit paidOutChanged(shown(out));
}

std::optional<Payment> PaymentPanel::payment(QString* problem, QWidget** field) const {
    if (!isUsed())
        return std::nullopt;
    const Entry entry = m_entry();
    Payment payment;
    payment.receivedOn = m_received->value().day;
    payment.daysToPay = PaymentDue::daysToPay(entry.paymentKind, m_orderDays);
    const std::pair<AmountField*, std::optional<Money>*> amounts[] = {
        {m_invoiceAmount, &payment.invoiceAmount},
        {m_gross, &payment.gross},
        {m_retention, &payment.retention},
        {m_withholding, &payment.withholding}};
    for (const auto& [amountField, amount] : amounts) {
        if (!read(amountField, amount)) {
            *problem = QStringLiteral("Der Betrag \"%1\" ist keine vollständige Zahl, z. B. 1.234,50.")
                           .arg(amountField->text());
            *field = amountField;
            return std::nullopt;
        }
    }
    if (!payment.gross) {
        *problem = QStringLiteral("Bitte geben Sie den Bruttobetrag der Zahlung an.");
        *field = m_gross;
        return std::nullopt;
    }
    if (payment.retention)
        payment.retentionKind = m_retentionKind->currentText();
    if (payment.withholding)
        payment.taxOffice = m_taxOffice->text().trimmed();
    if (!m_discountPercent->text().trimmed().isEmpty() && !discountPercent()) {
        *problem = QStringLiteral("Der Prozentsatz \"%1\" ist keiner, z. B. 2 oder 2,5.")
                       .arg(m_discountPercent->text());
        *field = m_discountPercent;
        return std::nullopt;
    }
    payment.discountPercent = discountPercent();
    payment.discountDays = discountDays();
    QString reason;
    payment.discount = discountDue(&reason);
    return payment;
}

void PaymentPanel::showStored(const std::optional<Payment>& payment) {
    clear();
    if (!payment)
        return;
    m_filling = true;
    if (payment->receivedOn)
        m_received->showStored({payment->receivedOn, QString()});
    m_invoiceAmount->setText(shown(payment->invoiceAmount));
    m_gross->setText(shown(payment->gross));
    m_retention->setText(shown(payment->retention));
    m_retentionKind->setCurrentText(payment->retentionKind);
    m_withholding->setText(shown(payment->withholding));
    m_taxOffice->setText(payment->taxOffice);
    m_discountPercent->setText(payment->discountPercent ? percentText(*payment->discountPercent) : QString());
    m_discountDays->setText(payment->discountDays ? QString::number(*payment->discountDays) : QString());
    m_proposedFor = m_gross->text();
    setChecked(true);
    m_filling = false;
    readTerms(false);
    recompute();
}

void PaymentPanel::takeInvoice(int readInOn, Money amount,
                               const QList<PaymentChecks::AgreedDiscount>& discounts) {
    clear();
    m_invoiceDiscounts = discounts;
    m_received->showStored({readInOn, QString()});
    m_invoiceAmount->setText(amount.toGerman());
    m_gross->setText(amount.toGerman());
}

void PaymentPanel::clear() {
    m_filling = true;
    setChecked(false);
    for (QLineEdit* field :
         {static_cast<QLineEdit*>(m_invoiceAmount), static_cast<QLineEdit*>(m_gross),
          static_cast<QLineEdit*>(m_retention), static_cast<QLineEdit*>(m_withholding), m_taxOffice,
          m_discountPercent, m_discountDays, m_due, m_discountLastDay, m_discount, m_paidOut})
        field->clear();
    m_received->endCorrection();
    m_received->setDate(QDate::currentDate());
    m_retentionKind->setCurrentIndex(0);
    for (QLabel* reason : {m_retentionReason, m_withholdingReason, m_discountReason})
        reason->clear();
    m_invoiceDiscounts.clear();
    m_orderDays.reset();
    m_proposedFor.clear();
    m_filling = false;
}
