// The module "zlvcharts": the only code that uses Qt Charts, loaded by ChartDrawing when the tab
// "Diagramme" first shows a chart, so that the program starts without Qt Charts.

#include "ChartDrawing.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHorizontalBarSeries>
#include <QLineSeries>
#include <QPainter>
#include <QToolTip>
#include <QValueAxis>

namespace {

// The cost report's colours: blue, its print's green, red and black.
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 192, 0);
const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);
const QLocale kGerman(QLocale::German, QLocale::Germany);
// The companies' names and the months' labels, kept on their axes to be fitted anew to each size.
const char* const kNames = "zlvNames";
const char* const kMonthLabels = "zlvMonthLabels";
// Qt Charts gives an axis beside the plot at most two fifths of the chart; its labels lose their padding
// and text margins of it. A name's line holds at least a dozen characters.
constexpr double kAxisShare = 0.4;
constexpr int kLabelPadding = 16;
constexpr int kShortestLine = 12;
// Label steps in months: each month, every second, each quarter, … each year, every few years.
constexpr int kMonthSteps[] = {1, 2, 3, 4, 6, 12, 24, 36, 60, 120, 240};

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

QValueAxis* amountAxis(QChart* chart, Money highest, Qt::Alignment alignment) {
    auto* axis = new QValueAxis(chart);
    axis->setLabelFormat(QStringLiteral("%.0f €"));
    // Room above the highest figure, so that a budget line there stays visible.
    axis->setRange(0, std::max(1.0, highest.toEuros() * 1.05));
    // Below the bars the amounts stand side by side: fewer of them.
    if (alignment == Qt::AlignBottom)
        axis->setTickCount(4);
    axis->applyNiceNumbers();
    axis->setTitleText(QStringLiteral("Euro"));
    chart->addAxis(axis, alignment);
    return axis;
}

// Texts of the chart are markup to Qt Charts: a name from outside is escaped, and wrapped into lines of
// at most width pixels.
QString wrappedName(const QString& name, const QFontMetrics& metrics, int width) {
    QStringList lines;
    for (const QString& word : name.split(u' ', Qt::SkipEmptyParts)) {
        if (!lines.isEmpty() && metrics.horizontalAdvance(lines.last() + u' ' + word) <= width)
            lines.last() += u' ' + word;
        else
            lines.append(word);
    }
    for (QString& line : lines)
        line = line.toHtmlEscaped();
    return lines.join(QStringLiteral("<br>"));
}

// The companies' names beside their bars, wrapped to the room the axis may take (two fifths of the
// chart inside its margins, less the labels' padding).
void wrapNames(QChart* chart) {
    const QList<QAbstractAxis*> axes = chart->axes(Qt::Vertical);
    auto* axis = axes.isEmpty() ? nullptr : qobject_cast<QBarCategoryAxis*>(axes.constFirst());
    if (!axis)
        return;
    const QFontMetrics metrics(axis->labelsFont());
    const QMarginsF margins = chart->margins();
    const double inside = chart->size().width() - margins.left() - margins.right();
    const int width = std::max(kShortestLine * metrics.averageCharWidth(),
                               int(inside * kAxisShare) - 2 * metrics.height() - kLabelPadding);
    QStringList wrapped;
    for (const QString& name : axis->property(kNames).toStringList())
        wrapped.append(wrappedName(name, metrics, width));
    if (wrapped != axis->categories())
        axis->setCategories(wrapped);
}

QString tip(const QString& text) {
    return QStringLiteral("<p style=\"white-space:pre\">") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

// The months' axis labels as many months as there is room for: each month, or every few months.
void spaceMonths(QChart* chart) {
    const QList<QAbstractAxis*> axes = chart->axes(Qt::Horizontal);
    auto* axis = axes.isEmpty() ? nullptr : qobject_cast<QCategoryAxis*>(axes.constFirst());
    if (!axis)
        return;
    const QStringList labels = axis->property(kMonthLabels).toStringList();
    const double width = chart->plotArea().width() > 0 ? chart->plotArea().width() : chart->size().width();
    const QFontMetrics metrics(axis->labelsFont());
    // A label needs its text and the axis' padding on both sides.
    const int labelWidth = metrics.horizontalAdvance(QStringLiteral("Mär 88")) + 2 * metrics.height();
    const int room = std::max(1, int(width / labelWidth) - 1);
    int step = kMonthSteps[std::size(kMonthSteps) - 1];
    for (const int candidate : kMonthSteps) {
        if ((labels.size() + candidate - 1) / candidate <= room) {
            step = candidate;
            break;
        }
    }
    QStringList wanted;
    for (qsizetype month = 0; month < labels.size(); month += step)
        wanted.append(labels.at(month));
    if (wanted == axis->categoriesLabels())
        return;
    for (const QString& label : axis->categoriesLabels())
        axis->remove(label);
    for (qsizetype month = 0; month < labels.size(); month += step)
        axis->append(labels.at(month), double(month));
}

// The axes' labels fitted to the chart's size, so that none is cut.
void fitLabels(QChart* chart) {
    chart->layout()->activate();
    spaceMonths(chart);
    wrapNames(chart);
    chart->layout()->invalidate();
    chart->layout()->activate();
}

// A chart view that fits the labels of its chart whenever it is resized.
class FittingChartView : public QChartView {
public:
    using QChartView::QChartView;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QChartView::resizeEvent(event);
        if (chart())
            fitLabels(chart());
    }
};

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
        QToolTip::showText(QCursor::pos(), tip(labels.at(index) + QStringLiteral("\n") + name +
                                               QStringLiteral(": ") + euros(amounts.at(index))));
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
            QToolTip::showText(QCursor::pos(), tip(labels.value(index) + QStringLiteral("\n") + name +
                                                   QStringLiteral(": ") + euros(amounts.at(index))));
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
    fitLabels(chart);
    QPicture picture;
    picture.setBoundingRect(QRectF(QPointF(0, 0), size).toRect());
    QPainter painter(&picture);
    scene.render(&painter, QRectF(QPointF(0, 0), size), QRectF(QPointF(0, 0), size));
    painter.end();
    return picture;
}

QChart* companyChart(const QList<ChartSeries::CompanyBar>& bars) {
    QChart* chart = newChart(QStringLiteral("Kostenbericht je Firma"));
    QStringList labels;
    QStringList names;
    QList<Money> calculation;
    QList<Money> committed;
    QList<Money> payments;
    Money highest;
    // Bars across, the names beside them in full; the company paid most at the top.
    for (auto bar = bars.crbegin(); bar != bars.crend(); ++bar) {
        labels.append(bar->label);
        names.append(bar->label.toHtmlEscaped());
        calculation.append(bar->calculation);
        committed.append(bar->committed);
        payments.append(bar->payments);
        highest = std::max({highest, bar->calculation, bar->committed, bar->payments});
    }
    auto* series = new QHorizontalBarSeries;
    series->append(barSet(QStringLiteral("Kostenberechnung"), kBlue, labels, calculation));
    series->append(barSet(QStringLiteral("Auftrag und Nachträge"), kGreen, labels, committed));
    series->append(barSet(QStringLiteral("Zahlungen"), kRed, labels, payments));
    chart->addSeries(series);
    auto* companies = new QBarCategoryAxis(chart);
    companies->append(names);
    companies->setProperty(kNames, labels);
    chart->addAxis(companies, Qt::AlignLeft);
    series->attachAxis(companies);
    series->attachAxis(amountAxis(chart, highest, Qt::AlignBottom));
    return chart;
}

QChart* outflowChart(const QList<ChartSeries::Month>& months, const std::optional<Money>& budget) {
    QChart* chart = newChart(QStringLiteral("Mittelabfluss"));
    QStringList labels;
    QStringList shortLabels;
    QList<Money> paid;
    QList<Money> running;
    QList<QPointF> runningPoints;
    Money highest = budget.value_or(Money());
    for (const ChartSeries::Month& month : months) {
        runningPoints.append(QPointF(labels.size(), month.runningTotal.toEuros()));
        labels.append(ChartSeries::monthLabel(month.month));
        shortLabels.append(ChartSeries::shortMonthLabel(month.month));
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
    // Month n's bar stands at n; its label, when there is room for it, below the bar.
    auto* axisMonths = new QCategoryAxis(chart);
    axisMonths->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axisMonths->setStartValue(-0.5);
    axisMonths->setRange(-0.5, std::max<double>(0.5, double(labels.size()) - 0.5));
    axisMonths->setGridLineVisible(false);
    axisMonths->setProperty(kMonthLabels, shortLabels);
    chart->addAxis(axisMonths, Qt::AlignBottom);
    spaceMonths(chart);
    QValueAxis* amounts = amountAxis(chart, highest, Qt::AlignLeft);
    for (QAbstractSeries* series : all) {
        series->attachAxis(axisMonths);
        series->attachAxis(amounts);
    }
    return chart;
}

} // namespace

// The drawing the module hands over.
class ChartsModule : public ChartDrawing {
public:
    QWidget* newView(QWidget* parent) const override {
        auto* view = new FittingChartView(parent);
        view->setRenderHint(QPainter::Antialiasing);
        return view;
    }
    void showCompanies(QWidget* view, const QList<ChartSeries::CompanyBar>& bars) const override {
        show(static_cast<QChartView*>(view), companyChart(bars));
    }
    void showOutflow(QWidget* view, const QList<ChartSeries::Month>& months,
                     const std::optional<Money>& budget) const override {
        show(static_cast<QChartView*>(view), outflowChart(months, budget));
    }
    QPicture companiesPicture(const QList<ChartSeries::CompanyBar>& bars, const QSizeF& size) const override {
        return drawn(companyChart(bars), size);
    }
    QPicture outflowPicture(const QList<ChartSeries::Month>& months, const std::optional<Money>& budget,
                            const QSizeF& size) const override {
        return drawn(outflowChart(months, budget), size);
    }

private:
    static void show(QChartView* view, QChart* chart) {
        QChart* old = view->chart();
        view->setChart(chart);
        fitLabels(view->chart());
        delete old;
    }
};

extern "C" Q_DECL_EXPORT const ChartDrawing* zlvChartDrawing() {
    static const ChartsModule drawing;
    return &drawing;
}
