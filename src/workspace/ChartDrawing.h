#pragma once

#include "ChartSeries.h"
#include "Money.h"

#include <optional>
#include <QList>
#include <QPicture>
#include <QSizeF>
#include <QString>

class QWidget;

// The charts of the tab "Diagramme" as Qt Charts draws them, in the module "zlvcharts" beside the
// program (ChartsModule.cpp): the tab loads it when it first shows a chart, so that the program starts
// without Qt Charts and what it draws in.
class ChartDrawing {
public:
    virtual ~ChartDrawing() = default;

    // A chart view that fits the labels of its chart whenever it is resized.
    virtual QWidget* newView(QWidget* parent) const = 0;
    // Replaces the view's chart: the bars per company, or the cash outflow.
    virtual void showCompanies(QWidget* view, const QList<ChartSeries::CompanyBar>& bars) const = 0;
    virtual void showOutflow(QWidget* view, const QList<ChartSeries::Month>& months,
                             const std::optional<Money>& budget) const = 0;
    // The same charts drawn into a picture at size, for the printed page.
    virtual QPicture companiesPicture(const QList<ChartSeries::CompanyBar>& bars,
                                      const QSizeF& size) const = 0;
    virtual QPicture outflowPicture(const QList<ChartSeries::Month>& months,
                                    const std::optional<Money>& budget, const QSizeF& size) const = 0;

    // The module's drawing, loaded once; nullptr when it is missing or damaged (words tell the user).
    static const ChartDrawing* module(QString* words);
};
