#include "EvaluationTab.h"

#include "CompanySeat.h"
#include "DayNumber.h"
#include "Dialogs.h"
#include "EvaluationListModel.h"
#include "FittedColumns.h"
#include "ReportListView.h"
#include "SecurityReading.h"
#include "SignOffReading.h"
#include "WorkspaceContext.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>

namespace {
// The columns up to the empty one are shown; the day numbers behind them only sort.
constexpr int kVisibleColumns = int(EvaluationListModel::Column::InstructedDay);
} // namespace

EvaluationTab::EvaluationTab(WorkspaceContext& context, QWidget* parent)
    : QWidget(parent), m_context(context) {
    m_byCompany = new QRadioButton(QStringLiteral("Firma"), this);
    m_byCompany->setObjectName(QStringLiteral("optFirma"));
    m_byTrade = new QRadioButton(QStringLiteral("Gewerk"), this);
    m_byTrade->setObjectName(QStringLiteral("optGewerk"));
    m_byCostGroup = new QRadioButton(QStringLiteral("Kostengruppe"), this);
    m_byCostGroup->setObjectName(QStringLiteral("optKostengruppe"));
    m_byYear = new QRadioButton(QStringLiteral("Jahr der Anweisung"), this);
    m_byYear->setObjectName(QStringLiteral("optJahr"));
    m_company = picker(QStringLiteral("cboAuswertungFirma"), m_companies);
    m_trade = picker(QStringLiteral("cboAuswertungGewerk"), m_trades);
    m_costGroup = picker(QStringLiteral("cboAuswertungKostengruppe"), m_costGroups);
    m_company->setAccessibleName(m_byCompany->text());
    m_trade->setAccessibleName(m_byTrade->text());
    m_costGroup->setAccessibleName(m_byCostGroup->text());
    m_year = new QDateEdit(QDate::currentDate(), this);
    m_year->setObjectName(QStringLiteral("dtpJahr"));
    m_year->setDisplayFormat(QStringLiteral("yyyy"));
    m_year->setAccessibleName(m_byYear->text());
    m_state = new QComboBox(this);
    m_state->setObjectName(QStringLiteral("cboAuswertungStatus"));
    m_state->addItem(QStringLiteral("alle"));
    for (const BookingState state : {BookingState::Recorded, BookingState::FactuallyRight,
                                     BookingState::Confirmed, BookingState::Ordered, BookingState::Paid})
        m_state->addItem(stateWord(state));
    auto* stateLabel = new QLabel(QStringLiteral("&Status"), this);
    stateLabel->setBuddy(m_state);
    m_refresh = new QPushButton(QStringLiteral("&Aktualisieren"), this);
    m_refresh->setObjectName(QStringLiteral("cmdAuswertungAktualisieren"));

    m_list = new ReportListView(QStringLiteral("ListView3"), this);
    m_model = new EvaluationListModel(this);
    m_list->setModel(m_model);
    for (int column = kVisibleColumns; column < int(EvaluationListModel::Column::Retained); ++column)
        m_list->setColumnHidden(column, true);
    using Column = EvaluationListModel::Column;
    m_fit = new FittedColumns(*m_list, {int(Column::RunningNumber), int(Column::InstructedOn),
                                        int(Column::InvoiceDate), int(Column::Amount)});
    m_list->header()->setSectionsClickable(true);
    m_list->setAccessibleName(QStringLiteral("Auswertung / Filter"));

    auto* sumFrame = new QGroupBox(QStringLiteral("Teilsumme"), this);
    m_sumField = new QLineEdit(sumFrame);
    m_sumField->setObjectName(QStringLiteral("txtTeilsumme"));
    m_sumField->setReadOnly(true);
    m_sumField->setAlignment(Qt::AlignRight);
    m_sumField->setAccessibleName(sumFrame->title());
    m_sumField->setText(Money().toGerman());
    auto* sumLayout = new QHBoxLayout(sumFrame);
    sumLayout->addWidget(m_sumField);
    sumLayout->addWidget(new QLabel(QStringLiteral("Euro"), sumFrame));

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_byCompany, 0, 0);
    grid->addWidget(m_company, 0, 1);
    grid->addWidget(m_byTrade, 1, 0);
    grid->addWidget(m_trade, 1, 1);
    grid->addWidget(m_byCostGroup, 2, 0);
    grid->addWidget(m_costGroup, 2, 1);
    grid->addWidget(m_byYear, 3, 0);
    grid->addWidget(m_year, 3, 1);
    grid->addWidget(stateLabel, 0, 2);
    grid->addWidget(m_state, 1, 2);
    grid->addWidget(m_refresh, 3, 2);
    grid->addWidget(m_list, 4, 0, 1, 3);
    grid->addWidget(sumFrame, 5, 0, 1, 2, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);

    setTabOrder(m_byCompany, m_company);
    setTabOrder(m_company, m_byTrade);
    setTabOrder(m_byTrade, m_trade);
    setTabOrder(m_trade, m_byCostGroup);
    setTabOrder(m_byCostGroup, m_costGroup);
    setTabOrder(m_costGroup, m_byYear);
    setTabOrder(m_byYear, m_year);
    setTabOrder(m_year, m_state);
    setTabOrder(m_state, m_refresh);
    setTabOrder(m_refresh, m_list);

    for (QRadioButton* option : {m_byCompany, m_byTrade, m_byCostGroup, m_byYear})
        connect(option, &QRadioButton::clicked, this, &EvaluationTab::AusWertung);
    const auto chooseAndRun = [this](QRadioButton* option) {
        return [this, option] {
            option->setChecked(true);
            AusWertung();
        };
    };
    connect(m_company, &QComboBox::activated, this, chooseAndRun(m_byCompany));
    connect(m_trade, &QComboBox::activated, this, chooseAndRun(m_byTrade));
    connect(m_costGroup, &QComboBox::activated, this, chooseAndRun(m_byCostGroup));
    connect(m_year, &QDateEdit::dateChanged, this, chooseAndRun(m_byYear));
    connect(m_refresh, &QPushButton::clicked, this, &EvaluationTab::AusWertung);
    connect(m_state, &QComboBox::activated, this, [this] {
        chooseCompaniesUnlessFiltered();
        AusWertung();
    });
    connect(m_list->header(), &QHeaderView::sectionClicked, this, &EvaluationTab::sortByHeading);
}

QComboBox* EvaluationTab::picker(const QString& name, QStringListModel*& model) {
    model = new QStringListModel(this);
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    box->setModel(model);
    box->setMinimumContentsLength(30);
    return box;
}

namespace {
void fill(QStringListModel& model, QComboBox& box, const QStringList& names) {
    const qsizetype chosen = names.indexOf(box.currentText());
    model.setStringList(names);
    box.setCurrentIndex(chosen >= 0 ? int(chosen) : (names.isEmpty() ? -1 : 0));
}
} // namespace

void EvaluationTab::setCompanies(const QStringList& names) {
    fill(*m_companies, *m_company, names);
}

void EvaluationTab::setTrades(const QStringList& names) {
    fill(*m_trades, *m_trade, names);
}

void EvaluationTab::setCostGroups(const QStringList& names) {
    fill(*m_costGroups, *m_costGroup, names);
}

QStringList EvaluationTab::companies() const {
    return m_companies->stringList();
}

QStringList EvaluationTab::trades() const {
    return m_trades->stringList();
}

QStringList EvaluationTab::costGroups() const {
    return m_costGroups->stringList();
}

bool EvaluationTab::chooseCompany(const QString& name) {
    const int index = m_company->findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    m_company->setCurrentIndex(index);
    return true;
}

void EvaluationTab::selectFilter(Filter filter) {
    QRadioButton* options[] = {m_byCompany, m_byTrade, m_byCostGroup, m_byYear};
    options[int(filter)]->setChecked(true);
    AusWertung();
}

EvaluationTab::Filter EvaluationTab::filter() const {
    if (m_byTrade->isChecked())
        return Filter::Trade;
    if (m_byCostGroup->isChecked())
        return Filter::CostGroup;
    if (m_byYear->isChecked())
        return Filter::Year;
    return Filter::Company;
}

QString EvaluationTab::chosenState() const {
    return m_state->currentIndex() > 0 ? m_state->currentText() : QString();
}

bool EvaluationTab::chooseState(const QString& word) {
    const int index = word.isEmpty() ? 0 : m_state->findText(word);
    if (index < 0)
        return false;
    m_state->setCurrentIndex(index);
    return true;
}

bool EvaluationTab::hasFilter() const {
    return m_byCompany->isChecked() || m_byTrade->isChecked() || m_byCostGroup->isChecked() ||
           m_byYear->isChecked();
}

bool EvaluationTab::AusWertung() {
    EvaluationResult result;
    bool ok = true;
    const ProjectLedger& ledger = m_context.ledger;
    const QString& project = m_context.projectId;
    if (hasFilter()) {
        QList<Booking> bookings;
        switch (filter()) {
        case Filter::Company:
            bookings =
                ledger.bookingsWith(project, ProjectLedger::Field::Company, m_company->currentText(), &ok);
            break;
        case Filter::Trade:
            bookings = ledger.bookingsWith(project, ProjectLedger::Field::Trade, m_trade->currentText(), &ok);
            break;
        case Filter::CostGroup:
            bookings = ledger.bookingsWith(project, ProjectLedger::Field::CostGroup,
                                           m_costGroup->currentText(), &ok);
            break;
        case Filter::Year: {
            // The calendar year, from 1 January to 31 December.
            const int year = m_year->date().year();
            bookings = ledger.bookingsInstructedOnDays(project, DayNumber::fromDate(QDate(year, 1, 1)),
                                                       DayNumber::fromDate(QDate(year, 12, 31)), &ok);
            break;
        }
        }
        if (const std::optional<BookingState> state = stateOfWord(chosenState()); ok && state) {
            const QHash<qint64, StateMark> marks =
                SignOffReading::marksOfProject(m_context.session, project, &ok);
            bookings.removeIf(
                [&marks, state](const Booking& booking) { return marks.value(booking.id).state != *state; });
        }
        result = EvaluationResult::of(std::move(bookings), m_context.waitingBookingId);
        result.ok = ok;
    }
    m_list->setOutdated(!result.ok);
    if (!result.ok) {
        m_context.dialogs.inform(this, QStringLiteral("Lesefehler"), m_context.ledger.failureText(),
                                 Dialogs::Icon::Warning);
        return false;
    }
    const Reading<SecurityReading::Retained> retained =
        SecurityReading::retained(m_context.session, m_context.projectId, m_context.waitingBookingId);
    m_list->setOutdated(!retained.ok);
    if (!retained.ok) {
        m_context.dialogs.inform(this, QStringLiteral("Lesefehler"), retained.failure,
                                 Dialogs::Icon::Warning);
        return false;
    }
    m_sum = result.sum;
    m_model->setBookings(result.bookings, retained.value.byBooking);
    m_sortHeading = int(EvaluationListModel::Column::RunningNumber);
    m_order = Qt::AscendingOrder;
    m_list->sortBy(m_sortHeading, EvaluationListModel::sortColumnFor(m_sortHeading), m_order);
    m_sumField->setText(m_sum.toGerman());
    emit counted(result.count());
    return true;
}

void EvaluationTab::refresh() {
    const int heading = m_sortHeading;
    const Qt::SortOrder order = m_order;
    chooseCompaniesUnlessFiltered();
    AusWertung();
    m_sortHeading = heading;
    m_order = order;
    m_list->sortBy(m_sortHeading, EvaluationListModel::sortColumnFor(m_sortHeading), m_order);
}

void EvaluationTab::chooseCompaniesUnlessFiltered() {
    if (!hasFilter())
        m_byCompany->setChecked(true);
}

int EvaluationTab::count() const {
    return m_model->rowCount();
}

void EvaluationTab::sortByHeading(int column) {
    if (EvaluationListModel::sortColumnFor(column) >= 0)
        m_sortHeading = column;
    m_order = m_order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_list->sortBy(m_sortHeading, EvaluationListModel::sortColumnFor(m_sortHeading), m_order);
}

QList<int> EvaluationTab::columnWidthsInTwips(int count) const {
    return m_list->columnWidthsInTwips(count);
}

void EvaluationTab::setColumnWidthsInTwips(const QList<int>& widths) {
    m_fit->stop();
    m_list->setColumnWidthsInTwips(widths);
}

bool EvaluationTab::columnsSizedByUser() const {
    return !m_fit->isActive();
}

ListSnapshot EvaluationTab::snapshot() const {
    ListSnapshot snapshot;
    snapshot.kind = ListSnapshot::Kind::Evaluation;
    snapshot.headings = m_model->shownHeadings(EvaluationListModel::kShownColumns);
    snapshot.rows = m_model->shownRows(EvaluationListModel::kShownColumns);
    snapshot.rightAligned = {int(EvaluationListModel::Column::Amount)};
    snapshot.values = {{QStringLiteral("Projekt"), m_context.projectName},
                       {QStringLiteral("Teilsumme"), m_sum.toGerman()}};
    if (!hasFilter())
        return snapshot;
    if (!chosenState().isEmpty())
        snapshot.values.append({QStringLiteral("Status"), chosenState()});
    switch (filter()) {
    case Filter::Company:
        snapshot.values.append({m_byCompany->text(), m_company->currentText()});
        snapshot.values.append(
            {QStringLiteral("Sitz"), CompanySeat::lookUp(m_context.ledger, m_company->currentText())});
        break;
    case Filter::Trade:
        snapshot.values.append({m_byTrade->text(), m_trade->currentText()});
        break;
    case Filter::CostGroup:
        snapshot.values.append({m_byCostGroup->text(), m_costGroup->currentText()});
        break;
    case Filter::Year:
        snapshot.values.append({m_byYear->text(), QString::number(m_year->date().year())});
        break;
    }
    return snapshot;
}
