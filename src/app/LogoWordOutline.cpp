#include "LogoWordOutline.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QTransform>

namespace {
const QString kWord = QStringLiteral("Zelvora");
const QString kFamily = QStringLiteral("Liberation Sans");
constexpr qreal kLetterSpacingPercent = 108;
// Traced this large, hinting and rounded advances no longer shape the outline.
constexpr int kTracingPixelSize = 1000;
} // namespace

QPainterPath LogoWordOutline::trace(QString* error) {
    QFont font(kFamily);
    font.setBold(true);
    font.setPixelSize(kTracingPixelSize);
    font.setLetterSpacing(QFont::PercentageSpacing, kLetterSpacingPercent);
    font.setHintingPreference(QFont::PreferNoHinting);
    const QFontInfo found(font);
    if (found.family() != kFamily || !found.bold()) {
        *error = QStringLiteral("font \"%1\" bold not found (found \"%2\"); install fonts-liberation")
                     .arg(kFamily, found.family());
        return {};
    }
    const QFontMetricsF metrics(font);
    const QRectF line = metrics.boundingRect(QRectF(), Qt::AlignCenter, kWord);
    QPainterPath outline;
    outline.addText(QPointF(line.left(), line.top() + metrics.ascent()), font, kWord);
    outline.setFillRule(Qt::WindingFill);
    return QTransform::fromScale(1.0 / kTracingPixelSize, 1.0 / kTracingPixelSize).map(outline);
}
