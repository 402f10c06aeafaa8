#include "Presets.h"

#include "AuthorityDetails.h"
#include "BaseRateOperation.h"
#include "ChangeWatch.h"
#include "DayNumber.h"
#include "Dialogs.h"
#include "FollowedScreen.h"
#include "NameEntryTab.h"
#include "RightMirror.h"
#include "Session.h"
#include "Settings.h"
#include "SignOffOperation.h"
#include "SignOffReading.h"
#include "Twips.h"
#include "WindowPlacement.h"

#include <array>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
// The authority's fields in the order they are shown and stored.
struct AuthorityField {
    const SettingKey<QString>* key;
    const char* objectName;
};
const std::array<AuthorityField, 6> kAuthorityFields{{
    {&AuthorityDetails::name, "Text3"},
    {&AuthorityDetails::department, "Text6"},
    {&AuthorityDetails::district, "Text4"},
    {&AuthorityDetails::region, "Text5"},
    {&AuthorityDetails::postcode, "Text7"},
    {&AuthorityDetails::town, "Text8"},
}};
enum AuthorityIndex { Name, Department, District, Region, Postcode, Town };

const QString kTradeRenameQuestion = QStringLiteral(
    "Ein Gewerk '%1' ist bereits vorhanden. Die Firmen, Buchungen und Kostenschätzungen beider "
    "Gewerke tragen danach denselben Namen und lassen sich nicht mehr trennen. Trotzdem "
    "umbenennen?");
const QString kCostGroupRenameQuestion = QStringLiteral(
    "Eine Kostenstelle '%1' ist bereits vorhanden. Die Firmen, Buchungen und Kostenschätzungen "
    "beider Kostenstellen tragen danach denselben Namen und lassen sich nicht mehr trennen. "
    "Trotzdem umbenennen?");
} // namespace

Presets::Presets(Session& session, Dialogs& dialogs, Settings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session), m_dialogs(dialogs), m_settings(settings),
      m_watch(session.watch(this)) {
    setObjectName(QStringLiteral("frmVoreinstellung"));
    setWindowTitle(QStringLiteral("Voreinstellungen"));

    m_tabs = new QTabWidget(this);
    m_trades =
        new NameEntryTab(session, NameList::Trades,
                         {QStringLiteral("ListView2"), QStringLiteral("Text2"), QStringLiteral("Command4"),
                          QStringLiteral("Command6"), QStringLiteral("Command5"), QStringLiteral("Gewerk"),
                          QStringLiteral("Gewerk, Bezeichnung"), QStringLiteral("Gewerk löschen"),
                          QStringLiteral("Gewerk umbenennen"), kTradeRenameQuestion},
                         *m_watch, dialogs, m_tabs);
    m_costGroups = new NameEntryTab(session, NameList::CostGroups,
                                    {QStringLiteral("ListView1"), QStringLiteral("Text1"),
                                     QStringLiteral("Command1"), QStringLiteral("Command7"),
                                     QStringLiteral("Command2"), QStringLiteral("Kostenstelle"),
                                     QStringLiteral("Kostenstelle"), QStringLiteral("Kostenstelle löschen"),
                                     QStringLiteral("Kostenstelle umbenennen"), kCostGroupRenameQuestion},
                                    *m_watch, dialogs, m_tabs);
    m_tabs->addTab(m_trades, QStringLiteral("Gewerk"));
    m_tabs->addTab(m_costGroups, QStringLiteral("Kostenstelle"));
    m_tabs->addTab(buildAuthorityTab(), QStringLiteral("Eigene Daten"));
    m_tabs->addTab(buildSignOffTab(), QStringLiteral("Anordnung"));

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("Command3"));
    connect(m_ok, &QPushButton::clicked, this, &Presets::storeAuthorityDetailsAndClose);

    RightMirror::apply({m_import}, session.may(Right::Administer), rightWord(Right::Administer));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(m_ok, 0, Qt::AlignHCenter);
    WindowPlacement::fitIntoScreen(*this, Twips::toPixels(7500, 7000, *this));

    loadAuthorityDetails();
    loadSignOffRules();
    loadBaseRate();
    FollowedScreen::follow(*m_watch, *this, [this] { EINLESEN(); });
}

Presets::~Presets() = default;

void Presets::EINLESEN() {
    m_trades->EINLESEN();
    m_costGroups->EINLESEN();
}

QWidget* Presets::buildAuthorityTab() {
    auto* page = new QWidget(m_tabs);
    for (const AuthorityField& field : kAuthorityFields) {
        auto* edit = new QLineEdit(page);
        edit->setObjectName(QLatin1String(field.objectName));
        m_authority.append(edit);
    }
    auto labelFor = [page](QLineEdit* edit, const QString& caption, const QString& tip) {
        auto* label = new QLabel(caption, page);
        label->setBuddy(edit);
        edit->setToolTip(tip);
        return label;
    };
    auto* layout = new QGridLayout(page);
    layout->addWidget(labelFor(m_authority[Name], QStringLiteral("Name Stadt, Gemeinde, Kreis, Behörde"),
                               QStringLiteral("Z.B. Landratsamt Wernholm")),
                      0, 0, 1, 2);
    layout->addWidget(m_authority[Name], 1, 0, 1, 2);
    layout->addWidget(
        labelFor(m_authority[Department], QStringLiteral("Abteilung"), QStringLiteral("z.B. Bauamt")), 2, 0,
        1, 2);
    layout->addWidget(m_authority[Department], 3, 0, 1, 2);
    layout->addWidget(labelFor(m_authority[Postcode], QStringLiteral("PLZ, Ort"), QString()), 4, 0, 1, 2);
    m_authority[Town]->setAccessibleName(QStringLiteral("Ort"));
    layout->addWidget(m_authority[Postcode], 5, 0);
    layout->addWidget(m_authority[Town], 5, 1);
    layout->addWidget(
        labelFor(m_authority[District], QStringLiteral("Landkreis"), QStringLiteral("z.B. Wernholm")), 6, 0,
        1, 2);
    layout->addWidget(m_authority[District], 7, 0, 1, 2);
    layout->addWidget(
        labelFor(m_authority[Region], QStringLiteral("Bezirk"), QStringLiteral("z.B. Unterfranken")), 8, 0, 1,
        2);
    layout->addWidget(m_authority[Region], 9, 0, 1, 2);
    layout->setColumnStretch(1, 3);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(10, 1);
    auto* import = new QPushButton(QStringLiteral("Daten einer älteren Installation übernehmen …"), page);
    import->setObjectName(QStringLiteral("cmdUebernehmen"));
    connect(import, &QPushButton::clicked, this, &Presets::importRequested);
    m_import = import;
    layout->addWidget(import, 11, 0, 1, 2, Qt::AlignLeft);
    auto* toServer = new QPushButton(QStringLiteral("Auf Datenbankserver übertragen …"), page);
    toServer->setObjectName(QStringLiteral("cmdAufServerUebertragen"));
    connect(toServer, &QPushButton::clicked, this, &Presets::transferRequested);
    layout->addWidget(toServer, 12, 0, 1, 2, Qt::AlignLeft);

    setTabOrder(m_authority[Name], m_authority[Department]);
    setTabOrder(m_authority[Department], m_authority[Postcode]);
    setTabOrder(m_authority[Postcode], m_authority[Town]);
    setTabOrder(m_authority[Town], m_authority[District]);
    setTabOrder(m_authority[District], m_authority[Region]);
    return page;
}

QWidget* Presets::buildSignOffTab() {
    auto* page = new QWidget(m_tabs);
    m_fourEyes = new QCheckBox(QStringLiteral("&Vier-Augen-Prinzip"), page);
    m_fourEyes->setObjectName(QStringLiteral("chkVierAugen"));
    m_twoStep = new QCheckBox(
        QStringLiteral("Feststellung in &zwei Schritten (sachlich und rechnerisch richtig)"), page);
    m_twoStep->setObjectName(QStringLiteral("chkZweiStufig"));
    auto* explanation = new QLabel(
        QStringLiteral(
            "Mit dem Vier-Augen-Prinzip kann niemand eine Buchung feststellen, die er selbst erfasst "
            "hat, und niemand eine Buchung anordnen, die er erfasst oder festgestellt hat. In zwei "
            "Schritten bestätigen zwei verschiedene Personen nacheinander „sachlich richtig“ und "
            "„rechnerisch richtig“."),
        page);
    explanation->setWordWrap(true);
    const bool administers = m_session.may(Right::Administer);
    for (QCheckBox* box : {m_fourEyes, m_twoStep}) {
        box->setEnabled(administers);
        if (!administers)
            box->setToolTip(QStringLiteral("Dafür ist das Recht „verwalten“ nötig."));
    }
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_fourEyes);
    layout->addWidget(m_twoStep);
    layout->addWidget(explanation);
    layout->addWidget(buildBaseRateGroup(page));
    layout->addStretch(1);
    return page;
}

QWidget* Presets::buildBaseRateGroup(QWidget* page) {
    auto* group = new QGroupBox(QStringLiteral("Verzugszinsen"), page);
    m_baseRate = new QLineEdit(group);
    m_baseRate->setObjectName(QStringLiteral("txtBasiszinssatz"));
    m_baseRate->setToolTip(QStringLiteral("In Prozent, z.B. 1,27 oder -0,88"));
    m_baseRateSince = new QLineEdit(group);
    m_baseRateSince->setObjectName(QStringLiteral("txtBasiszinsAb"));
    m_baseRateSince->setToolTip(QStringLiteral("TT.MM.JJJJ"));
    auto* explanation = new QLabel(
        QStringLiteral(
            "Zinsen für eine verspätete Zahlung: 9 Prozentpunkte über dem Basiszinssatz "
            "(§ 16 Abs. 5 Nr. 3 VOB/B, § 288 Abs. 2 BGB), ab dem 31. Tag nach Eingang der Rechnung."),
        group);
    explanation->setWordWrap(true);
    auto* layout = new QFormLayout(group);
    layout->addRow(QStringLiteral("Basiszins&satz in %:"), m_baseRate);
    layout->addRow(QStringLiteral("Gültig a&b:"), m_baseRateSince);
    layout->addRow(explanation);
    RightMirror::apply({m_baseRate, m_baseRateSince}, m_session.may(Right::Administer),
                       rightWord(Right::Administer));
    return group;
}

void Presets::loadBaseRate() {
    const BaseRate rate = PaymentRules::baseRate(m_session);
    m_baseRate->setText(rate.isSet ? PaymentRules::rateText(rate.hundredths).chopped(2) : QString());
    m_baseRateSince->setText(rate.since ? DayNumber::format(*rate.since) : QString());
}

bool Presets::storeBaseRate() {
    const BaseRate stored = PaymentRules::baseRate(m_session);
    const auto refuse = [this](const QString& text, QLineEdit* field) {
        m_dialogs.inform(this, QStringLiteral("Speichern nicht möglich"), text, Dialogs::Icon::Warning);
        m_tabs->setCurrentIndex(m_tabs->count() - 1);
        field->setFocus();
        return false;
    };
    if (m_baseRate->text().trimmed().isEmpty() && m_baseRateSince->text().trimmed().isEmpty() &&
        !stored.isSet)
        return true;
    const std::optional<int> hundredths = PaymentRules::parseRate(m_baseRate->text());
    if (!hundredths)
        return refuse(QStringLiteral("Bitte geben Sie den Basiszinssatz in Prozent mit höchstens zwei "
                                     "Nachkommastellen ein, z.B. 1,27 oder -0,88."),
                      m_baseRate);
    BaseRate chosen{*hundredths, std::nullopt, true};
    if (const QString since = m_baseRateSince->text().trimmed(); !since.isEmpty()) {
        const QDate day = QDate::fromString(since, QStringLiteral("dd.MM.yyyy"));
        if (!day.isValid())
            return refuse(QStringLiteral("Bitte geben Sie den Tag, ab dem der Basiszinssatz gilt, als "
                                         "TT.MM.JJJJ ein."),
                          m_baseRateSince);
        chosen.since = DayNumber::fromDate(day);
    }
    if (chosen == stored)
        return true;
    const Outcome saved = BaseRateOperation(m_session).save(chosen);
    if (!saved.ok())
        return refuse(saved.text(), m_baseRate);
    return true;
}

void Presets::loadSignOffRules() {
    const SignOffRules rules = SignOffReading::rules(m_session);
    m_fourEyes->setChecked(rules.fourEyes);
    m_twoStep->setChecked(rules.twoStep);
}

bool Presets::storeSignOffRules() {
    const SignOffRules stored = SignOffReading::rules(m_session);
    const SignOffRules chosen{m_fourEyes->isChecked(), m_twoStep->isChecked()};
    if (chosen.fourEyes == stored.fourEyes && chosen.twoStep == stored.twoStep)
        return true;
    const Outcome saved = SignOffOperation(m_session).saveRules(chosen);
    if (!saved.ok()) {
        m_dialogs.inform(this, QStringLiteral("Speichern nicht möglich"), saved.text(),
                         Dialogs::Icon::Warning);
        m_tabs->setCurrentIndex(m_tabs->count() - 1);
    }
    return saved.ok();
}

void Presets::loadAuthorityDetails() {
    for (std::size_t i = 0; i < kAuthorityFields.size(); ++i)
        m_authority[int(i)]->setText(m_settings.value(*kAuthorityFields[i].key));
}

void Presets::storeAuthorityDetailsAndClose() {
    if (!storeSignOffRules() || !storeBaseRate())
        return;
    for (std::size_t i = 0; i < kAuthorityFields.size(); ++i)
        m_settings.setValue(*kAuthorityFields[i].key, m_authority[int(i)]->text());
    if (!m_settings.sync()) {
        m_dialogs.inform(this, QStringLiteral("Speichern nicht möglich"),
                         QStringLiteral("Die eigenen Daten konnten nicht in der Einstellungsdatei \"%1\" "
                                        "gespeichert werden.")
                             .arg(m_settings.filePath()),
                         Dialogs::Icon::Warning);
        return;
    }
    close();
}

void Presets::closeEvent(QCloseEvent* event) {
    loadAuthorityDetails();
    loadSignOffRules();
    loadBaseRate();
    event->accept();
}
