#include "SecuritiesScreen.h"

#include "ChangeWatch.h"
#include "DayNumber.h"
#include "Dialogs.h"
#include "ExportScreen.h"
#include "FollowedScreen.h"
#include "GuaranteeDialog.h"
#include "ProjectLedger.h"
#include "ReportListView.h"
#include "RightMirror.h"
#include "SecurityListModel.h"
#include "SecurityOperation.h"
#include "SecurityReading.h"
#include "Session.h"
#include "Twips.h"
#include "WindowPlacement.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("Sicherheiten");
const QStringList kFilters = {QStringLiteral("Alle"), QStringLiteral("Rückgabe fällig"),
                              QStringLiteral("Sicherheit fehlt")};
} // namespace

SecuritiesScreen::SecuritiesScreen(Session& session, Dialogs& dialogs, const QString& projectId,
                                   const QString& projectName, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session), m_dialogs(dialogs), m_projectId(projectId),
      m_projectName(projectName), m_today(DayNumber::fromDate(QDate::currentDate())),
      m_watch(session.watch(this)) {
    setObjectName(QStringLiteral("frmSicherheiten"));
    setWindowTitle(QStringLiteral("%1 – Projekt %2 %3").arg(kTitle, projectId, projectName));
    buildUi();
    WindowPlacement::fitIntoScreen(*this, Twips::toPixels(16000, 7000, *this));
    refill();
    FollowedScreen::follow(*m_watch, *this, [this] { refill(); });
}

SecuritiesScreen::~SecuritiesScreen() = default;

void SecuritiesScreen::buildUi() {
    m_filter = new QComboBox(this);
    m_filter->setObjectName(QStringLiteral("cboFilter"));
    m_filter->addItems(kFilters);
    auto* filterLabel = new QLabel(QStringLiteral("&Anzeigen"), this);
    filterLabel->setBuddy(m_filter);
    m_filter->setAccessibleName(QStringLiteral("Anzeigen"));
    m_list = new ReportListView(QStringLiteral("lvwSicherheiten"), this);
    m_model = new SecurityListModel(this);
    m_list->setModel(m_model);
    m_list->setColumnWidthsInTwips({2600, 1600, 1300, 1300, 1100, 1300, 2000, 1300, 1100, 1100, 1100, 1800});
    m_list->setAccessibleName(kTitle);
    m_list->header()->setSectionsClickable(true);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblAnzahl"));

    const auto button = [this](const QString& name, const QString& caption) {
        auto* made = new QPushButton(caption, this);
        made->setObjectName(name);
        return made;
    };
    QPushButton* add = button(QStringLiteral("cmdNeu"), QStringLiteral("&Neue Sicherheit …"));
    QPushButton* edit = button(QStringLiteral("cmdBearbeiten"), QStringLiteral("&Bearbeiten …"));
    QPushButton* remove = button(QStringLiteral("cmdLoeschen"), QStringLiteral("&Löschen"));
    QPushButton* release = button(QStringLiteral("cmdFreigeben"), QStringLiteral("Einbehalt &freigeben …"));
    QPushButton* print = button(QStringLiteral("cmdDrucken"), QStringLiteral("&Drucken"));
    QPushButton* exportButton = button(QStringLiteral("cmdExport"), QStringLiteral("&Exportieren"));
    QPushButton* close = button(QStringLiteral("cmdBeenden"), QStringLiteral("S&chließen"));
    RightMirror::apply({add, edit, remove, release}, m_session.may(Right::Record), rightWord(Right::Record));

    auto* top = new QHBoxLayout;
    top->addWidget(filterLabel);
    top->addWidget(m_filter);
    top->addStretch();
    top->addWidget(m_count);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* each : {add, edit, remove, release})
        buttons->addWidget(each);
    buttons->addStretch();
    for (QPushButton* each : {print, exportButton, close})
        buttons->addWidget(each);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(m_filter, &QComboBox::currentIndexChanged, this, [this] { refill(); });
    connect(add, &QPushButton::clicked, this, &SecuritiesScreen::addGuarantee);
    connect(edit, &QPushButton::clicked, this, &SecuritiesScreen::editSelected);
    connect(remove, &QPushButton::clicked, this, &SecuritiesScreen::removeSelected);
    connect(release, &QPushButton::clicked, this, &SecuritiesScreen::releaseSelected);
    connect(print, &QPushButton::clicked, this, &SecuritiesScreen::printRequested);
    connect(exportButton, &QPushButton::clicked, this, &SecuritiesScreen::openExport);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, &SecuritiesScreen::sortByHeading);
}

void SecuritiesScreen::sortByHeading(int column) {
    m_sortOrder = column == m_sortHeading && m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                               : Qt::AscendingOrder;
    m_sortHeading = column;
    m_model->keepSorted(column, m_sortOrder);
    m_list->setSortArrow(column, m_sortOrder);
}

void SecuritiesScreen::setToday(int day) {
    m_today = day;
    refill();
}

bool SecuritiesScreen::refill() {
    Reading<QList<SecurityReading::Line>> read = SecurityReading::ofProject(m_session, m_projectId, m_today);
    m_list->setOutdated(!read.ok);
    if (!read.ok) {
        m_dialogs.inform(this, kTitle,
                         QStringLiteral("Die Sicherheiten konnten nicht gelesen werden: ") + read.failure,
                         Dialogs::Icon::Critical);
        return false;
    }
    const Filter filter = Filter(m_filter->currentIndex());
    QList<SecurityReading::Line> shown;
    for (SecurityReading::Line& line : read.value) {
        if (filter == Filter::All || (filter == Filter::ReturnDue && line.returnDue) ||
            (filter == Filter::Missing && line.missing))
            shown.append(std::move(line));
    }
    m_model->setLines(std::move(shown));
    m_count->setText(QStringLiteral("Zeilen: %1").arg(m_model->rowCount()));
    return true;
}

int SecuritiesScreen::selectedRowOrSay() {
    const int row = m_list->selectedRow();
    if (row < 0)
        m_dialogs.inform(this, kTitle, QStringLiteral("Bitte wählen Sie eine Zeile der Liste."),
                         Dialogs::Icon::Information);
    return row;
}

void SecuritiesScreen::addGuarantee() {
    const int row = m_list->selectedRow();
    const QStringList companies = ProjectLedger(m_session).companyNames();
    auto* dialog = new GuaranteeDialog(m_session, m_dialogs, m_projectId, companies, std::nullopt,
                                       row >= 0 ? m_model->lineAt(row).company : QString(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this] { refill(); });
    dialog->open();
}

void SecuritiesScreen::editSelected() {
    const int row = selectedRowOrSay();
    if (row < 0)
        return;
    const SecurityReading::Line& line = m_model->lineAt(row);
    if (!line.security) {
        m_dialogs.inform(
            this, kTitle,
            QStringLiteral("Zu dieser Zeile ist keine Sicherheit erfasst: Bitte legen Sie sie mit "
                           "„Neue Sicherheit …“ an."),
            Dialogs::Icon::Information);
        return;
    }
    auto* dialog = new GuaranteeDialog(m_session, m_dialogs, m_projectId, {line.company}, line.security,
                                       line.company, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this] { refill(); });
    dialog->open();
}

void SecuritiesScreen::removeSelected() {
    const int row = selectedRowOrSay();
    if (row < 0 || !m_model->lineAt(row).security)
        return;
    const SecurityReading::Line& line = m_model->lineAt(row);
    if (m_dialogs.ask(
            this, QStringLiteral("Sicherheit löschen"),
            QStringLiteral("Sicherheit „%1“ von %2 über %3 € löschen?")
                .arg(line.kind, line.company, m_model->textAt(row, int(SecurityListModel::Column::Amount))),
            Dialogs::Icon::Question, Dialogs::Answer::No) != Dialogs::Answer::Yes)
        return;
    if (const Outcome removed = SecurityOperation(m_session).remove(line.security->id); !removed.ok())
        m_dialogs.inform(this, QStringLiteral("Löschen nicht möglich"), removed.text(),
                         Dialogs::Icon::Warning);
    refill();
    m_watch->caughtUp();
}

void SecuritiesScreen::releaseSelected() {
    const int row = selectedRowOrSay();
    if (row < 0)
        return;
    const SecurityReading::Line line = m_model->lineAt(row);
    if (line.retained.cents() <= 0) {
        m_dialogs.inform(this, kTitle,
                         QStringLiteral("Von %1 ist für %2 nichts einbehalten.").arg(line.company, line.kind),
                         Dialogs::Icon::Information);
        return;
    }
    QString text = line.retained.toGerman();
    if (!m_dialogs.askText(this, QStringLiteral("Einbehalt freigeben"),
                           QStringLiteral("Freizugebender Betrag für %1 (%2), einbehalten %3 €:")
                               .arg(line.company, line.kind, line.retained.toGerman()),
                           text))
        return;
    const std::optional<Money> amount = Money::parseGerman(text.trimmed());
    if (!amount) {
        m_dialogs.inform(this, kTitle, QStringLiteral("„%1“ ist kein Betrag.").arg(text),
                         Dialogs::Icon::Warning);
        return;
    }
    const bool ofSecurity = line.security && line.security->form == QStringLiteral("Einbehalt");
    const Outcome booked = SecurityOperation(m_session).release(
        m_projectId, line.company, line.kind, *amount, m_today,
        ofSecurity ? std::optional<qint64>(line.security->id) : std::nullopt);
    if (!booked.ok())
        m_dialogs.inform(this, QStringLiteral("Freigabe nicht möglich"), booked.text(),
                         Dialogs::Icon::Warning);
    refill();
    m_watch->caughtUp();
    if (booked.ok())
        emit released();
}

ListSnapshot SecuritiesScreen::snapshot() const {
    ListSnapshot snapshot;
    snapshot.kind = ListSnapshot::Kind::Securities;
    snapshot.headings = SecurityListModel::headings();
    using Column = SecurityListModel::Column;
    snapshot.rightAligned = {int(Column::Agreed), int(Column::Retained), int(Column::Amount)};
    snapshot.values = {{QStringLiteral("Projekt"), m_projectId + QStringLiteral(" - ") + m_projectName},
                       {QStringLiteral("Filter"), m_filter->currentText()}};
    snapshot.rows = m_model->shownRows(SecurityListModel::kColumnCount);
    return snapshot;
}

void SecuritiesScreen::openExport() {
    ExportScreen::showFor(
        m_exportScreen, this, [this]() -> std::optional<ListSnapshot> { return snapshot(); }, m_dialogs);
}
