#include "OrderTermsDialog.h"

#include "Dialogs.h"
#include "OrderTermsOperation.h"
#include "OrderTermsReading.h"
#include "Percent.h"
#include "RightMirror.h"
#include "Session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Zahlungsbedingungen");
const QStringList kForms = {QString(), QStringLiteral("Einbehalt"), QStringLiteral("Bürgschaft")};
const QString kVobDays = QStringLiteral("nach VOB/B");

QLineEdit* field(const QString& name, QWidget* parent) {
    auto* made = new QLineEdit(parent);
    made->setObjectName(name);
    made->setMaximumWidth(90);
    made->setAlignment(Qt::AlignRight);
    return made;
}

QComboBox* picker(const QString& name, const QStringList& entries, QWidget* parent) {
    auto* made = new QComboBox(parent);
    made->setObjectName(name);
    made->addItems(entries);
    return made;
}

QString percentShown(std::optional<int> hundredths) {
    return hundredths ? percentText(*hundredths) : QString();
}

QString numberShown(std::optional<int> number) {
    return number ? QString::number(*number) : QString();
}

// A row of a percentage, its unit and its form.
QHBoxLayout* securityRow(QLineEdit* percent, QComboBox* form, QWidget* parent) {
    auto* row = new QHBoxLayout;
    row->addWidget(percent);
    row->addWidget(new QLabel(QStringLiteral("%   als"), parent));
    row->addWidget(form);
    form->setAccessibleName(percent->accessibleName() + QStringLiteral(", Form"));
    row->addStretch();
    return row;
}

} // namespace

OrderTermsDialog::OrderTermsDialog(Session& session, Dialogs& dialogs, const QString& projectId,
                                   const QString& company, int runningNumber, QWidget* parent)
    : QDialog(parent), m_session(session), m_dialogs(dialogs), m_projectId(projectId), m_company(company),
      m_runningNumber(runningNumber) {
    setObjectName(QStringLiteral("frmZahlungsbedingung"));
    setWindowTitle(QStringLiteral("%1 – %2, Auftrag Nr. %3").arg(kTitle, company).arg(runningNumber));
    m_vob = new QCheckBox(QStringLiteral("VO&B/B vereinbart"), this);
    m_vob->setObjectName(QStringLiteral("chkVOB"));
    m_vob->setChecked(true);
    m_performance = field(QStringLiteral("txtErfuellungProzent"), this);
    m_performanceForm = picker(QStringLiteral("cboErfuellungForm"), kForms, this);
    m_defects = field(QStringLiteral("txtMaengelProzent"), this);
    m_defectsForm = picker(QStringLiteral("cboMaengelForm"), kForms, this);
    m_years = field(QStringLiteral("txtMaengelJahre"), this);
    m_years->setText(QString::number(OrderTerms::kDefaultDefectsYears));
    m_discount = field(QStringLiteral("txtSkontoProzent"), this);
    m_discountDays = field(QStringLiteral("txtSkontoTage"), this);
    m_daysToPay =
        picker(QStringLiteral("cboFrist"), {kVobDays, QStringLiteral("30"), QStringLiteral("60")}, this);

    auto* form = new QFormLayout;
    const auto add = [&](const QString& label, QWidget* buddy, QLayout* row) {
        auto* shown = new QLabel(label, this);
        shown->setBuddy(buddy);
        buddy->setAccessibleName(QString(label).remove(u'&'));
        form->addRow(shown, row);
    };
    form->addRow(m_vob);
    add(QStringLiteral("Sicherheit für die &Vertragserfüllung"), m_performance,
        securityRow(m_performance, m_performanceForm, this));
    add(QStringLiteral("Sicherheit für &Mängelansprüche"), m_defects,
        securityRow(m_defects, m_defectsForm, this));
    auto* years = new QHBoxLayout;
    years->addWidget(m_years);
    years->addWidget(new QLabel(QStringLiteral("Jahre nach der Abnahme (§17 Abs. 8 Nr. 2 VOB/B)"), this));
    add(QStringLiteral("Rückgabe &nach"), m_years, years);
    auto* discount = new QHBoxLayout;
    discount->addWidget(m_discount);
    discount->addWidget(new QLabel(QStringLiteral("%   innerhalb von"), this));
    discount->addWidget(m_discountDays);
    discount->addWidget(new QLabel(QStringLiteral("Tagen"), this));
    discount->addStretch();
    m_discountDays->setAccessibleName(QStringLiteral("Skonto, Tage"));
    add(QStringLiteral("S&konto"), m_discount, discount);
    auto* days = new QHBoxLayout;
    days->addWidget(m_daysToPay);
    days->addWidget(new QLabel(QStringLiteral("Tage"), this));
    days->addStretch();
    add(QStringLiteral("&Zahlungsfrist"), m_daysToPay, days);

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

    bool ok = true;
    const std::optional<OrderTerms> stored =
        OrderTermsReading::forOrder(session, projectId, company, runningNumber, &ok);
    if (!ok)
        dialogs.inform(parent, kTitle,
                       QStringLiteral("Die Zahlungsbedingungen konnten nicht gelesen werden."),
                       Dialogs::Icon::Critical);
    if (stored)
        show(*stored);
}

void OrderTermsDialog::show(const OrderTerms& terms) {
    m_vob->setChecked(terms.vob);
    m_performance->setText(percentShown(terms.performancePercent));
    m_performanceForm->setCurrentText(terms.performanceForm);
    m_defects->setText(percentShown(terms.defectsPercent));
    m_defectsForm->setCurrentText(terms.defectsForm);
    m_years->setText(QString::number(terms.yearsToReturn()));
    m_discount->setText(percentShown(terms.discountPercent));
    m_discountDays->setText(numberShown(terms.discountDays));
    m_daysToPay->setCurrentText(terms.daysToPay ? QString::number(*terms.daysToPay) : kVobDays);
}

std::optional<OrderTerms> OrderTermsDialog::entered() {
    OrderTerms terms;
    terms.projectId = m_projectId;
    terms.runningNumber = m_runningNumber;
    terms.vob = m_vob->isChecked();
    terms.performanceForm = m_performanceForm->currentText();
    terms.defectsForm = m_defectsForm->currentText();
    const std::pair<QLineEdit*, std::optional<int>*> percents[] = {{m_performance, &terms.performancePercent},
                                                                   {m_defects, &terms.defectsPercent},
                                                                   {m_discount, &terms.discountPercent}};
    for (const auto& [shown, percent] : percents) {
        if (shown->text().trimmed().isEmpty())
            continue;
        *percent = parsePercent(shown->text());
        if (!*percent) {
            m_dialogs.inform(
                this, kTitle,
                QStringLiteral("„%1“ ist kein Satz in Prozent mit höchstens zwei Nachkommastellen.")
                    .arg(shown->text()),
                Dialogs::Icon::Warning);
            shown->setFocus();
            return std::nullopt;
        }
    }
    const std::pair<QLineEdit*, std::optional<int>*> numbers[] = {{m_years, &terms.defectsYears},
                                                                  {m_discountDays, &terms.discountDays}};
    for (const auto& [shown, number] : numbers) {
        if (shown->text().trimmed().isEmpty())
            continue;
        bool ok = false;
        *number = shown->text().trimmed().toInt(&ok);
        if (!ok) {
            m_dialogs.inform(this, kTitle, QStringLiteral("„%1“ ist keine ganze Zahl.").arg(shown->text()),
                             Dialogs::Icon::Warning);
            shown->setFocus();
            return std::nullopt;
        }
    }
    if (m_daysToPay->currentText() != kVobDays)
        terms.daysToPay = m_daysToPay->currentText().toInt();
    return terms;
}

bool OrderTermsDialog::save() {
    const std::optional<OrderTerms> terms = entered();
    if (!terms)
        return false;
    const Outcome saved = OrderTermsOperation(m_session).save(m_company, *terms);
    if (!saved.ok())
        m_dialogs.inform(this, QStringLiteral("Speichern nicht möglich"), saved.text(),
                         Dialogs::Icon::Warning);
    return saved.ok();
}
