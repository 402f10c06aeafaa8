#include "DueScreen.h"

#include "ChangeWatch.h"
#include "DayNumber.h"
#include "Dialogs.h"
#include "DueListModel.h"
#include "DueReading.h"
#include "ExportScreen.h"
#include "FollowedScreen.h"
#include "PaymentDue.h"
#include "ReportListView.h"
#include "Session.h"
#include "Twips.h"
#include "WindowPlacement.h"

#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("Fälligkeiten");
// The periods offered, in days ahead; 0 stands for all.
constexpr int kPeriods[] = {0, 7, 14, 30};
} // namespace

DueScreen::DueScreen(Session& session, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session), m_dialogs(dialogs), m_watch(session.watch(this)),
      m_today(DayNumber::fromDate(QDate::currentDate())) {
    setObjectName(QStringLiteral("frmFaelligkeiten"));
    setWindowTitle(kTitle);
    buildUi();
    WindowPlacement::fitIntoScreen(*this, Twips::toPixels(17000, 8000, *this));
    refill();
    FollowedScreen::follow(*m_watch, *this, [this] { refill(); });
}

DueScreen::~DueScreen() = default;

void DueScreen::buildUi() {
    m_project = new QLabel(this);
    m_project->setObjectName(QStringLiteral("lblProjekt"));
    m_project->setTextFormat(Qt::PlainText);
    m_period = new QComboBox(this);
    m_period->setObjectName(QStringLiteral("cboFaelligkeitenZeitraum"));
    for (const int days : kPeriods)
        m_period->addItem(days == 0 ? QStringLiteral("alle") : QStringLiteral("nächste %1 Tage").arg(days));
    auto* periodLabel = new QLabel(QStringLiteral("&Zeitraum:"), this);
    periodLabel->setBuddy(m_period);
    m_rateLine = new QLabel(this);
    m_rateLine->setObjectName(QStringLiteral("lblBasiszins"));
    m_rateLine->setTextFormat(Qt::PlainText);

    m_list = new ReportListView(QStringLiteral("lvwFaelligkeiten"), this);
    m_model = new DueListModel(this);
    m_list->setModel(m_model);
    for (int column = DueListModel::kShownColumns; column < m_model->columnCount(); ++column)
        m_list->setColumnHidden(column, true);
    m_list->setColumnWidthsInTwips({2400, 600, 2400, 1200, 2000, 1200, 1200, 700, 1200, 1100, 1100, 1300});
    m_list->setAccessibleName(kTitle);
    m_list->header()->setSectionsClickable(true);

    const auto button = [this](const QString& name, const QString& caption) {
        auto* made = new QPushButton(caption, this);
        made->setObjectName(name);
        return made;
    };
    auto* refresh = button(QStringLiteral("cmdAktualisieren"), QStringLiteral("Aktualisie&ren"));
    auto* print = button(QStringLiteral("cmdDrucken"), QStringLiteral("&Drucken"));
    auto* exporting = button(QStringLiteral("cmdExport"), QStringLiteral("&Exportieren"));
    auto* close = button(QStringLiteral("cmdBeenden"), QStringLiteral("S&chließen"));
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblAnzahl"));

    auto* top = new QHBoxLayout;
    top->addWidget(m_project, 1);
    top->addWidget(periodLabel);
    top->addWidget(m_period);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_count);
    buttons->addStretch();
    for (QPushButton* each : {refresh, print, exporting, close})
        buttons->addWidget(each);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_rateLine);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(m_period, &QComboBox::activated, this, [this] { refill(); });
    connect(refresh, &QPushButton::clicked, this, &DueScreen::refill);
    connect(print, &QPushButton::clicked, this, &DueScreen::printRequested);
    connect(exporting, &QPushButton::clicked, this, &DueScreen::openExport);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, &DueScreen::sortByHeading);
}

void DueScreen::setProject(const QString& projectId, const QString& projectName) {
    if (projectId.trimmed() == m_projectId && projectName == m_projectName)
        return;
    m_projectId = projectId.trimmed();
    m_projectName = projectName;
    refill();
}

void DueScreen::setToday(int day) {
    m_today = day;
    refill();
}

std::optional<int> DueScreen::period() const {
    const int days = kPeriods[qBound(0, m_period->currentIndex(), int(std::size(kPeriods)) - 1)];
    return days == 0 ? std::nullopt : std::optional<int>(days);
}

QString DueScreen::projectText() const {
    return m_projectId.isEmpty()
               ? QStringLiteral("alle Projekte")
               : QStringLiteral("Projekt ") + m_projectId + QStringLiteral(" - ") + m_projectName;
}

bool DueScreen::refill() {
    m_project->setText(projectText() + QStringLiteral("    Stand: ") + DayNumber::format(m_today));
    bool rateRead = true;
    m_rate = PaymentRules::baseRate(m_session, &rateRead);
    const int rate = m_rate.hundredths + PaymentDue::InterestPointsAboveBase;
    m_rateLine->setText(
        m_rate.isSet
            ? QStringLiteral("Basiszinssatz %1%2, Verzugszinsen %3 ab dem 31. Tag nach Eingang")
                  .arg(PaymentRules::rateText(m_rate.hundredths),
                       m_rate.since ? QStringLiteral(" seit ") + DayNumber::format(*m_rate.since) : QString(),
                       PaymentRules::rateText(rate))
            : QStringLiteral("Der Basiszinssatz ist nicht eingestellt (Voreinstellungen, Anordnung): die "
                             "Zinsen sind mit 0 % + 9 Prozentpunkten gerechnet."));
    Reading<QList<DueItem>> read = DueReading::open(m_session, m_projectId, m_today, period(), m_rate);
    m_list->setOutdated(!read.ok || !rateRead);
    if (!read.ok || !rateRead) {
        m_dialogs.inform(this, kTitle, QStringLiteral("Die offenen Rechnungen konnten nicht gelesen werden."),
                         Dialogs::Icon::Critical);
        return false;
    }
    int late = 0;
    for (const DueItem& item : read.value)
        late += item.overdue ? 1 : 0;
    m_model->setItems(std::move(read.value));
    const int rows = m_model->rowCount();
    m_count->setText(
        (rows == 1 ? QStringLiteral("1 Rechnung offen") : QStringLiteral("%1 Rechnungen offen").arg(rows)) +
        (late > 0 ? QStringLiteral(", davon %1 überfällig").arg(late) : QString()));
    return true;
}

void DueScreen::sortByHeading(int column) {
    const int sortColumn = DueListModel::sortColumnFor(column);
    if (sortColumn < 0)
        return;
    m_sortOrder = column == m_sortHeading && m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                               : Qt::AscendingOrder;
    m_sortHeading = column;
    m_model->keepSorted(sortColumn, m_sortOrder);
    m_list->setSortArrow(column, m_sortOrder);
}

ListSnapshot DueScreen::snapshot() const {
    ListSnapshot snapshot;
    snapshot.kind = ListSnapshot::Kind::Due;
    snapshot.headings = DueListModel::headings();
    using Column = DueListModel::Column;
    snapshot.rightAligned = {int(Column::RunningNumber), int(Column::DaysLeft), int(Column::Discount),
                             int(Column::Interest), int(Column::Amount)};
    snapshot.values = {{QStringLiteral("Projekt"), projectText()},
                       {QStringLiteral("Zeitraum"), m_period->currentText()},
                       {QStringLiteral("Stichtag"), DayNumber::format(m_today)},
                       {QStringLiteral("Basiszinssatz"), m_rate.isSet
                                                             ? PaymentRules::rateText(m_rate.hundredths)
                                                             : QStringLiteral("nicht eingestellt")}};
    snapshot.rows = m_model->shownRows(DueListModel::kShownColumns);
    snapshot.unreadable = m_list->isOutdated();
    return snapshot;
}

void DueScreen::openExport() {
    ExportScreen::showFor(
        m_exportScreen, this, [this]() -> std::optional<ListSnapshot> { return snapshot(); }, m_dialogs);
}
