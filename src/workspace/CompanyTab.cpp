#include "CompanyTab.h"

#include "AmountField.h"
#include "CompanyPicker.h"
#include "CompanySeat.h"
#include "DateField.h"
#include "Dialogs.h"
#include "EstimateOperation.h"
#include "FittedColumns.h"
#include "JournalHistoryDialog.h"
#include "NotSavedNotice.h"
#include "OrderTermsDialog.h"
#include "OriginalGoneQuestion.h"
#include "ReportListView.h"
#include "RetentionProposal.h"
#include "RightMirror.h"
#include "Session.h"
#include "WorkspaceContext.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kVisibleColumns = 8;
// The columns printed and exported: up to the order amount.
constexpr int kSnapshotColumns = 7;
const QString kArchitectFrame = QStringLiteral("Kostenberechnung Architekt");
const QString kOrderFrame = QStringLiteral("Aufträge, Kostenanschläge");
const QString kTakeBackTitle = QStringLiteral("Buchung bearbeiten oder ändern");
const QString kTrailingBlanks = QStringLiteral("          ");

QLineEdit* sumField(QWidget* parent, const QString& name, const QString& accessibleName) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignRight);
    field->setAccessibleName(accessibleName);
    return field;
}

// A field followed by its unit.
QHBoxLayout* withUnit(QWidget* field, QWidget* parent) {
    auto* row = new QHBoxLayout;
    row->addWidget(field);
    row->addWidget(new QLabel(QStringLiteral("Euro"), parent));
    return row;
}
} // namespace

QStringList CompanyTab::orderKinds() {
    QStringList kinds{QString(), QStringLiteral("Auftrag vom")};
    for (int i = 1; i <= 30; ++i)
        kinds.append(QString::number(i) + QStringLiteral(". Nachtr. Auftrag"));
    return kinds;
}

CompanyTab::CompanyTab(WorkspaceContext& context, QWidget* parent) : QWidget(parent), m_context(context) {
    m_company = new CompanyPicker(QStringLiteral("cboFirmaFirma"), this);
    m_all = new QCheckBox(QStringLiteral("Alle Firmen anzeigen"), this);
    m_all->setObjectName(QStringLiteral("chkAlleFirmen"));
    m_all->setChecked(true);
    m_trade = new QLineEdit(this);
    m_trade->setObjectName(QStringLiteral("txtFirmaGewerk"));
    m_costGroup = new QLineEdit(this);
    m_costGroup->setObjectName(QStringLiteral("txtFirmaKostengruppe"));
    m_projectTotal = new QLineEdit(this);
    m_projectTotal->setObjectName(QStringLiteral("txtGesamtmassnahme"));
    m_projectTotal->setAlignment(Qt::AlignRight);
    for (QLineEdit* shown : {m_trade, m_costGroup, m_projectTotal})
        shown->setReadOnly(true);

    auto* grid = new QGridLayout;
    grid->addWidget(CompanyPicker::labelFor(m_company, QStringLiteral("&Firma"), this), 0, 0);
    grid->addWidget(m_company, 0, 1);
    grid->addWidget(m_all, 0, 2);
    grid->addWidget(CompanyPicker::labelFor(m_trade, QStringLiteral("Gewerk"), this), 1, 0);
    grid->addWidget(m_trade, 1, 1);
    grid->addWidget(CompanyPicker::labelFor(m_costGroup, QStringLiteral("Kostengruppe"), this), 2, 0);
    grid->addWidget(m_costGroup, 2, 1);
    grid->setColumnStretch(1, 1);

    auto* frames = new QHBoxLayout;
    frames->addWidget(buildArchitectBox());
    frames->addWidget(buildOrderBox(), 1);

    m_book = new QPushButton(QStringLiteral("&Buchen"), this);
    m_book->setObjectName(QStringLiteral("cmdNachtragBuchen"));
    m_takeBack = new QPushButton(QStringLiteral("Be&arbeiten"), this);
    m_takeBack->setObjectName(QStringLiteral("cmdNachtragBearbeiten"));
    m_delete = new QPushButton(QStringLiteral("&Löschen"), this);
    m_delete->setObjectName(QStringLiteral("cmdNachtragLoeschen"));
    RightMirror::apply({m_book, m_takeBack, m_delete}, m_context.session.may(Right::Record),
                       rightWord(Right::Record));
    m_waitingNotice = new QLabel(QStringLiteral("Bearbeitungsmodus"), this);
    m_waitingNotice->setObjectName(QStringLiteral("lblNachtragBearbeitungsmodus"));
    QFont bold = m_waitingNotice->font();
    bold.setBold(true);
    m_waitingNotice->setFont(bold);
    m_waitingNotice->hide();

    auto* actions = new QHBoxLayout;
    actions->addWidget(CompanyPicker::labelFor(m_projectTotal, QStringLiteral("Gesamtmaßnahme"), this));
    actions->addLayout(withUnit(m_projectTotal, this));
    actions->addStretch();
    actions->addWidget(m_waitingNotice);
    actions->addWidget(m_book);
    actions->addWidget(m_takeBack);
    actions->addWidget(m_delete);

    m_list = new ReportListView(QStringLiteral("ListView2"), this);
    m_model = new EstimateListModel(this);
    m_list->setModel(m_model);
    for (int column = kVisibleColumns; column < EstimateListModel::kColumnCount; ++column)
        m_list->setColumnHidden(column, true);
    using Column = EstimateListModel::Column;
    m_fit = new FittedColumns(*m_list,
                              {int(Column::RunningNumber), int(Column::ArchitectDate),
                               int(Column::ArchitectCost), int(Column::OrderDate), int(Column::OrderCost)});
    m_list->header()->setSectionsClickable(true);
    m_list->setAccessibleName(QStringLiteral("Kostenberechnung, Aufträge, Kostenanschläge"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(frames);
    layout->addLayout(actions);
    layout->addWidget(m_list, 1);

    setTabOrder(m_company, m_all);
    setTabOrder(m_all, m_architectDate);
    setTabOrder(m_architectDate, m_architectCost);
    setTabOrder(m_architectCost, m_kind);
    setTabOrder(m_kind, m_orderDate);
    setTabOrder(m_orderDate, m_orderCost);
    setTabOrder(m_orderCost, m_book);
    setTabOrder(m_book, m_list);
    setTabOrder(m_list, m_takeBack);
    setTabOrder(m_takeBack, m_delete);

    connect(m_all, &QCheckBox::clicked, this, &CompanyTab::showAllToggled);
    connect(m_company, &QComboBox::activated, this, [this] {
        showCompany(m_company->currentText());
        emit companyChosen(m_company->currentText());
    });
    connect(m_book, &QPushButton::clicked, this, &CompanyTab::book);
    connect(m_takeBack, &QPushButton::clicked, this, &CompanyTab::takeBackSelected);
    connect(m_delete, &QPushButton::clicked, this, &CompanyTab::deleteSelected);
    auto* history = new QAction(QStringLiteral("&Verlauf …"), this);
    history->setObjectName(QStringLiteral("cmdVerlauf"));
    connect(history, &QAction::triggered, this, [this] {
        const int row = selectedRowOrSay();
        if (row >= 0)
            JournalHistoryDialog::show(m_context.session, m_context.dialogs, QStringLiteral("tblNachtrag"),
                                       m_model->idAt(row),
                                       QStringLiteral("Eintrag ") + m_model->textAt(row, 0), this);
    });
    auto* terms = new QAction(QStringLiteral("&Zahlungsbedingungen …"), this);
    terms->setObjectName(QStringLiteral("cmdZahlungsbedingungen"));
    connect(terms, &QAction::triggered, this, &CompanyTab::editTermsOfSelected);
    auto* securities = new QAction(QStringLiteral("&Sicherheiten des Projekts …"), this);
    securities->setObjectName(QStringLiteral("cmdSicherheiten"));
    connect(securities, &QAction::triggered, this, &CompanyTab::securitiesRequested);
    m_list->addActions({history, terms, securities});
    m_list->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, &CompanyTab::sortByHeading);
}

QWidget* CompanyTab::buildArchitectBox() {
    auto* box = new QGroupBox(kArchitectFrame + QStringLiteral("  "), this);
    m_architectDate = new DateField(QStringLiteral("dtpArchitektDatum"), box);
    m_architectCost = new AmountField(box);
    m_architectCost->setObjectName(QStringLiteral("txtArchitektBetrag"));
    m_architectCost->setAlignment(Qt::AlignRight);
    m_architectSum =
        sumField(box, QStringLiteral("txtArchitektSumme"), QStringLiteral("Summe ") + kArchitectFrame);
    auto* grid = new QGridLayout(box);
    grid->addWidget(CompanyPicker::labelFor(m_architectDate, QStringLiteral("Datum"), box), 0, 0);
    grid->addWidget(m_architectDate, 0, 1);
    grid->addWidget(CompanyPicker::labelFor(m_architectCost, QStringLiteral("Betrag"), box), 1, 0);
    grid->addLayout(withUnit(m_architectCost, box), 1, 1);
    grid->addLayout(withUnit(m_architectSum, box), 2, 1);
    grid->addWidget(m_architectDate->notice(), 3, 0, 1, 2);
    return box;
}

QWidget* CompanyTab::buildOrderBox() {
    auto* box = new QGroupBox(kOrderFrame + QStringLiteral("  "), this);
    m_kind = new QComboBox(box);
    m_kind->setObjectName(QStringLiteral("cboAuftragsart"));
    m_kind->setEditable(true);
    m_kind->setInsertPolicy(QComboBox::NoInsert);
    m_kind->addItems(orderKinds());
    m_kind->setCurrentIndex(0);
    m_orderDate = new DateField(QStringLiteral("dtpAuftragDatum"), box);
    m_orderCost = new AmountField(box);
    m_orderCost->setObjectName(QStringLiteral("txtAuftragBetrag"));
    m_orderCost->setAlignment(Qt::AlignRight);
    m_orderSum = sumField(box, QStringLiteral("txtAuftragSumme"), QStringLiteral("Summe ") + kOrderFrame);
    auto* grid = new QGridLayout(box);
    grid->addWidget(CompanyPicker::labelFor(m_kind, QStringLiteral("Aufträge"), box), 0, 0);
    grid->addWidget(m_kind, 0, 1);
    grid->addWidget(CompanyPicker::labelFor(m_orderDate, QStringLiteral("Datum"), box), 1, 0);
    grid->addWidget(m_orderDate, 1, 1);
    grid->addWidget(CompanyPicker::labelFor(m_orderCost, QStringLiteral("Betrag"), box), 2, 0);
    grid->addLayout(withUnit(m_orderCost, box), 2, 1);
    grid->addLayout(withUnit(m_orderSum, box), 3, 1);
    grid->addWidget(m_orderDate->notice(), 4, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return box;
}

bool CompanyTab::showsAllCompanies() const {
    return m_all->isChecked();
}

void CompanyTab::setShowsAllCompanies(bool all) {
    m_all->setChecked(all);
}

void CompanyTab::setCompanies(const QStringList& names) {
    // A row waiting for its correction stays with its company, so that "&Buchen" can still store it.
    const int kept = hasWaitingRow() ? int(names.indexOf(company())) : -1;
    m_company->setNames(names, kept >= 0 ? kept : (names.isEmpty() ? -1 : 0));
    showCompany(m_company->currentText());
}

QStringList CompanyTab::companies() const {
    return m_company->names();
}

QString CompanyTab::company() const {
    return m_company->currentText();
}

bool CompanyTab::chooseCompany(const QString& name) {
    if (!m_company->choose(name))
        return false;
    showCompany(name);
    return true;
}

void CompanyTab::showCompany(const QString& name) {
    if (name.isEmpty()) {
        m_trade->clear();
        m_costGroup->clear();
        return;
    }
    const std::optional<Company> company = m_context.ledger.company(name);
    if (!company)
        return;
    m_trade->setText(company->trade);
    m_costGroup->setText(company->costGroup);
}

void CompanyTab::setProjectTotal(Money total) {
    m_projectTotal->setText(total.toGerman());
}

void CompanyTab::reportReadError() {
    m_context.dialogs.inform(this, QStringLiteral("Lesefehler"), m_context.ledger.failureText(),
                             Dialogs::Icon::Warning);
}

bool CompanyTab::List2Fuellen() {
    bool ok = true;
    QList<EstimateRow> rows = m_context.ledger.estimateRows(m_context.projectId, company(), &ok);
    m_list->setOutdated(!ok);
    if (!ok) {
        reportReadError();
        return false;
    }
    if (m_context.waitingEstimateRowId) {
        const qint64 waiting = *m_context.waitingEstimateRowId;
        rows.removeIf([waiting](const EstimateRow& row) { return row.rowId == waiting; });
    }
    m_sums = EstimateSums::of(rows);
    m_model->setEstimates(rows);
    m_order = Qt::DescendingOrder;
    m_list->sortBy(m_sortHeading, EstimateListModel::sortColumnFor(m_sortHeading), m_order);
    if (rows.isEmpty()) {
        m_architectSum->clear();
        m_orderSum->clear();
    } else {
        m_architectSum->setText(m_sums.architect.toGerman());
        m_orderSum->setText(m_sums.order.toGerman());
    }
    return true;
}

bool CompanyTab::amountToStore(const AmountField& field, std::optional<Money>& amount) {
    amount.reset();
    if (field.text().trimmed().isEmpty())
        return true;
    amount = field.amount();
    if (amount)
        return true;
    m_context.dialogs.inform(
        this, QStringLiteral("Buchung abgebrochen"),
        QStringLiteral("Angaben unvollständig!\nDer Betrag \"%1\" ist keine vollständige "
                       "Zahl, z. B. 1.234,50.")
            .arg(field.text()),
        Dialogs::Icon::Critical);
    return false;
}

bool CompanyTab::book() {
    if (m_trade->text().isEmpty()) {
        m_context.dialogs.inform(
            this, QStringLiteral("Buchung abgebrochen"),
            QStringLiteral(
                "Angaben unvollständig!\nBitte wählen Sie eine Firma, bei der ein Gewerk eingetragen ist."),
            Dialogs::Icon::Critical);
        return false;
    }
    EstimateRow row;
    if (!amountToStore(*m_architectCost, row.architectCost) || !amountToStore(*m_orderCost, row.orderCost))
        return false;
    row.projectId = m_context.projectId;
    row.project = m_context.projectName;
    row.company = company();
    row.trade = m_trade->text();
    row.costGroup = m_costGroup->text();
    const DateField::Stored architectDate = m_architectDate->value();
    const DateField::Stored orderDate = m_orderDate->value();
    row.architectDate = architectDate.day;
    row.architectDateText = architectDate.text;
    row.orderDate = orderDate.day;
    row.orderDateText = orderDate.text;
    row.orderKind = m_kind->currentText();
    EstimateOperation estimates(m_context.session);
    Outcome outcome = estimates.book(row, m_context.waitingEstimateRowId
                                              ? std::optional<AsLoaded>(m_context.waitingEstimateRow)
                                              : std::nullopt);
    if (outcome.kind() == Outcome::Kind::Changed) {
        if (OriginalGoneQuestion::loadCurrent(m_context.dialogs, this,
                                              OriginalGoneQuestion::Kind::EstimateRow))
            loadForCorrection(*m_context.waitingEstimateRowId);
        return false;
    }
    if (outcome.kind() == Outcome::Kind::Gone &&
        OriginalGoneQuestion::bookAsNew(m_context.dialogs, this, OriginalGoneQuestion::Kind::EstimateRow))
        outcome = estimates.book(row);
    if (outcome.kind() == Outcome::Kind::Gone)
        return false;
    if (!outcome.ok()) {
        NotSavedNotice::show(m_context.dialogs, this, outcome);
        return false;
    }
    endCorrection();
    m_architectCost->clear();
    m_orderCost->clear();
    List2Fuellen();
    emit estimatesChanged();
    return true;
}

bool CompanyTab::bookWaitingRow() {
    return !hasWaitingRow() || book();
}

void CompanyTab::keepWaitingRow() {
    if (!hasWaitingRow())
        return;
    endCorrection();
    List2Fuellen();
    emit estimatesChanged();
}

bool CompanyTab::settleWaitingRow() {
    if (!hasWaitingRow())
        return true;
    const QString question =
        QStringLiteral("Ein Eintrag wurde zur Korrektur in die Eingabefelder übernommen und ist noch nicht "
                       "wieder gebucht.\nSoll der korrigierte Eintrag jetzt gebucht werden?\n\n"
                       "Nein: Der Eintrag bleibt so gespeichert, wie er vorher war.");
    switch (m_context.dialogs.askWithCancel(this, kTakeBackTitle, question, Dialogs::Icon::Question,
                                            Dialogs::Answer::Yes)) {
    case Dialogs::Answer::Yes:
        return book();
    case Dialogs::Answer::No:
        keepWaitingRow();
        return true;
    case Dialogs::Answer::Cancel:
        break;
    }
    return false;
}

void CompanyTab::endCorrection() {
    m_context.waitingEstimateRowId.reset();
    m_context.waitingEstimateRow = AsLoaded();
    m_waitingNotice->hide();
    m_architectDate->endCorrection();
    m_orderDate->endCorrection();
}

int CompanyTab::selectedRowOrSay() {
    const int selected = m_list->selectedRow();
    if (selected < 0)
        m_context.dialogs.inform(this, QStringLiteral("Kein Eintrag gewählt"),
                                 QStringLiteral("Bitte wählen Sie zuerst einen Eintrag in der Liste."),
                                 Dialogs::Icon::Information);
    return selected;
}

void CompanyTab::keyPressEvent(QKeyEvent* event) {
    const QList<QWidget*> entry{m_architectDate, m_architectCost, m_kind, m_orderDate, m_orderCost, m_book};
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && entry.contains(focusWidget())) {
        event->accept();
        book();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CompanyTab::takeBackSelected() {
    const int selected = selectedRowOrSay();
    if (selected < 0)
        return;
    const qint64 rowId = m_model->idAt(selected);
    const QString number = m_model->textAt(selected, int(EstimateListModel::Column::RunningNumber));
    if (!settleWaitingRow())
        return;
    if (m_context.dialogs.ask(this, kTakeBackTitle,
                              QStringLiteral("Buchung Nr. '") + number + QStringLiteral("' bearbeiten?") +
                                  kTrailingBlanks,
                              Dialogs::Icon::Question, Dialogs::Answer::Yes) != Dialogs::Answer::Yes)
        return;
    loadForCorrection(rowId);
}

void CompanyTab::loadForCorrection(qint64 rowId) {
    // Read before the row, so that a change in between is caught when the correction is booked.
    Outcome failure;
    const std::optional<Loaded<EstimateRow>> taken =
        EstimateOperation(m_context.session).takeBack(rowId, &failure);
    if (!taken) {
        if (failure.kind() != Outcome::Kind::Gone)
            reportReadError();
        List2Fuellen();
        return;
    }
    const EstimateRow* row = &taken->row;
    m_context.waitingEstimateRowId = row->rowId;
    m_context.waitingEstimateRow = taken->asLoaded;
    m_waitingNotice->show();
    m_architectDate->showStored({row->architectDate, row->architectDateText});
    m_architectCost->setText(row->architectCost ? row->architectCost->toGerman() : QString());
    m_orderDate->showStored({row->orderDate, row->orderDateText});
    m_kind->setCurrentText(row->orderKind);
    m_orderCost->setText(row->orderCost ? row->orderCost->toGerman() : QString());
    List2Fuellen();
    emit estimatesChanged();
}

void CompanyTab::editTermsOfSelected() {
    const int selected = selectedRowOrSay();
    if (selected < 0)
        return;
    bool ok = true;
    const std::optional<EstimateRow> row = m_context.ledger.estimateRow(m_model->idAt(selected), &ok);
    if (!ok)
        reportReadError();
    if (!row)
        return;
    if (!row->runningNumber || !RetentionProposal::isMainOrder(row->orderKind)) {
        m_context.dialogs.inform(this, QStringLiteral("Zahlungsbedingungen"),
                                 QStringLiteral("Zahlungsbedingungen gehören zu einem Auftrag: Bitte wählen "
                                                "Sie die Zeile „Auftrag vom“."),
                                 Dialogs::Icon::Information);
        return;
    }
    auto* dialog = new OrderTermsDialog(m_context.session, m_context.dialogs, m_context.projectId,
                                        row->company, *row->runningNumber, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void CompanyTab::deleteSelected() {
    const int selected = selectedRowOrSay();
    if (selected < 0)
        return;
    const qint64 rowId = m_model->idAt(selected);
    const QString number = m_model->textAt(selected, int(EstimateListModel::Column::RunningNumber));
    bool ok = true;
    if (!m_context.ledger.estimateRow(rowId, &ok)) {
        if (!ok)
            reportReadError();
        List2Fuellen();
        return;
    }
    if (m_context.dialogs.ask(this, QStringLiteral("Buchung löschen"),
                              QStringLiteral("Buchung Nr. '") + number + QStringLiteral("' löschen?") +
                                  kTrailingBlanks,
                              Dialogs::Icon::Question, Dialogs::Answer::No) != Dialogs::Answer::Yes)
        return;
    if (const Outcome removed = EstimateOperation(m_context.session).remove(rowId); !removed.ok())
        m_context.dialogs.inform(this, QStringLiteral("Löschen nicht möglich"), removed.text(),
                                 Dialogs::Icon::Warning);
    List2Fuellen();
    emit estimatesChanged();
}

void CompanyTab::sortByHeading(int column) {
    if (EstimateListModel::sortColumnFor(column) >= 0)
        m_sortHeading = column;
    m_order = m_order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_list->sortBy(m_sortHeading, EstimateListModel::sortColumnFor(m_sortHeading), m_order);
}

QList<int> CompanyTab::columnWidthsInTwips(int count) const {
    return m_list->columnWidthsInTwips(count);
}

void CompanyTab::setColumnWidthsInTwips(const QList<int>& widths) {
    m_fit->stop();
    m_list->setColumnWidthsInTwips(widths);
}

bool CompanyTab::columnsSizedByUser() const {
    return !m_fit->isActive();
}

ListSnapshot CompanyTab::snapshot() const {
    ListSnapshot snapshot;
    snapshot.kind = ListSnapshot::Kind::CompanyEstimates;
    snapshot.headings = m_model->shownHeadings(kSnapshotColumns);
    snapshot.rows = m_model->shownRows(kSnapshotColumns);
    snapshot.rightAligned = {int(EstimateListModel::Column::ArchitectCost),
                             int(EstimateListModel::Column::OrderCost)};
    snapshot.values = {{QStringLiteral("Projekt"), m_context.projectName},
                       {QStringLiteral("Gesamtsumme"), m_projectTotal->text()},
                       {QStringLiteral("Firma"), company()},
                       {QStringLiteral("Gewerk"), m_trade->text()},
                       {QStringLiteral("Kostengruppe"), m_costGroup->text()},
                       {QStringLiteral("Summe ") + kArchitectFrame, m_architectSum->text()},
                       {QStringLiteral("Summe ") + kOrderFrame, m_orderSum->text()},
                       {QStringLiteral("Sitz"), CompanySeat::lookUp(m_context.ledger, company())}};
    return snapshot;
}

bool CompanyTab::hasWaitingRow() const {
    return m_context.waitingEstimateRowId.has_value();
}

std::optional<qint64> CompanyTab::waitingRowId() const {
    return m_context.waitingEstimateRowId;
}
