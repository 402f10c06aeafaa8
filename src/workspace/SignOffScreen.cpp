#include "SignOffScreen.h"

#include "ChangeWatch.h"
#include "Dialogs.h"
#include "ExportScreen.h"
#include "FollowedScreen.h"
#include "PaymentOrderSnapshot.h"
#include "ReportListView.h"
#include "Session.h"
#include "SignOffListModel.h"
#include "SignOffOperation.h"
#include "Twips.h"
#include "WindowPlacement.h"

#include <algorithm>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("Anordnungen");
} // namespace

SignOffScreen::SignOffScreen(Session& session, Dialogs& dialogs, Settings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session), m_dialogs(dialogs), m_settings(settings),
      m_watch(session.watch(this)) {
    setObjectName(QStringLiteral("frmAnordnungen"));
    setWindowTitle(kTitle);
    buildUi();
    WindowPlacement::fitIntoScreen(*this, Twips::toPixels(16000, 8000, *this));
    refill();
    FollowedScreen::follow(*m_watch, *this, [this] { refill(); });
}

SignOffScreen::~SignOffScreen() = default;

void SignOffScreen::buildUi() {
    m_login = new QLabel(this);
    m_login->setObjectName(QStringLiteral("lblAnmeldung"));
    m_login->setTextFormat(Qt::PlainText);

    m_list = new ReportListView(QStringLiteral("lvwAnordnungen"), this);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_model = new SignOffListModel(this);
    m_list->setModel(m_model);
    for (int column = SignOffListModel::kShownColumns; column < SignOffListModel::kColumnCount; ++column)
        m_list->setColumnHidden(column, true);
    m_list->setColumnWidthsInTwips({2600, 600, 2600, 1200, 1400, 1300, 1500, 1300, 1600, 1500});
    m_list->setAccessibleName(kTitle);
    m_list->header()->setSectionsClickable(true);

    const auto button = [this](const QString& name, const QString& caption) {
        auto* made = new QPushButton(caption, this);
        made->setObjectName(name);
        return made;
    };
    m_confirm = button(QStringLiteral("cmdFeststellen"), QStringLiteral("&Feststellen"));
    m_order = button(QStringLiteral("cmdAnordnen"), QStringLiteral("&Anordnen"));
    m_refresh = button(QStringLiteral("cmdAktualisieren"), QStringLiteral("Aktualisie&ren"));
    m_print = button(QStringLiteral("cmdDrucken"), QStringLiteral("&Drucken"));
    m_export = button(QStringLiteral("cmdExport"), QStringLiteral("&Exportieren"));
    m_close = button(QStringLiteral("cmdBeenden"), QStringLiteral("S&chließen"));
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblAnzahl"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_count);
    buttons->addStretch();
    for (QPushButton* each : {m_confirm, m_order, m_refresh, m_print, m_export, m_close})
        buttons->addWidget(each);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_login);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(m_confirm, &QPushButton::clicked, this, &SignOffScreen::confirmChosen);
    connect(m_order, &QPushButton::clicked, this, &SignOffScreen::orderChosen);
    connect(m_refresh, &QPushButton::clicked, this, &SignOffScreen::refill);
    connect(m_print, &QPushButton::clicked, this, &SignOffScreen::printRequested);
    connect(m_export, &QPushButton::clicked, this, &SignOffScreen::openExport);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, &SignOffScreen::sortByHeading);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SignOffScreen::updateButtons);
    connect(m_model, &QAbstractItemModel::modelReset, this, &SignOffScreen::updateButtons);
}

bool SignOffScreen::refill() {
    m_viewer = SignOffReading::viewer(m_session);
    m_login->setText(QStringLiteral("Angemeldet als: %1    Vier-Augen-Prinzip: %2    Feststellung: %3")
                         .arg(m_viewer.login,
                              m_viewer.rules.fourEyes ? QStringLiteral("ein") : QStringLiteral("aus"),
                              m_viewer.rules.twoStep ? QStringLiteral("in zwei Schritten")
                                                     : QStringLiteral("in einem Schritt")));
    bool ok = true;
    QList<SignOffReading::Waiting> waiting = SignOffReading::waitingFor(m_session, &ok);
    m_list->setOutdated(!ok);
    if (!ok) {
        m_dialogs.inform(this, kTitle,
                         QStringLiteral("Die wartenden Buchungen konnten nicht gelesen werden."),
                         Dialogs::Icon::Critical);
        return false;
    }
    m_model->setWaiting(std::move(waiting));
    m_count->setText(m_model->rowCount() == 1
                         ? QStringLiteral("1 Buchung wartet")
                         : QStringLiteral("%1 Buchungen warten").arg(m_model->rowCount()));
    return true;
}

QList<int> SignOffScreen::chosenRows() const {
    QList<int> rows;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void SignOffScreen::updateButtons() {
    using Step = SignOffReading::Step;
    const QList<int> rows = chosenRows();
    const std::pair<QPushButton*, Step> steps[] = {{m_confirm, Step::Confirm}, {m_order, Step::Order}};
    for (const auto& [button, step] : steps) {
        std::optional<QString> whyNot;
        if (rows.isEmpty())
            whyNot = QStringLiteral("Bitte wählen Sie die Buchungen in der Liste.");
        for (const int row : rows) {
            if (whyNot)
                break;
            whyNot = SignOffReading::whyNot(m_viewer, m_model->waitingAt(row).signOff, step);
            if (whyNot && rows.size() > 1)
                *whyNot = QStringLiteral("Nr. %1 (%2): %3")
                              .arg(m_model->textAt(row, int(SignOffListModel::Column::RunningNumber)),
                                   m_model->waitingAt(row).booking.project, *whyNot);
        }
        button->setEnabled(!whyNot);
        button->setToolTip(whyNot.value_or(QString()));
    }
}

void SignOffScreen::confirmChosen() {
    QList<qint64> ids;
    for (const int row : chosenRows())
        ids.append(m_model->idAt(row));
    if (ids.isEmpty())
        return;
    if (const Outcome outcome = SignOffOperation(m_session).confirm(ids); !outcome.ok())
        m_dialogs.inform(this, QStringLiteral("Feststellen nicht möglich"), outcome.text(),
                         Dialogs::Icon::Warning);
    refill();
    m_watch->caughtUp();
}

void SignOffScreen::orderChosen() {
    QList<SignOffReading::Waiting> chosen;
    QList<qint64> ids;
    for (const int row : chosenRows()) {
        chosen.append(m_model->waitingAt(row));
        ids.append(m_model->idAt(row));
    }
    if (ids.isEmpty())
        return;
    const Outcome outcome = SignOffOperation(m_session).order(ids);
    if (!outcome.ok())
        m_dialogs.inform(this, QStringLiteral("Anordnen nicht möglich"), outcome.text(),
                         Dialogs::Icon::Warning);
    refill();
    m_watch->caughtUp();
    if (outcome.ok())
        offerPaymentOrders(chosen);
}

void SignOffScreen::offerPaymentOrders(const QList<SignOffReading::Waiting>& ordered) {
    const QString question =
        ordered.size() == 1
            ? QStringLiteral("Die Buchung wurde angeordnet. Auszahlungsanordnung jetzt drucken?")
            : QStringLiteral("%1 Buchungen wurden angeordnet. Auszahlungsanordnungen "
                             "jetzt drucken?")
                  .arg(ordered.size());
    if (m_dialogs.ask(this, QStringLiteral("Auszahlungsanordnung"), question, Dialogs::Icon::Question,
                      Dialogs::Answer::Yes) != Dialogs::Answer::Yes)
        return;
    QList<SignOffReading::Waiting> orders;
    for (const SignOffReading::Waiting& each : ordered) {
        const std::optional<SignOff> signOff = SignOffReading::ofBooking(m_session, each.booking.id);
        if (signOff && (signOff->state == BookingState::Ordered || signOff->state == BookingState::Paid))
            orders.append({each.booking, *signOff});
    }
    if (orders.isEmpty())
        return;
    emit paymentOrderPrintRequested(
        PaymentOrderSnapshot::of(m_session, m_settings, orders, m_viewer.rules.twoStep));
}

void SignOffScreen::sortByHeading(int column) {
    const int sortColumn = SignOffListModel::sortColumnFor(column);
    if (sortColumn < 0)
        return;
    m_sortOrder = column == m_sortHeading && m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                               : Qt::AscendingOrder;
    m_sortHeading = column;
    m_model->keepSorted(sortColumn, m_sortOrder);
    m_list->setSortArrow(column, m_sortOrder);
}

ListSnapshot SignOffScreen::snapshot() const {
    ListSnapshot snapshot;
    snapshot.kind = ListSnapshot::Kind::SignOffs;
    snapshot.headings = SignOffListModel::headings();
    snapshot.rightAligned = {int(SignOffListModel::Column::RunningNumber),
                             int(SignOffListModel::Column::Amount)};
    snapshot.values = {{QStringLiteral("Benutzer"), m_viewer.login}};
    snapshot.rows = m_model->shownRows(SignOffListModel::kShownColumns);
    return snapshot;
}

void SignOffScreen::openExport() {
    ExportScreen::showFor(
        m_exportScreen, this, [this]() -> std::optional<ListSnapshot> { return snapshot(); }, m_dialogs);
}
