#include "GuaranteeDialog.h"

#include "AmountField.h"
#include "DateField.h"
#include "DayNumber.h"
#include "Dialogs.h"
#include "OrderTermsReading.h"
#include "RightMirror.h"
#include "SecurityOperation.h"
#include "Session.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Sicherheit");
const QString kDefects = QStringLiteral("Mängelansprüche");

QString dayShown(std::optional<int> day) {
    return day ? DayNumber::format(*day) : QString();
}

} // namespace

GuaranteeDialog::GuaranteeDialog(Session& session, Dialogs& dialogs, const QString& projectId,
                                 const QStringList& companies, const std::optional<Security>& before,
                                 const QString& company, QWidget* parent)
    : QDialog(parent), m_session(session), m_dialogs(dialogs), m_projectId(projectId), m_before(before) {
    setObjectName(QStringLiteral("frmSicherheit"));
    setWindowTitle(before ? QStringLiteral("Sicherheit bearbeiten") : QStringLiteral("Neue Sicherheit"));
    const auto line = [this](const QString& name) {
        auto* made = new QLineEdit(this);
        made->setObjectName(name);
        return made;
    };
    m_company = new QComboBox(this);
    m_company->setObjectName(QStringLiteral("cboFirma"));
    m_company->addItems(companies);
    m_company->setCurrentText(company);
    m_company->setEnabled(!before);
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("cboArt"));
    m_kind->addItems({QStringLiteral("Vertragserfüllung"), kDefects});
    m_form = new QComboBox(this);
    m_form->setObjectName(QStringLiteral("cboForm"));
    m_form->addItems({QStringLiteral("Bürgschaft"), QStringLiteral("Einbehalt")});
    m_amount = new AmountField(this);
    m_amount->setObjectName(QStringLiteral("txtBetrag"));
    m_guarantor = line(QStringLiteral("txtBuerge"));
    m_document = line(QStringLiteral("txtUrkundeNr"));
    m_received = line(QStringLiteral("txtErhaltenAm"));
    m_accepted = line(QStringLiteral("txtAbnahmeAm"));
    m_returnDue = line(QStringLiteral("txtRueckgabeAm"));
    m_returned = line(QStringLiteral("txtZurueckAm"));

    auto* form = new QFormLayout;
    const auto add = [&](const QString& label, QWidget* buddy) {
        auto* shown = new QLabel(label, this);
        shown->setBuddy(buddy);
        buddy->setAccessibleName(QString(label).remove(u'&'));
        form->addRow(shown, buddy);
    };
    add(QStringLiteral("&Firma"), m_company);
    add(QStringLiteral("&Art"), m_kind);
    add(QStringLiteral("F&orm"), m_form);
    add(QStringLiteral("&Betrag (Euro)"), m_amount);
    add(QStringLiteral("Bür&ge"), m_guarantor);
    add(QStringLiteral("&Urkunde-Nr."), m_document);
    add(QStringLiteral("&Erhalten am"), m_received);
    add(QStringLiteral("Abnahme a&m"), m_accepted);
    add(QStringLiteral("&Rückgabe am"), m_returnDue);
    add(QStringLiteral("&Zurück am"), m_returned);

    auto* saveButton = new QPushButton(QStringLiteral("&Speichern"), this);
    saveButton->setObjectName(QStringLiteral("cmdSpeichern"));
    saveButton->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("cmdAbbrechen"));
    RightMirror::apply({saveButton}, session.may(Right::Record), rightWord(Right::Record));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(saveButton, &QPushButton::clicked, this, [this] {
        if (save())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_accepted, &QLineEdit::editingFinished, this, &GuaranteeDialog::proposeReturnDay);

    if (before) {
        m_kind->setCurrentText(before->kind);
        m_form->setCurrentText(before->form);
        m_amount->setText(before->amount ? before->amount->toGerman() : QString());
        m_guarantor->setText(before->guarantor);
        m_document->setText(before->documentNumber);
        m_received->setText(dayShown(before->receivedOn));
        m_returnDue->setText(dayShown(before->returnDueOn));
        m_returned->setText(dayShown(before->returnedOn));
    }
}

void GuaranteeDialog::proposeReturnDay() {
    const std::optional<QDate> accepted = DateField::parseTyped(m_accepted->text(), QDate::currentDate());
    if (!accepted)
        return;
    int years = 0;
    if (m_kind->currentText() == kDefects) {
        const std::optional<OrderTerms> terms =
            OrderTermsReading::forCompany(m_session, m_projectId, m_company->currentText());
        years = terms ? terms->yearsToReturn() : OrderTerms::kDefaultDefectsYears;
    }
    m_returnDue->setText(
        DayNumber::format(SecurityOperation::returnDay(DayNumber::fromDate(*accepted), years)));
}

std::optional<Security> GuaranteeDialog::entered() {
    Security security = m_before.value_or(Security{});
    security.projectId = m_projectId;
    security.kind = m_kind->currentText();
    security.form = m_form->currentText();
    security.amount = m_amount->amount();
    security.guarantor = m_guarantor->text().trimmed();
    security.documentNumber = m_document->text().trimmed();
    const std::pair<QLineEdit*, std::optional<int>*> days[] = {{m_received, &security.receivedOn},
                                                               {m_returnDue, &security.returnDueOn},
                                                               {m_returned, &security.returnedOn}};
    for (const auto& [shown, day] : days) {
        day->reset();
        if (shown->text().trimmed().isEmpty())
            continue;
        const std::optional<QDate> typed = DateField::parseTyped(shown->text(), QDate::currentDate());
        if (!typed) {
            m_dialogs.inform(this, kTitle, QStringLiteral("„%1“ ist kein Datum.").arg(shown->text()),
                             Dialogs::Icon::Warning);
            shown->setFocus();
            return std::nullopt;
        }
        *day = DayNumber::fromDate(*typed);
    }
    return security;
}

bool GuaranteeDialog::save() {
    const std::optional<Security> security = entered();
    if (!security)
        return false;
    SecurityOperation operation(m_session);
    const Outcome saved = m_before ? operation.change(*m_before, *security)
                                   : operation.add(m_company->currentText(), *security);
    if (!saved.ok())
        m_dialogs.inform(this, QStringLiteral("Speichern nicht möglich"), saved.text(),
                         Dialogs::Icon::Warning);
    return saved.ok();
}
