#include "ChartsTab.h"

#include "Database.h"
#include "Dialogs.h"
#include "WorkspaceContext.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCursor>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPainter>
#include <QToolTip>
#include <QValueAxis>
#include <QVBoxLayout>

namespace {

// The cost report's colours: blue, its print's green, red and black.
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 192, 0);
const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);
const QLocale kGerman(QLocale::German, QLocale::Germany);
const QString kWholeProject = QStringLiteral("Gesamtes Projekt");
// The size at which a chart is drawn for the printed page, in points.
const QSizeF kPrintSize(640, 720);
// Up to this many labels stand upright below their bars; more are turned.
constexpr int kUprightLabels = 6;

QString euros(Money amount) {
    return amount.toGerman() + QStringLiteral(" €");
}

QChart* newChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setLocalizeNumbers(true);
    chart->setLocale(kGerman);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

QValueAxis* amountAxis(QChart* chart, Money highest) {
    auto* axis = new QValueAxis(chart);
    axis->setLabelFormat(QStringLiteral("%.0f €"));
    // Room above the highest figure, so that a budget line there stays visible.
    axis->setRange(0, std::max(1.0, highest.toEuros() * 1.05));
    axis->applyNiceNumbers();
    axis->setTitleText(QStringLiteral("Euro"));
    chart->addAxis(axis, Qt::AlignLeft);
    return axis;
}

QBarSet* barSet(const QString& name, const QColor& colour, const QStringList& labels,
                const QList<Money>& amounts) {
    auto* set = new QBarSet(name);
    set->setColor(colour);
    set->setBorderColor(colour);
    for (const Money amount : amounts)
        set->append(amount.toEuros());
    QObject::connect(set, &QBarSet::hovered, set, [name, labels, amounts](bool status, int index) {
        if (!status || index < 0 || index >= amounts.size())
            return QToolTip::hideText();
        QToolTip::showText(QCursor::pos(), labels.at(index) + QStringLiteral("\n") + name +
                                               QStringLiteral(": ") + euros(amounts.at(index)));
    });
    return set;
}

QLineSeries* line(const QString& name, const QPen& pen, const QList<QPointF>& points,
                  const QStringList& labels, const QList<Money>& amounts) {
    auto* series = new QLineSeries;
    series->setName(name);
    series->setPen(pen);
    series->append(points);
    QObject::connect(
        series, &QLineSeries::hovered, series, [name, labels, amounts](const QPointF& at, bool state) {
            const int index = qBound(0, qRound(at.x()), int(amounts.size()) - 1);
            if (!state || amounts.isEmpty())
                return QToolTip::hideText();
            QToolTip::showText(QCursor::pos(), labels.value(index) + QStringLiteral("\n") + name +
                                                   QStringLiteral(": ") + euros(amounts.at(index)));
        });
    return series;
}

QFont pixelFont(int pixels, bool bold = false) {
    QFont font;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The chart drawn into a picture at size, without a window. Its texts are sized in pixels of the
// picture, so that they keep their size against the chart wherever the picture is played.
QPicture drawn(QChart* chart, const QSizeF& size) {
    chart->setTitleFont(pixelFont(16, true));
    chart->legend()->setFont(pixelFont(12));
    for (QAbstractAxis* axis : chart->axes()) {
        axis->setLabelsFont(pixelFont(11));
        axis->setTitleFont(pixelFont(12));
    }
    QGraphicsScene scene;
    scene.addItem(chart);
    chart->setGeometry(QRectF(QPointF(0, 0), size));
    chart->layout()->activate();
    QPicture picture;
    picture.setBoundingRect(QRectF(QPointF(0, 0), size).toRect());
    QPainter painter(&picture);
    scene.render(&painter, QRectF(QPointF(0, 0), size), QRectF(QPointF(0, 0), size));
    painter.end();
    return picture;
}

} // namespace

ChartsTab::ChartsTab(WorkspaceContext& context, QWidget* parent) : QWidget(parent), m_context(context) {
    m_companies = new QChartView(this);
    m_companies->setObjectName(QStringLiteral("chtKostenbericht"));
    m_companies->setAccessibleName(QStringLiteral("Kostenbericht je Firma"));
    m_companies->setRenderHint(QPainter::Antialiasing);
    m_outflow = new QChartView(this);
    m_outflow->setObjectName(QStringLiteral("chtMittelabfluss"));
    m_outflow->setAccessibleName(QStringLiteral("Mittelabfluss"));
    m_outflow->setRenderHint(QPainter::Antialiasing);
    m_period = new QComboBox(this);
    m_period->setObjectName(QStringLiteral("cboZeitraum"));
    auto* periodLabel = new QLabel(QStringLiteral("&Zeitraum des Mittelabflusses:"), this);
    periodLabel->setBuddy(m_period);

    auto* choice = new QHBoxLayout;
    choice->addWidget(periodLabel);
    choice->addWidget(m_period);
    choice->addStretch();
    auto* charts = new QHBoxLayout;
    charts->addWidget(m_companies, 1);
    charts->addWidget(m_outflow, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addLayout(charts, 1);

    connect(m_period, &QComboBox::currentIndexChanged, this, &ChartsTab::showOutflow);
}

bool ChartsTab::fill() {
    bool ok = true;
    CostReport report = CostReport::read(m_context.db, m_context.projectId, m_context.waitingBookingId,
                                         m_context.waitingEstimateRowId, &ok);
    if (!ok) {
        m_context.dialogs.inform(this, QStringLiteral("Lesefehler"), m_context.db.lastError(),
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
    QChart* old = m_companies->chart();
    m_companies->setChart(companyChart(ChartSeries::companyBars(m_report)));
    delete old;
    showOutflow();
    return true;
}

int ChartsTab::chosenYear() const {
    return m_period->currentIndex() > 0 ? m_period->currentText().toInt() : 0;
}

void ChartsTab::showOutflow() {
    QChart* old = m_outflow->chart();
    m_outflow->setChart(
        outflowChart(ChartSeries::outflow(m_report, chosenYear()), m_report.budgetFigures().budget));
    delete old;
}

QChart* ChartsTab::companyChart(const QList<ChartSeries::CompanyBar>& bars) {
    QChart* chart = newChart(QStringLiteral("Kostenbericht je Firma"));
    QStringList labels;
    QList<Money> calculation;
    QList<Money> committed;
    QList<Money> payments;
    Money highest;
    for (const ChartSeries::CompanyBar& bar : bars) {
        labels.append(bar.label);
        calculation.append(bar.calculation);
        committed.append(bar.committed);
        payments.append(bar.payments);
        highest = std::max({highest, bar.calculation, bar.committed, bar.payments});
    }
    auto* series = new QBarSeries;
    series->append(barSet(QStringLiteral("Kostenberechnung"), kBlue, labels, calculation));
    series->append(barSet(QStringLiteral("Auftrag und Nachträge"), kGreen, labels, committed));
    series->append(barSet(QStringLiteral("Zahlungen"), kRed, labels, payments));
    chart->addSeries(series);
    auto* companies = new QBarCategoryAxis(chart);
    companies->append(labels);
    companies->setLabelsAngle(labels.size() > kUprightLabels ? -60 : 0);
    chart->addAxis(companies, Qt::AlignBottom);
    series->attachAxis(companies);
    series->attachAxis(amountAxis(chart, highest));
    return chart;
}

QChart* ChartsTab::outflowChart(const QList<ChartSeries::Month>& months, const std::optional<Money>& budget) {
    QChart* chart = newChart(QStringLiteral("Mittelabfluss"));
    QStringList labels;
    QList<Money> paid;
    QList<Money> running;
    QList<QPointF> runningPoints;
    Money highest = budget.value_or(Money());
    for (const ChartSeries::Month& month : months) {
        runningPoints.append(QPointF(labels.size(), month.runningTotal.toEuros()));
        labels.append(ChartSeries::monthLabel(month.month));
        paid.append(month.payments);
        running.append(month.runningTotal);
        highest = std::max({highest, month.payments, month.runningTotal});
    }
    auto* bars = new QBarSeries;
    bars->append(barSet(QStringLiteral("Zahlungen im Monat"), kRed, labels, paid));
    chart->addSeries(bars);
    QLineSeries* total =
        line(QStringLiteral("Summe der Zahlungen"), QPen(kBlue, 2), runningPoints, labels, running);
    chart->addSeries(total);
    QList<QAbstractSeries*> all{bars, total};
    if (budget) {
        const double end = std::max<double>(0, labels.size() - 1);
        QPen dashed(kBlack, 2, Qt::DashLine);
        all.append(line(QStringLiteral("Budget"), dashed,
                        {QPointF(0, budget->toEuros()), QPointF(end, budget->toEuros())}, labels,
                        QList<Money>(labels.size(), *budget)));
        chart->addSeries(all.last());
    }
    auto* axisMonths = new QBarCategoryAxis(chart);
    axisMonths->append(labels);
    axisMonths->setLabelsAngle(labels.size() > kUprightLabels ? -60 : 0);
    chart->addAxis(axisMonths, Qt::AlignBottom);
    QValueAxis* amounts = amountAxis(chart, highest);
    for (QAbstractSeries* series : all) {
        series->attachAxis(axisMonths);
        series->attachAxis(amounts);
    }
    return chart;
}

ListSnapshot ChartsTab::snapshot() const {
    ListSnapshot snapshot;
    snapshot.kind = ListSnapshot::Kind::Charts;
    snapshot.values = {{QStringLiteral("Projekt"), m_context.projectName},
                       {QStringLiteral("Zeitraum"), m_period->currentText()}};
    snapshot.pictures = {
        drawn(companyChart(ChartSeries::companyBars(m_report)), kPrintSize),
        drawn(outflowChart(ChartSeries::outflow(m_report, chosenYear()), m_report.budgetFigures().budget),
              kPrintSize)};
    return snapshot;
}
