#include "StartMenu.h"

#include "ProductLogo.h"
#include "ProgramVersion.h"
#include "ToolbarIcons.h"
#include "Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kWidthBeyondToolbarTwips = 200;
} // namespace

StartMenu::StartMenu(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMenü"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(plainTitle());

    // A fixed row of tool buttons in the place of a toolbar: it cannot be moved or hidden, and unlike
    // QToolBar it needs no extension button, whose style icon would be read from an image file.
    m_toolbar = new QWidget(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setAccessibleName(QStringLiteral("Symbolleiste"));
    m_toolbarLayout = new QHBoxLayout(m_toolbar);
    m_toolbarLayout->setContentsMargins(2, 2, 2, 2);
    m_toolbarLayout->setSpacing(1);
    setMenuWidget(m_toolbar);
    setContextMenuPolicy(Qt::NoContextMenu);

    using Icon = ToolbarIcons::Kind;
    addToolButton(QStringLiteral("tbrEinstellungen"), QStringLiteral(" Einstellungen "),
                  QStringLiteral("Voreinstellungen"), Icon::Settings, &StartMenu::presetsRequested);
    addToolButton(QStringLiteral("tbrFirma"), QStringLiteral(" Firma anlegen "),
                  QStringLiteral("Firma anlegen"), Icon::Company, &StartMenu::companyRegisterRequested);
    addToolButton(QStringLiteral("tbrDBSicherung2"), QStringLiteral("DB sichern"),
                  QStringLiteral("Datenbank sichern  (Nur sofort nach Start möglich)"), Icon::Backup,
                  &StartMenu::backupRequested);
    addToolButton(QStringLiteral("tbrPruefexport"), QStringLiteral("Prüfexport"),
                  QStringLiteral("Export für die Prüfung"), Icon::Audit, &StartMenu::auditExportRequested);
    addToolButton(QStringLiteral("tbrInfo"), QStringLiteral("Info"), QStringLiteral("Info"), Icon::Info,
                  &StartMenu::aboutRequested);
    addToolButton(QStringLiteral("tbrHilfe"), QStringLiteral("Hilfe"), QStringLiteral("Hilfe"), Icon::Help,
                  &StartMenu::helpRequested);
    addToolButton(QStringLiteral("tbrBeenden"), QStringLiteral("Beenden"), QStringLiteral("Beenden"),
                  Icon::Quit, &StartMenu::quitRequested);

    m_toolbarLayout->addStretch(1);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    m_logo = new ProductLogo(central);
    layout->addWidget(m_logo, 1);
    m_project = new QPushButton(QStringLiteral("&Projekt"), central);
    m_project->setObjectName(QStringLiteral("cmdProjekt"));
    m_project->setDefault(true);
    connect(m_project, &QPushButton::clicked, this, &StartMenu::projectManagerRequested);
    layout->addWidget(m_project);
    m_journal = new QPushButton(QStringLiteral("&Änderungsprotokoll"), central);
    m_journal->setObjectName(QStringLiteral("cmdProtokoll"));
    m_journal->setToolTip(QStringLiteral("Alle Änderungen an den Daten ansehen und prüfen"));
    connect(m_journal, &QPushButton::clicked, this, &StartMenu::journalRequested);
    layout->addWidget(m_journal);
    m_signOffs = new QPushButton(QStringLiteral("A&nordnungen"), central);
    m_signOffs->setObjectName(QStringLiteral("cmdAnordnungen"));
    m_signOffs->setToolTip(
        QStringLiteral("Buchungen aller Projekte, die auf Feststellung oder Anordnung warten"));
    connect(m_signOffs, &QPushButton::clicked, this, &StartMenu::signOffsRequested);
    layout->addWidget(m_signOffs);
    m_withholdings = new QPushButton(QStringLiteral("Bauabzug&steuer"), central);
    m_withholdings->setObjectName(QStringLiteral("cmdBauabzugsteuer"));
    m_withholdings->setToolTip(
        QStringLiteral("Einbehaltene Bauabzugsteuer je Monat und Finanzamt, Abrechnungen für die Firmen"));
    connect(m_withholdings, &QPushButton::clicked, this, &StartMenu::withholdingsRequested);
    layout->addWidget(m_withholdings);
    m_due = new QPushButton(QStringLiteral("&Fälligkeiten"), central);
    m_due->setObjectName(QStringLiteral("cmdFaelligkeiten"));
    m_due->setToolTip(QStringLiteral("Offene Rechnungen aller Projekte nach Fälligkeit, Skonto und Verzug"));
    connect(m_due, &QPushButton::clicked, this, &StartMenu::dueRequested);
    layout->addWidget(m_due);
    setCentralWidget(central);

    m_logins = new QPushButton(QStringLiteral("&Benutzer und Rechte"), central);
    m_logins->setObjectName(QStringLiteral("cmdBenutzer"));
    connect(m_logins, &QPushButton::clicked, this, &StartMenu::loginsRequested);
    layout->addWidget(m_logins);
    offerLogins(QStringLiteral("Die Datenbank wird noch geöffnet."));

    if (auto* help = findChild<QAction*>(QStringLiteral("tbrHilfe")))
        help->setShortcut(QKeySequence::HelpContents);
}

void StartMenu::fitToTexts() {
    if (m_fitted)
        return;
    m_fitted = true;
    m_project->setMinimumHeight(m_project->sizeHint().height() * 3 / 2);
    fitWidthToToolbar();
    // Laid out now rather than when shown, the logo has its size and its drawing begins.
    layout()->activate();
    centralWidget()->layout()->activate();
    m_logo->drawAhead();
}

QString StartMenu::versionTitle() {
    return QStringLiteral("Talbrin Zelvora V") + ProgramVersion::shortText() +
           QStringLiteral("  -  Startmenü");
}

QString StartMenu::plainTitle() {
    return QStringLiteral("Talbrin Zelvora  - Startmenü ");
}

void StartMenu::offerLogins(const QString& obstacle) {
    m_logins->setEnabled(obstacle.isEmpty());
    m_logins->setToolTip(obstacle.isEmpty()
                             ? QStringLiteral("Anmeldungen am Datenbankserver und ihre Rechte verwalten")
                             : obstacle);
}

void StartMenu::addToolButton(const QString& key, const QString& caption, const QString& tooltip,
                              ToolbarIcons::Kind icon, void (StartMenu::*signal)()) {
    auto* action = new QAction(ToolbarIcons::icon(icon), caption, this);
    action->setObjectName(key);
    // The caption keeps its blanks; the derived icon text would drop them.
    action->setIconText(caption);
    action->setToolTip(tooltip);
    connect(action, &QAction::triggered, this, signal);
    auto* button = new QToolButton(m_toolbar);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(ToolbarIcons::kIconSize, ToolbarIcons::kIconSize));
    button->setAutoRaise(true);
    m_toolbarLayout->addWidget(button);
    button->setObjectName(key);
    button->setAccessibleName(caption.trimmed());
    button->setAccessibleDescription(tooltip);
    button->setFocusPolicy(Qt::TabFocus);
}

void StartMenu::fitWidthToToolbar() {
    const int extra = Twips::toPixelsX(kWidthBeyondToolbarTwips, *this);
    const int width = m_toolbar->sizeHint().width() + extra;
    setFixedWidth(qMax(width, centralWidget()->minimumSizeHint().width()));
    resize(width, sizeHint().height() + 40);
}

void StartMenu::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    fitToTexts();
    fitWidthToToolbar();
    m_project->setFocus();
}

void StartMenu::closeEvent(QCloseEvent* event) {
    emit closing();
    event->accept();
}
