#include "TextMeasurements.h"

namespace {

// A cell's text that does not fit is drawn smaller, down to this size, in steps of kPointSizeStep.
constexpr qreal kSmallestPointSize = 6.0;
constexpr qreal kPointSizeStep = 0.5;
// How far a width at another size may stray from the row's width scaled to that size.
constexpr qreal kEstimateMargin = 0.05;
constexpr qreal kPixelsPerCharacter = 2.0;

} // namespace

qreal TextMeasurements::Font::width(const QString& text) {
    const auto found = m_widths.constFind(text);
    if (found != m_widths.constEnd())
        return *found;
    const qreal width = m_metrics.horizontalAdvance(text);
    m_widths.insert(text, width);
    return width;
}

TextMeasurements::Font& TextMeasurements::font(const QFont& font) {
    const QString key = font.key();
    auto found = m_fonts.find(key);
    if (found == m_fonts.end())
        found = m_fonts.emplace(key, std::make_unique<Font>(font, m_device)).first;
    return *found->second;
}

TextMeasurements::Font& TextMeasurements::atSize(Font& font, qreal size) {
    if (qFuzzyCompare(size, font.m_font.pointSizeF()))
        return font;
    auto found = font.m_sizes.find(size);
    if (found == font.m_sizes.end()) {
        QFont sized = font.m_font;
        sized.setPointSizeF(size);
        found = font.m_sizes.emplace(size, &this->font(sized)).first;
    }
    return *found->second;
}

TextMeasurements::CellText TextMeasurements::cell(Font& row, const QString& text, qreal room,
                                                  qreal lineRoom) {
    const qreal width = row.width(text);
    if (width <= room)
        return CellText{&row, 1, {text, QString()}, {width, 0}};
    const Font::CellKey key{text, room, lineRoom};
    const auto found = row.m_cells.constFind(key);
    if (found != row.m_cells.constEnd())
        return *found;
    const CellText set = setSmaller(row, text, room, lineRoom);
    row.m_cells.insert(key, set);
    return set;
}

// The text did not fit on one line in the row's own size.
TextMeasurements::CellText TextMeasurements::setSmaller(Font& row, const QString& text, qreal room,
                                                        qreal lineRoom) {
    const qreal rowSize = row.m_font.pointSizeF();
    const qreal smallest = qMin(rowSize, kSmallestPointSize);
    const qreal rowWidth = row.width(text);
    for (qreal size = rowSize - kPointSizeStep; size >= smallest; size -= kPointSizeStep) {
        // Widths grow in proportion to the size, give or take the rounding of each character's advance:
        // a size whose width so estimated is clearly wider than the room is not measured.
        const qreal estimate = rowWidth * size / rowSize;
        if (estimate * (1 - kEstimateMargin) - text.size() * kPixelsPerCharacter > room)
            continue;
        Font& font = atSize(row, size);
        const qreal width = font.m_metrics.horizontalAdvance(text);
        if (width <= room)
            return CellText{&font, 1, {text, QString()}, {width, 0}};
    }
    for (qreal size = rowSize; size >= smallest; size -= kPointSizeStep) {
        Font& font = atSize(row, size);
        const QFontMetricsF& metrics = font.m_metrics;
        if (metrics.height() + metrics.lineSpacing() > lineRoom)
            continue;
        const qsizetype split = breakPosition(metrics, text, room);
        if (split <= 0)
            continue;
        const QString second = text.mid(split).trimmed();
        const qreal secondWidth = metrics.horizontalAdvance(second);
        if (secondWidth <= room) {
            const QString first = text.left(split).trimmed();
            return CellText{&font, 2, {first, second}, {metrics.horizontalAdvance(first), secondWidth}};
        }
    }
    Font& font = atSize(row, smallest);
    const QFontMetricsF& metrics = font.m_metrics;
    if (metrics.height() + metrics.lineSpacing() > lineRoom) {
        const QString cut = metrics.elidedText(text, Qt::ElideRight, room);
        return CellText{&font, 1, {cut, QString()}, {metrics.horizontalAdvance(cut), 0}};
    }
    const qsizetype split = qMax<qsizetype>(1, breakPosition(metrics, text, room));
    const QString first = text.left(split).trimmed();
    const QString second = metrics.elidedText(text.mid(split).trimmed(), Qt::ElideRight, room);
    return CellText{
        &font, 2, {first, second}, {metrics.horizontalAdvance(first), metrics.horizontalAdvance(second)}};
}

// Where a text is broken into two lines: before the last blank or after the last hyphen or slash whose
// first line fits the room, else after the last character that fits; 0 when none fits. A longer first
// line is never narrower, so the longest that fits is found by halving.
qsizetype TextMeasurements::breakPosition(const QFontMetricsF& metrics, const QString& text, qreal room) {
    qsizetype fits = 0;
    qsizetype tooWide = text.size();
    while (tooWide - fits > 1) {
        const qsizetype at = fits + (tooWide - fits) / 2;
        if (metrics.horizontalAdvance(text.left(at).trimmed()) > room)
            tooWide = at;
        else
            fits = at;
    }
    qsizetype opportunity = 0;
    bool started = false;
    for (qsizetype at = 1; at <= fits; ++at) {
        const QChar before = text.at(at - 1);
        started = started || !before.isSpace();
        if (started && (text.at(at).isSpace() || before == QLatin1Char('-') || before == QLatin1Char('/')))
            opportunity = at;
    }
    return opportunity > 0 ? opportunity : fits;
}
