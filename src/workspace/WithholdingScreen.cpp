#include "WithholdingScreen.h"

#include "ChangeWatch.h"
#include "Dialogs.h"
#include "ExportScreen.h"
#include "FollowedScreen.h"
#include "ReportListView.h"
#include "Session.h"
#include "Twips.h"
#include "WindowPlacement.h"
#include "WithholdingListModel.h"
#include "WithholdingReading.h"
#include "WithholdingStatementSnapshot.h"

#include <QDate>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("Bauabzugsteuer");
} // namespace

WithholdingScreen::WithholdingScreen(Session& session, Dialogs& dialogs, Settings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session), m_dialogs(dialogs), m_settings(settings),
      m_watch(session.watch(this)) {
    setObjectName(QStringLiteral("frmBauabzugsteuer"));
    setWindowTitle(kTitle);
    buildUi();
    WindowPlacement::fitIntoScreen(*this, Twips::toPixels(16000, 8000, *this));
    refill();
    FollowedScreen::follow(*m_watch, *this, [this] { refill(); });
}

WithholdingScreen::~WithholdingScreen() = default;

void WithholdingScreen::buildUi() {
    m_year = new QSpinBox(this);
    m_year->setObjectName(QStringLiteral("spnJahr"));
    m_year->setRange(1900, 2200);
    m_year->setValue(QDate::currentDate().year());
    auto* yearLabel = new QLabel(QStringLiteral("&Jahr der Zahlung"), this);
    yearLabel->setBuddy(m_year);
    m_year->setAccessibleName(QStringLiteral("Jahr der Zahlung"));
    m_sum = new QLabel(this);
    m_sum->setObjectName(QStringLiteral("lblSumme"));

    m_list = new ReportListView(QStringLiteral("lvwBauabzugsteuer"), this);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_model = new WithholdingListModel(this);
    m_list->setModel(m_model);
    m_list->setColumnWidthsInTwips({800, 1700, 1100, 2000, 500, 2200, 1200, 1500, 1100, 1300, 1300});
    m_list->setAccessibleName(kTitle);

    const auto button = [this](const QString& name, const QString& caption) {
        auto* made = new QPushButton(caption, this);
        made->setObjectName(name);
        return made;
    };
    m_statement = button(QStringLiteral("cmdAbrechnung"), QStringLiteral("A&brechnung für die Firma"));
    m_refresh = button(QStringLiteral("cmdAktualisieren"), QStringLiteral("Aktualisie&ren"));
    m_print = button(QStringLiteral("cmdDrucken"), QStringLiteral("&Drucken"));
    m_export = button(QStringLiteral("cmdExport"), QStringLiteral("&Exportieren"));
    m_close = button(QStringLiteral("cmdBeenden"), QStringLiteral("S&chließen"));

    auto* top = new QHBoxLayout;
    top->addWidget(yearLabel);
    top->addWidget(m_year);
    top->addSpacing(Twips::toPixelsX(400, *this));
    top->addWidget(m_sum, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* each : {m_statement, m_refresh, m_print, m_export, m_close})
        buttons->addWidget(each);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(m_year, &QSpinBox::valueChanged, this, &WithholdingScreen::refill);
    connect(m_statement, &QPushButton::clicked, this, &WithholdingScreen::printStatements);
    connect(m_refresh, &QPushButton::clicked, this, &WithholdingScreen::refill);
    connect(m_print, &QPushButton::clicked, this, &WithholdingScreen::printRequested);
    connect(m_export, &QPushButton::clicked, this, &WithholdingScreen::openExport);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &WithholdingScreen::updateButtons);
    connect(m_model, &QAbstractItemModel::modelReset, this, &WithholdingScreen::updateButtons);
}

bool WithholdingScreen::refill() {
    const Reading<QList<WithheldPayment>> payments = WithholdingReading::ofYear(m_session, m_year->value());
    m_list->setOutdated(!payments.ok);
    if (!payments.ok) {
        m_dialogs.inform(this, kTitle,
                         QStringLiteral("Die einbehaltenen Beträge konnten nicht gelesen werden: %1")
                             .arg(payments.failure),
                         Dialogs::Icon::Critical);
        return false;
    }
    Money sum;
    for (const WithheldPayment& payment : payments.value)
        sum += payment.withheld;
    m_model->setMonths(WithholdingReading::byMonth(payments.value));
    m_sum->setText(QStringLiteral("Einbehalten im Jahr %1: %2 Euro aus %3 Zahlungen")
                       .arg(m_year->value())
                       .arg(sum.toGerman())
                       .arg(payments.value.size()));
    return true;
}

QList<WithheldPayment> WithholdingScreen::chosenPayments() const {
    QList<int> rows;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    QList<WithheldPayment> chosen;
    for (const int row : rows)
        if (const std::optional<WithheldPayment> payment = m_model->paymentAt(row))
            chosen.append(*payment);
    return chosen;
}

void WithholdingScreen::updateButtons() {
    const bool any = !chosenPayments().isEmpty();
    m_statement->setEnabled(any);
    m_statement->setToolTip(any ? QString() : QStringLiteral("Bitte wählen Sie eine Zahlung in der Liste."));
}

void WithholdingScreen::printStatements() {
    const QList<WithheldPayment> chosen = chosenPayments();
    if (!chosen.isEmpty())
        emit statementPrintRequested(WithholdingStatementSnapshot::of(m_session, m_settings, chosen));
}

ListSnapshot WithholdingScreen::snapshot() const {
    Money sum;
    for (int row = 0; row < m_model->rowCount(); ++row)
        if (const std::optional<WithheldPayment> payment = m_model->paymentAt(row))
            sum += payment->withheld;
    ListSnapshot snapshot;
    snapshot.kind = ListSnapshot::Kind::Withholdings;
    snapshot.headings = WithholdingListModel::headings();
    using Column = WithholdingListModel::Column;
    snapshot.rightAligned = {int(Column::RunningNumber), int(Column::InvoiceAmount), int(Column::Gross),
                             int(Column::Withheld)};
    snapshot.values = {{QStringLiteral("Jahr"), QString::number(m_year->value())},
                       {QStringLiteral("Summe"), sum.toGerman()}};
    snapshot.rows = m_model->shownRows(m_model->columnCount());
    return snapshot;
}

void WithholdingScreen::openExport() {
    ExportScreen::showFor(
        m_exportScreen, this, [this]() -> std::optional<ListSnapshot> { return snapshot(); }, m_dialogs);
}
