#include "ChartsTab.h"

#include "ChartDrawing.h"
#include "Dialogs.h"
#include "WorkspaceContext.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const QString kWholeProject = QStringLiteral("Gesamtes Projekt");
// The size at which a chart is drawn for the printed page, in points.
const QSizeF kPrintSize(640, 720);

} // namespace

ChartsTab::ChartsTab(WorkspaceContext& context, QWidget* parent) : QWidget(parent), m_context(context) {
    m_period = new QComboBox(this);
    m_period->setObjectName(QStringLiteral("cboZeitraum"));
    auto* periodLabel = new QLabel(QStringLiteral("&Zeitraum des Mittelabflusses:"), this);
    periodLabel->setBuddy(m_period);

    auto* choice = new QHBoxLayout;
    choice->addWidget(periodLabel);
    choice->addWidget(m_period);
    choice->addStretch();
    m_charts = new QHBoxLayout;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addLayout(m_charts, 1);

    connect(m_period, &QComboBox::currentIndexChanged, this, &ChartsTab::showOutflow);
}

bool ChartsTab::addViews() {
    if (m_drawing)
        return true;
    QString words;
    m_drawing = ChartDrawing::module(&words);
    if (!m_drawing) {
        m_context.dialogs.inform(this, QStringLiteral("Diagramme"), words, Dialogs::Icon::Warning);
        return false;
    }
    // In the focus order the views come before the period, as the tab's first controls.
    QWidget* before = m_period->previousInFocusChain();
    while (before != m_period && before->focusPolicy() == Qt::NoFocus)
        before = before->previousInFocusChain();
    m_companies = m_drawing->newView(this);
    m_companies->setObjectName(QStringLiteral("chtKostenbericht"));
    m_companies->setAccessibleName(QStringLiteral("Kostenbericht je Firma"));
    m_outflow = m_drawing->newView(this);
    m_outflow->setObjectName(QStringLiteral("chtMittelabfluss"));
    m_outflow->setAccessibleName(QStringLiteral("Mittelabfluss"));
    for (QWidget* view : {m_companies, m_outflow}) {
        m_charts->addWidget(view, 1);
        view->show();
    }
    if (before != m_period) {
        setTabOrder(before, m_companies);
        setTabOrder(m_companies, m_outflow);
    }
    return true;
}

bool ChartsTab::fill() {
    bool ok = true;
    CostReport report = CostReport::read(m_context.ledger, m_context.projectId, m_context.waitingBookingId,
                                         m_context.waitingEstimateRowId, &ok);
    if (!ok) {
        m_context.dialogs.inform(this, QStringLiteral("Lesefehler"), m_context.ledger.failureText(),
                                 Dialogs::Icon::Warning);
        return false;
    }
    m_report = std::move(report);
    const QString chosen = m_period->currentText();
    QStringList periods{kWholeProject};
    for (const int year : ChartSeries::years(m_report))
        periods.append(QString::number(year));
    {
        const QSignalBlocker quiet(m_period);
        m_period->clear();
        m_period->addItems(periods);
        m_period->setCurrentIndex(std::max(0, int(periods.indexOf(chosen))));
    }
    if (!addViews())
        return false;
    m_drawing->showCompanies(m_companies, ChartSeries::companyBars(m_report));
    showOutflow();
    return true;
}

int ChartsTab::chosenYear() const {
    return m_period->currentIndex() > 0 ? m_period->currentText().toInt() : 0;
}

void ChartsTab::showOutflow() {
    if (m_drawing)
        m_drawing->showOutflow(m_outflow, ChartSeries::outflow(m_report, chosenYear()),
                               m_report.budgetFigures().budget);
}

ListSnapshot ChartsTab::snapshot() const {
    ListSnapshot snapshot;
    snapshot.kind = ListSnapshot::Kind::Charts;
    snapshot.values = {{QStringLiteral("Projekt"), m_context.projectName},
                       {QStringLiteral("Zeitraum"), m_period->currentText()}};
    if (m_drawing)
        snapshot.pictures = {m_drawing->companiesPicture(ChartSeries::companyBars(m_report), kPrintSize),
                             m_drawing->outflowPicture(ChartSeries::outflow(m_report, chosenYear()),
                                                       m_report.budgetFigures().budget, kPrintSize)};
    return snapshot;
}
