#include "ChartDrawing.h"

#include "ProgramPart.h"

namespace {

const QString kModule = QStringLiteral("zlvcharts");

} // namespace

const ChartDrawing* ChartDrawing::module(QString* words) {
    using Drawing = const ChartDrawing* (*)();
    static const ChartDrawing* const drawing = [] {
        const auto resolved = reinterpret_cast<Drawing>(ProgramPart::resolve(kModule, "zlvChartDrawing"));
        return resolved ? resolved() : nullptr;
    }();
    if (!drawing && words)
        *words = ProgramPart::missingText(
            QStringLiteral("Diagramme lassen sich an diesem Arbeitsplatz nicht zeigen"), kModule);
    return drawing;
}
