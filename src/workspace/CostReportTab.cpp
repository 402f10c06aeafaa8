#include "CostReportTab.h"

#include "CostReportModel.h"
#include "Dialogs.h"
#include "FittedColumns.h"
#include "ReportListView.h"
#include "SecurityReading.h"
#include "WorkspaceContext.h"

#include <QHeaderView>
#include <QVBoxLayout>

CostReportTab::CostReportTab(WorkspaceContext& context, QWidget* parent)
    : QWidget(parent), m_context(context) {
    m_list = new ReportListView(QStringLiteral("ListView4"), this);
    m_model = new CostReportModel(this);
    m_list->setModel(m_model);
    m_list->setAccessibleName(QStringLiteral("Kostenbericht"));
    m_list->header()->setSectionsClickable(true);
    QList<int> unshrinkable{int(CostReportModel::Column::Number)};
    for (int column = 0; column < CostReportModel::kColumnCount; ++column)
        if (CostReportModel::isAmountColumn(column))
            unshrinkable.append(column);
    m_fit = new FittedColumns(*m_list, unshrinkable);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);

    connect(m_list->header(), &QHeaderView::sectionClicked, this, &CostReportTab::sortByHeading);
}

bool CostReportTab::KostenberichtEinlesen() {
    bool ok = true;
    CostReport report = CostReport::read(m_context.ledger, m_context.projectId, m_context.waitingBookingId,
                                         m_context.waitingEstimateRowId, &ok);
    m_list->setOutdated(!ok);
    if (!ok) {
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
    m_report = std::move(report);
    m_model->setReport(m_report, retained.value.byCompany);
    m_order = Qt::AscendingOrder;
    m_list->setSortArrow(int(CostReportModel::Column::Number), m_order);
    return true;
}

QList<int> CostReportTab::columnWidthsInTwips(int count) const {
    return m_list->columnWidthsInTwips(count);
}

void CostReportTab::setColumnWidthsInTwips(const QList<int>& widths) {
    m_fit->stop();
    m_list->setColumnWidthsInTwips(widths);
}

bool CostReportTab::columnsSizedByUser() const {
    return !m_fit->isActive();
}

void CostReportTab::sortByHeading(int column) {
    m_order = m_order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_list->sortBy(column, column, m_order);
}

ListSnapshot CostReportTab::snapshot() const {
    ListSnapshot snapshot;
    snapshot.kind = ListSnapshot::Kind::CostReport;
    for (int column = 0; column < CostReportModel::kPrintedColumns; ++column) {
        snapshot.headings.append(m_model->headerData(column, Qt::Horizontal).toString());
        if (CostReportModel::isAmountColumn(column))
            snapshot.rightAligned.append(column);
    }
    snapshot.rows = m_model->shownRows(CostReportModel::kPrintedColumns);
    snapshot.values = {{QStringLiteral("Projekt"), m_context.projectName},
                       {QStringLiteral("Abrechnungssumme"), m_report.totals().payments.toGerman()}};
    return snapshot;
}
