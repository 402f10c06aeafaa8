#include "Workspace.h"

#include "BookingListModel.h"
#include "BookingListTab.h"
#include "BookingOperation.h"
#include "ChangeWatch.h"
#include "ChartsTab.h"
#include "ColumnWidths.h"
#include "CompanyTab.h"
#include "CostReportTab.h"
#include "DayNumber.h"
#include "Dialogs.h"
#include "EntryTab.h"
#include "EvaluationTab.h"
#include "FollowedLists.h"
#include "RunningNumberText.h"
#include "SecuritiesScreen.h"
#include "Session.h"
#include "Settings.h"
#include "StyleIcon.h"
#include "Twips.h"
#include "UnreadableAmountsNotice.h"
#include "WindowPlacement.h"

#include <algorithm>
#include <functional>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLinearGradient>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

namespace {
const QString kSection = QStringLiteral("frmAusgabe");
const SettingKey<QString> kWidth{kSection, QStringLiteral("PFensterWidth"), QStringLiteral("10275")};
const SettingKey<QString> kHeight{kSection, QStringLiteral("PFensterHeight"), QStringLiteral("7665")};
const SettingKey<QString> kTop{kSection, QStringLiteral("PFensterTop"), QStringLiteral("210")};
const SettingKey<QString> kLeft{kSection, QStringLiteral("PFensterLeft"), QStringLiteral("105")};
// The four lists' column widths: the key, how many columns are read back and how many are written.
struct StoredWidths {
    SettingKey<QString> key;
    int read;
    int written;
};
const StoredWidths kBookingWidths{{kSection, QStringLiteral("LvW1"), QString()},
                                  BookingListTab::kStoredWidthsRead,
                                  BookingListTab::kStoredWidthsWritten};
const StoredWidths kEstimateWidths{{kSection, QStringLiteral("LvW2"), QString()},
                                   CompanyTab::kStoredWidthsRead,
                                   CompanyTab::kStoredWidthsWritten};
const StoredWidths kEvaluationWidths{{kSection, QStringLiteral("LvW3"), QString()},
                                     EvaluationTab::kStoredWidthsRead,
                                     EvaluationTab::kStoredWidthsWritten};
const StoredWidths kCostReportWidths{{kSection, QStringLiteral("LvW4"), QString()},
                                     CostReportTab::kStoredWidthsRead,
                                     CostReportTab::kStoredWidthsWritten};

template <typename List>
void restoreWidths(const Settings& settings, const StoredWidths& stored, List& list) {
    const QList<int> widths = ColumnWidths::decode(settings.value(stored.key), stored.read);
    if (!widths.isEmpty())
        list.setColumnWidthsInTwips(widths);
}

// Widths the user set are kept; columns that fit themselves to their texts store nothing.
template <typename List> void saveWidths(Settings& settings, const StoredWidths& stored, const List& list) {
    settings.setValue(stored.key, list.columnsSizedByUser()
                                      ? ColumnWidths::encode(list.columnWidthsInTwips(stored.written))
                                      : QString());
}
const SettingKey<QString> kAllCompanies{kSection, QStringLiteral("check1"), QStringLiteral("1")};
constexpr int kMinimumWidthTwips = 9200;

// A stored number of twips, or the key's default when the value is missing, empty or not a number.
int storedTwips(const Settings& settings, const SettingKey<QString>& key) {
    bool ok = false;
    const int value = settings.value(key).trimmed().toInt(&ok);
    return ok ? value : key.defaultValue.toInt();
}

bool isStored(const Settings& settings, const SettingKey<QString>& key) {
    return !settings.value(SettingKey<QString>{key.section, key.key, QString()}).trimmed().isEmpty();
}

// At the first start the window takes at most this share of the screen.
constexpr double kFirstStartShare = 0.9;

QToolButton* iconButton(QWidget* parent, const QString& name, QStyle::StandardPixmap icon,
                        const QString& tip) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(StyleIcon::of(*parent, icon));
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setAutoRaise(true);
    button->setIconSize(QSize(24, 24));
    return button;
}
} // namespace

Workspace::Workspace(Session& session, Dialogs& dialogs, Settings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs), m_settings(settings) {
    setObjectName(QStringLiteral("frmAusgabe"));
    setWindowTitle(QStringLiteral("Zelvora"));
    m_context.reset(new WorkspaceContext{session, dialogs, settings, QString(), QString(), std::nullopt,
                                         std::nullopt, AsLoaded(), AsLoaded()});
    buildUi();
    restoreSettings();
    m_entry->fillCompanies();
    if (m_company->showsAllCompanies())
        m_company->setCompanies(m_entry->companies());
    m_tabs->setCurrentIndex(EntryTabIndex);
    m_watch = session.watch(this);
    auto* lists = new FollowedLists(
        *this, [this] { followChanges(); }, [this] { m_watch->check(); });
    m_lists = lists;
    connect(m_watch, &ChangeWatch::changed, this, [this] { m_refillOnActivation = true; });
    connect(m_watch, &ChangeWatch::changed, lists, &FollowedLists::refillKeepingView);
    connect(m_watch, &ChangeWatch::followingChanged, lists, &FollowedLists::setFollowing);
    lists->setFollowing(m_watch->isFollowing());
}

Workspace::~Workspace() = default;

void Workspace::buildUi() {
    setAcceptDrops(true);
    auto* banner = new QLabel(QStringLiteral("  Zelvora  –  Ausgaben der Baumaßnahmen"), this);
    banner->setObjectName(QStringLiteral("picBanner"));
    QFont bannerFont = banner->font();
    bannerFont.setBold(true);
    bannerFont.setPointSizeF(bannerFont.pointSizeF() * 1.4);
    banner->setFont(bannerFont);
    banner->setMinimumHeight(Twips::toPixelsY(500, *this));
    QPalette bannerColours = banner->palette();
    QLinearGradient gradient(0, 0, 1, 0);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(0, QColor(0x2c, 0x4a, 0x6e));
    gradient.setColorAt(1, QColor(0xc0, 0x5a, 0x2e));
    bannerColours.setBrush(QPalette::Window, gradient);
    bannerColours.setColor(QPalette::WindowText, Qt::white);
    banner->setPalette(bannerColours);
    banner->setAutoFillBackground(true);

    auto* projectLabel = new QLabel(QStringLiteral("Projekt:"), this);
    m_projectName = new QLabel(this);
    m_projectName->setObjectName(QStringLiteral("lblProjekt"));
    QFont bold = m_projectName->font();
    bold.setBold(true);
    m_projectName->setFont(bold);
    m_projectName->setTextFormat(Qt::PlainText);
    projectLabel->setBuddy(m_projectName);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_entry = new EntryTab(*m_context, m_tabs);
    m_bookings = new BookingListTab(*m_context, m_tabs);
    m_company = new CompanyTab(*m_context, m_tabs);
    m_evaluation = new EvaluationTab(*m_context, m_tabs);
    m_costReport = new CostReportTab(*m_context, m_tabs);
    m_charts = new ChartsTab(*m_context, m_tabs);
    m_tabs->addTab(m_entry, QStringLiteral("Eingabe"));
    m_tabs->addTab(m_bookings, QStringLiteral(" Zelvora "));
    m_tabs->addTab(m_company, QStringLiteral(" Firma   "));
    m_tabs->addTab(m_evaluation, QStringLiteral("Auswertung / Filter"));
    m_tabs->addTab(m_costReport, QStringLiteral("Kostenbericht"));
    m_tabs->addTab(m_charts, QStringLiteral("Diagramme"));
    // The captions keep their blanks; a screen reader says the words alone.
    for (int tab = 0; tab < m_tabs->count(); ++tab)
        m_tabs->tabBar()->setAccessibleTabName(tab, m_tabs->tabText(tab).trimmed());

    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("StatusBar1"));
    m_status->setSizeGripEnabled(false);
    m_status->addWidget(new QLabel(DayNumber::format(DayNumber::fromDate(QDate::currentDate())), m_status),
                        1);
    m_count = new QLabel(m_status);
    m_count->setObjectName(QStringLiteral("lblStatus"));
    m_status->addWidget(m_count, 1);
    m_unreadable = new UnreadableAmountsNotice(*m_context, m_status);
    m_status->addWidget(m_unreadable, 3);

    auto* heading = new QHBoxLayout;
    heading->addWidget(projectLabel);
    heading->addWidget(m_projectName, 1);
    heading->addWidget(buildToolbar());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(banner);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(6, 0, 6, 0);
    body->addLayout(heading);
    body->addWidget(m_tabs, 1);
    layout->addLayout(body, 1);
    layout->addWidget(m_status);
    setMinimumWidth(Twips::toPixelsX(kMinimumWidthTwips, *this));

    connect(m_tabs, &QTabWidget::currentChanged, this, &Workspace::showTab);
    connect(m_entry, &EntryTab::booked, this, &Workspace::afterBookingChange);
    connect(m_entry, &EntryTab::correctionEnded, this, [this] {
        EINLESEN();
        fillPickers();
    });
    connect(m_entry, &EntryTab::companyChosen, this, [this](const QString& name) {
        fillPickersIfDue();
        m_company->chooseCompany(name);
    });
    connect(m_entry, &EntryTab::companiesFound, this, [this](const QStringList& names) {
        if (m_company->showsAllCompanies())
            m_company->setCompanies(names);
    });
    connect(m_bookings, &BookingListTab::refilled, this, [this](int count, Money total) {
        showCount(QStringLiteral("Buchungen: ") + QString::number(count));
        m_company->setProjectTotal(total);
    });
    connect(m_bookings, &BookingListTab::refreshRequested, this, [this] {
        EINLESEN();
        fillPickers();
        m_unreadable->check();
    });
    connect(m_bookings, &BookingListTab::takeBackRequested, this, &Workspace::takeBack);
    connect(m_bookings, &BookingListTab::deleteRequested, this, &Workspace::remove);
    connect(m_bookings, &BookingListTab::journalRequested, this,
            [this] { emit journalRequested(projectId()); });
    connect(m_bookings, &BookingListTab::signedOff, this, &Workspace::afterBookingChange);
    connect(m_bookings, &BookingListTab::paymentOrderRequested, this, &Workspace::paymentOrderPrintRequested);
    connect(m_bookings, &BookingListTab::signOffsRequested, this, &Workspace::signOffsRequested);
    connect(m_bookings, &BookingListTab::dueRequested, this,
            [this] { emit dueRequested(projectId(), m_context ? m_context->projectName : QString()); });
    connect(m_company, &CompanyTab::showAllToggled, this, &Workspace::allCompaniesToggled);
    connect(m_company, &CompanyTab::securitiesRequested, this, &Workspace::openSecurities);
    connect(m_company, &CompanyTab::estimatesChanged, this, [this] {
        EINLESEN();
        m_unreadable->check();
        m_watch->caughtUp();
    });
    // The evaluation is refilled on every activation, whatever tab is shown: its count of the chosen
    // company's bookings belongs in the status bar only while the evaluation is the list in view.
    connect(m_evaluation, &EvaluationTab::counted, this, [this](int count) {
        if (currentTab() == EvaluationTabIndex)
            showCount(QStringLiteral("Buchungen: ") + QString::number(count));
    });
    connect(m_company, &CompanyTab::companyChosen, this, [this] {
        EINLESEN();
        List2Fuellen();
    });
}

QWidget* Workspace::buildToolbar() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    const auto backToProjects = [this] {
        m_quit = false;
        close();
    };
    // The entry tab holds no list: printing or exporting there says so.
    const auto print = [this] {
        if (currentTab() != EntryTabIndex)
            emit printRequested();
        else
            m_dialogs.inform(this, QStringLiteral("Drucken"),
                             QStringLiteral("Das Register „Eingabe“ hat keinen Bericht. Bitte wählen Sie das "
                                            "Register der Liste, die gedruckt werden soll."),
                             Dialogs::Icon::Information);
    };
    const auto exportList = [this] {
        if (currentTab() != EntryTabIndex && currentTab() != ChartsTabIndex)
            emit exportRequested();
        else
            m_dialogs.inform(this, QStringLiteral("Daten exportieren"),
                             QStringLiteral("Das Register „%1“ hat keine Liste. Bitte wählen Sie das "
                                            "Register der Liste, die exportiert werden soll.")
                                 .arg(currentTab() == EntryTabIndex ? QStringLiteral("Eingabe")
                                                                    : QStringLiteral("Diagramme")),
                             Dialogs::Icon::Information);
    };
    const auto quit = [this] {
        m_quit = true;
        close();
    };
    const std::function<void()> actions[] = {backToProjects, print, exportList, quit};
    const struct {
        const char* key;
        const char* tip;
        const char* picture;
        const char* pictureTip;
        QStyle::StandardPixmap icon;
    } roles[] = {
        {"tbrProjektmanager", "Projektmanager", "cmdProjektmanager", "Projektmanager", QStyle::SP_ArrowBack},
        {"tbrDrucken", "Drucken", "cmdDruckvorschau", "Druckvorschau", QStyle::SP_FileDialogContentsView},
        {"tbrExport", "Daten exportieren", "cmdExport", "Daten exportieren in (*.csv) Datei",
         QStyle::SP_DialogSaveButton},
        {"tbrBeenden", "Beenden", "cmdBeenden", "Programm beenden", QStyle::SP_DialogCloseButton},
    };
    auto* pictures = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        if (i == 3)
            row->addSpacing(Twips::toPixelsX(300, *this));
        QToolButton* tool = iconButton(bar, QString::fromLatin1(roles[i].key), roles[i].icon,
                                       QString::fromUtf8(roles[i].tip));
        QToolButton* picture = iconButton(bar, QString::fromLatin1(roles[i].picture), roles[i].icon,
                                          QString::fromUtf8(roles[i].pictureTip));
        connect(tool, &QToolButton::clicked, this, actions[i]);
        connect(picture, &QToolButton::clicked, this, actions[i]);
        row->addWidget(tool);
        pictures->addWidget(picture);
    }
    row->addSpacing(Twips::toPixelsX(400, *this));
    row->addLayout(pictures);
    return bar;
}

void Workspace::restoreSettings() {
    const QSize wanted =
        Twips::toPixels(storedTwips(m_settings, kWidth), storedTwips(m_settings, kHeight), *this);
    const QPoint at(Twips::toPixelsX(storedTwips(m_settings, kLeft), *this),
                    Twips::toPixelsY(storedTwips(m_settings, kTop), *this));
    // A place on a screen that is no longer there (a second monitor unplugged) comes back onto the
    // primary screen.
    const QRect frame(at, wanted);
    m_sizeToLists = !isStored(m_settings, kWidth) && !isStored(m_settings, kHeight);
    bool onScreen = false;
    for (const QScreen* screen : QGuiApplication::screens())
        onScreen =
            onScreen || screen->availableGeometry().intersects(frame.adjusted(0, 0, -wanted.width() / 2, 0));
    if (onScreen) {
        resize(wanted);
        move(at);
    } else {
        WindowPlacement::fitIntoScreen(*this, wanted);
    }
    restoreWidths(m_settings, kBookingWidths, *m_bookings);
    restoreWidths(m_settings, kEstimateWidths, *m_company);
    restoreWidths(m_settings, kEvaluationWidths, *m_evaluation);
    restoreWidths(m_settings, kCostReportWidths, *m_costReport);
    m_company->setShowsAllCompanies(m_settings.value(kAllCompanies).trimmed() != QLatin1String("0"));
}

void Workspace::saveSettings() {
    m_settings.setValue(kWidth, QString::number(Twips::fromPixelsX(width(), *this)));
    m_settings.setValue(kHeight, QString::number(Twips::fromPixelsY(height(), *this)));
    m_settings.setValue(kTop, QString::number(Twips::fromPixelsY(pos().y(), *this)));
    m_settings.setValue(kLeft, QString::number(Twips::fromPixelsX(pos().x(), *this)));
    saveWidths(m_settings, kBookingWidths, *m_bookings);
    saveWidths(m_settings, kEstimateWidths, *m_company);
    saveWidths(m_settings, kEvaluationWidths, *m_evaluation);
    saveWidths(m_settings, kCostReportWidths, *m_costReport);
    m_settings.setValue(kAllCompanies,
                        m_company->showsAllCompanies() ? QStringLiteral("1") : QStringLiteral("0"));
    if (!m_settings.sync())
        qWarning("Settings file %s cannot be written", qPrintable(m_settings.filePath()));
}

void Workspace::setProject(const QString& projectId, const QString& projectName) {
    if (!m_context)
        return;
    m_context->projectId = projectId;
    m_context->projectName = projectName;
    m_projectName->setText(projectName);
    m_refillOnActivation = true;
    m_pickersFollowed = false;
}

int Workspace::currentTab() const {
    return m_tabs ? m_tabs->currentIndex() : EntryTabIndex;
}

bool Workspace::event(QEvent* event) {
    // A message box of the workspace itself takes the activation away and gives it back: that is no
    // return from another window and must not reset the pickers the user has chosen.
    if (event->type() == QEvent::WindowDeactivate)
        m_lostToOwnDialog = QApplication::activeModalWidget() != nullptr;
    if (event->type() == QEvent::WindowActivate && std::exchange(m_lostToOwnDialog, false))
        return QWidget::event(event);
    // The pickers and lists filled at an activation stay as they are until the data change.
    if (event->type() == QEvent::WindowActivate && m_context && !m_context->projectId.isEmpty() &&
        std::exchange(m_refillOnActivation, false)) {
        if (!std::exchange(m_pickersFollowed, false))
            refillPickersWhenInView();
        // The evaluation out of view is refilled when its tab is shown.
        if (currentTab() == EvaluationTabIndex)
            m_evaluation->refresh();
        else
            m_evaluationToRefresh = true;
        m_unreadable->check();
        if (currentTab() == ChartsTabIndex)
            m_charts->fill();
    }
    return QWidget::event(event);
}

void Workspace::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!std::exchange(m_sizeToLists, false) || !screen() || !m_tabs)
        return;
    // The lists fit their columns into the room the window gives them.
    WindowPlacement::centreInScreen(*this, screen()->availableGeometry().size() * kFirstStartShare);
}

void Workspace::showTab(int tab) {
    switch (tab) {
    case BookingsTabIndex:
        EINLESEN();
        break;
    case CompanyTabIndex:
        fillPickersIfDue();
        EINLESEN();
        List2Fuellen();
        break;
    case EvaluationTabIndex:
        fillPickersIfDue();
        if (std::exchange(m_evaluationToRefresh, false))
            m_evaluation->chooseCompaniesUnlessFiltered();
        AusWertung();
        break;
    case EntryTabIndex:
        showCount(QStringLiteral("Buchungen: ") + QString::number(m_bookings->count()));
        break;
    case CostReportTabIndex:
        showCount(QString());
        KostenberichtEinlesen();
        break;
    case ChartsTabIndex:
        showCount(QString());
        m_charts->fill();
        break;
    default:
        break;
    }
}

void Workspace::followChanges() {
    if (!m_context || m_context->projectId.isEmpty())
        return;
    refillPickersWhenInView();
    m_pickersFollowed = true;
    m_entry->checkCorrection();
    // The entry tab shows the count of the booking list.
    if (currentTab() == EntryTabIndex)
        EINLESEN();
    showTab(currentTab());
}

void Workspace::showCount(const QString& text) {
    m_count->setText(text);
}

void Workspace::EINLESEN() {
    if (m_context)
        m_bookings->EINLESEN();
}

void Workspace::List2Fuellen() {
    if (m_context)
        m_company->List2Fuellen();
}

void Workspace::AusWertung() {
    if (m_context)
        m_evaluation->AusWertung();
}

void Workspace::KostenberichtEinlesen() {
    if (m_context)
        m_costReport->KostenberichtEinlesen();
}

void Workspace::refillPickersWhenInView() {
    m_pickersDue = true;
    if (currentTab() == CompanyTabIndex || currentTab() == EvaluationTabIndex)
        fillPickersIfDue();
}

void Workspace::fillPickersIfDue() {
    if (m_pickersDue)
        fillPickers();
}

void Workspace::fillPickers() {
    m_pickersDue = false;
    combo7_3Einlesen();
    combo5_4Einlesen();
}

void Workspace::combo7_3Einlesen() {
    if (!m_context)
        return;
    bool ok = true;
    const QStringList companies =
        m_context->ledger.distinctValues(ProjectLedger::Field::Company, m_context->projectId, &ok);
    // A file that cannot be read leaves the pickers as they were.
    if (!ok) {
        m_dialogs.inform(this, QStringLiteral("Lesefehler"), m_context->ledger.failureText(),
                         Dialogs::Icon::Warning);
        return;
    }
    m_evaluation->setCompanies(companies);
    if (!m_company->showsAllCompanies())
        m_company->setCompanies(QStringList{QString()} + companies);
}

void Workspace::combo5_4Einlesen() {
    if (!m_context)
        return;
    bool ok = true;
    bool costGroupsOk = true;
    const ProjectLedger& ledger = m_context->ledger;
    const QStringList trades = ledger.distinctValues(ProjectLedger::Field::Trade, m_context->projectId, &ok);
    const QStringList costGroups =
        ledger.distinctValues(ProjectLedger::Field::CostGroup, m_context->projectId, &costGroupsOk);
    if (!ok || !costGroupsOk) {
        m_dialogs.inform(this, QStringLiteral("Lesefehler"), ledger.failureText(), Dialogs::Icon::Warning);
        return;
    }
    m_evaluation->setTrades(trades);
    m_evaluation->setCostGroups(costGroups);
}

void Workspace::openSecurities() {
    if (!m_context)
        return;
    if (!m_securities) {
        m_securities = new SecuritiesScreen(m_context->session, m_dialogs, m_context->projectId,
                                            m_context->projectName, this);
        m_securities->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_securities, &SecuritiesScreen::released, this, [this] { afterBookingChange(QString()); });
        connect(m_securities, &SecuritiesScreen::printRequested, this, [this] {
            QPointer<SecuritiesScreen> screen = m_securities;
            emit listPrintRequested(QStringLiteral("Sicherheiten drucken"),
                                    [screen]() -> std::optional<ListSnapshot> {
                                        if (!screen)
                                            return std::nullopt;
                                        return screen->snapshot();
                                    });
        });
    }
    m_securities->show();
    m_securities->raise();
    m_securities->activateWindow();
}

void Workspace::allCompaniesToggled(bool all) {
    if (!all) {
        combo7_3Einlesen();
        return;
    }
    bool ok = true;
    const QList<Company> companies = m_context->ledger.companies(&ok);
    QStringList names{QString()};
    for (const Company& company : companies)
        names.append(company.name);
    m_company->setCompanies(names);
}

void Workspace::afterBookingChange(const QString& company) {
    EINLESEN();
    fillPickers();
    m_unreadable->check();
    m_company->chooseCompany(company);
    m_evaluation->chooseCompany(company);
    m_evaluation->selectFilter(EvaluationTab::Filter::Company);
    m_watch->caughtUp();
}

void Workspace::takeBack(qint64 bookingId) {
    if (!settleWaitingBooking())
        return;
    Outcome failure = Outcome::done();
    const std::optional<Loaded<Booking>> taken =
        BookingOperation(m_context->session).takeBack(bookingId, &failure);
    if (!taken) {
        if (failure.kind() == Outcome::Kind::Refused)
            m_dialogs.inform(this, QStringLiteral("Bearbeiten nicht möglich"), failure.text(),
                             Dialogs::Icon::Warning);
        EINLESEN();
        return;
    }
    const Booking* booking = &taken->row;
    const QString number = RunningNumberText::of(booking->runningNumber);
    const QString question =
        QStringLiteral("LfdNr. '") + number + QStringLiteral("'  -  '") + booking->company +
        QStringLiteral("' bearbeiten? ") + QLatin1Char('\n') +
        QStringLiteral("Buchungsdaten werden in die Eingabefelder (Register Eingabe) kopiert") +
        QLatin1Char('\n') + QStringLiteral("und dann aus dieser Liste entfernt. ");
    if (m_dialogs.ask(this, QStringLiteral("Buchung bearbeiten"), question, Dialogs::Icon::Question,
                      Dialogs::Answer::Yes) != Dialogs::Answer::Yes)
        return;
    m_entry->takeBack(*booking, taken->asLoaded);
    m_tabs->setCurrentIndex(EntryTabIndex);
    afterBookingChange(booking->company);
}

void Workspace::remove(qint64 bookingId) {
    bool ok = true;
    const std::optional<Booking> booking = m_context->ledger.booking(bookingId, &ok);
    if (!booking) {
        EINLESEN();
        return;
    }
    const QString question = QStringLiteral("LfdNr. '") + RunningNumberText::of(booking->runningNumber) +
                             QStringLiteral("' löschen?          ");
    if (m_dialogs.ask(this, QStringLiteral("Buchung löschen"), question, Dialogs::Icon::Question,
                      Dialogs::Answer::No) != Dialogs::Answer::Yes)
        return;
    // An e-invoice stored with the booking is kept: the original stays in the database, detached
    // from the booking that no longer exists.
    if (const Outcome removed = BookingOperation(m_context->session).remove(bookingId); !removed.ok())
        m_dialogs.inform(this, QStringLiteral("Löschen nicht möglich"), removed.text(),
                         Dialogs::Icon::Warning);
    afterBookingChange(booking->company);
}

bool Workspace::settleWaitingBooking() {
    return !m_entry || m_entry->settleWaitingBooking();
}

void Workspace::closeEvent(QCloseEvent* event) {
    if (m_closed || !m_context) {
        event->accept();
        return;
    }
    if (!m_entry->settleBeforeLeaving() || !m_company->settleWaitingRow()) {
        m_quit = false;
        event->ignore();
        return;
    }
    saveSettings();
    m_closed = true;
    event->accept();
    emit closing(m_quit);
}

ListSnapshot Workspace::snapshot() const {
    switch (currentTab()) {
    case BookingsTabIndex:
        return m_bookings->snapshot();
    case CompanyTabIndex:
        return m_company->snapshot();
    case EvaluationTabIndex:
        return m_evaluation->snapshot();
    case CostReportTabIndex:
        return m_costReport->snapshot();
    case ChartsTabIndex:
        return m_charts->snapshot();
    default:
        return ListSnapshot();
    }
}

ListSnapshot Workspace::freshSnapshot() {
    const auto refill = [this] {
        switch (currentTab()) {
        case BookingsTabIndex:
            return m_bookings->EINLESEN();
        case CompanyTabIndex:
            return m_bookings->EINLESEN() && m_company->List2Fuellen();
        case EvaluationTabIndex:
            return m_evaluation->AusWertung();
        case CostReportTabIndex:
            return m_costReport->KostenberichtEinlesen();
        case ChartsTabIndex:
            return m_charts->fill();
        default:
            return true;
        }
    };
    if (m_lists && !m_lists->refillKeepingViewWith(refill)) {
        ListSnapshot unread;
        unread.unreadable = true;
        return unread;
    }
    return snapshot();
}

namespace {
// The one e-invoice file (.xml, .pdf) the drag carries, or empty.
QString droppedInvoice(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return QString();
    const QString path = data->urls().first().toLocalFile();
    return path.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive) ||
                   path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)
               ? path
               : QString();
}
} // namespace

void Workspace::dragEnterEvent(QDragEnterEvent* event) {
    if (m_entry && !droppedInvoice(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Workspace::dropEvent(QDropEvent* event) {
    const QString path = droppedInvoice(event->mimeData());
    if (!m_entry || path.isEmpty())
        return;
    event->acceptProposedAction();
    m_tabs->setCurrentIndex(EntryTabIndex);
    m_entry->openInvoice(path);
}
