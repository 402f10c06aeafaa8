#include "ChartDrawing.h"

#include <QCoreApplication>
#include <QLibrary>

namespace {

const QString kModule = QStringLiteral("zlvcharts");

} // namespace

const ChartDrawing* ChartDrawing::module(QString* words) {
    using Drawing = const ChartDrawing* (*)();
    static const ChartDrawing* const drawing = [] {
        static QLibrary library(QCoreApplication::applicationDirPath() + u'/' + kModule);
        const auto resolved = reinterpret_cast<Drawing>(library.resolve("zlvChartDrawing"));
        return resolved ? resolved() : nullptr;
    }();
    if (!drawing && words)
        *words = QStringLiteral("Diagramme lassen sich an diesem Arbeitsplatz nicht zeigen: der Programmteil "
                                "„%1“ fehlt neben dem Programm im Ordner %2 oder ist beschädigt. Bitte "
                                "installieren Sie Zelvora neu.")
                     .arg(kModule, QCoreApplication::applicationDirPath());
    return drawing;
}
