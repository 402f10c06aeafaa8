#include "RecordedDocument.h"

#include <map>
#include <optional>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <vector>

namespace {

constexpr qreal kTenthsPerInch = 254.0;
// Room between a cell's lines and its text.
constexpr qreal kCellPadding = 10.0;
constexpr qreal kLineWidth = 2.0;
constexpr qreal kFrameWidth = 5.0;
constexpr qreal kShadowOffset = 8.0;
// A cell's text that does not fit is drawn smaller, down to this size, in steps of kPointSizeStep.
constexpr qreal kSmallestPointSize = 6.0;
constexpr qreal kPointSizeStep = 0.5;

// Paints the commands of one page in device pixels, measuring texts with the device's own metrics.
class PagePainter {
public:
    explicit PagePainter(QPainter& painter)
        : m_painter(painter), m_scaleX(painter.device()->logicalDpiX() / kTenthsPerInch),
          m_scaleY(painter.device()->logicalDpiY() / kTenthsPerInch) {}

    void operator()(const RecordedDocument::Text& text) {
        useFont(text.font);
        const qreal width = m_metrics->horizontalAdvance(text.text);
        m_painter.setPen(Qt::black);
        m_painter.drawText(
            QPointF(text.centreX * m_scaleX - width / 2, text.top * m_scaleY + m_metrics->ascent()),
            text.text);
    }

    void operator()(const RecordedDocument::Row& row) {
        const QRectF rect = toDevice(row.rect);
        if (row.shadow)
            m_painter.fillRect(rect.translated(kShadowOffset * m_scaleX, kShadowOffset * m_scaleY),
                               row.shadowColour);
        m_painter.fillRect(rect, row.fill);
        useFont(row.font);
        m_painter.setPen(Qt::black);
        const int columns = int(row.columnWidths.size());
        std::vector<qreal> lefts(size_t(columns) + 1, rect.left());
        for (int column = 0; column < columns; ++column)
            lefts[column + 1] = lefts[column] + row.columnWidths.at(column) * m_scaleX;
        // A right-aligned text too wide for its cell takes the empty cells to its left, as far as needed.
        std::vector<bool> joinedToLeft(size_t(columns), false);
        for (int column = 0; column < columns && column < row.cells.size(); ++column) {
            int first = column;
            const TableCell& cell = row.cells.at(column);
            if (!row.heading && (cell.alignment & Qt::AlignRight)) {
                const qreal wanted = m_metrics->horizontalAdvance(cell.text) + 2 * kCellPadding * m_scaleX;
                while (first > 0 && lefts[column + 1] - lefts[first] < wanted &&
                       row.cells.at(first - 1).text.isEmpty() && !joinedToLeft[first - 1])
                    joinedToLeft[first--] = true;
            }
            const QRectF area(lefts[first], rect.top(), lefts[column + 1] - lefts[first], rect.height());
            if (row.heading)
                drawHeading(area, cell);
            else
                drawCell(area, cell);
        }
        if (!row.outline && !row.cellLines)
            return;
        m_painter.setPen(QPen(row.lineColour, kLineWidth * m_scaleX));
        if (row.outline)
            m_painter.drawRect(QRectF(rect.left(), rect.top(), lefts[columns] - rect.left(), rect.height()));
        if (row.cellLines) {
            for (int column = 1; column < columns; ++column) {
                if (!joinedToLeft[column])
                    m_painter.drawLine(QPointF(lefts[column], rect.top()),
                                       QPointF(lefts[column], rect.bottom()));
            }
        }
    }

    void operator()(const RecordedDocument::Frame& frame) {
        m_painter.setPen(QPen(frame.colour, kFrameWidth * m_scaleX));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(toDevice(frame.rect));
    }

    void operator()(const RecordedDocument::Picture& picture) {
        const QRectF area = toDevice(picture.rect);
        const QRectF bounds = picture.picture.boundingRect();
        if (bounds.isEmpty())
            return;
        // Playing a picture scales it from its own resolution to the device's: that is taken back out.
        const qreal scale = qMin(area.width() / bounds.width(), area.height() / bounds.height()) *
                            picture.picture.logicalDpiX() / m_painter.device()->logicalDpiX();
        m_painter.save();
        m_painter.translate(area.center());
        m_painter.scale(scale, scale);
        m_painter.translate(-QRectF(bounds).center() * m_painter.device()->logicalDpiX() /
                            picture.picture.logicalDpiX());
        m_painter.drawPicture(0, 0, picture.picture);
        m_painter.restore();
        m_metrics.reset();
    }

private:
    QRectF toDevice(const QRectF& r) const {
        return QRectF(r.left() * m_scaleX, r.top() * m_scaleY, r.width() * m_scaleX, r.height() * m_scaleY);
    }

    void useFont(const QFont& font) {
        if (m_metrics && font == m_font)
            return;
        m_font = font;
        m_painter.setFont(font);
        m_metrics.emplace(font, m_painter.device());
        m_sizedMetrics.clear();
    }

    // The whole text inside the cell if at all possible: on one line in the row's font, else in a smaller
    // font down to kSmallestPointSize, else on two lines in the largest such font whose two lines fit the
    // row; only a text that does not fit even so is cut, ending in "…".
    void drawCell(const QRectF& cell, const TableCell& content) {
        if (content.text.isEmpty())
            return;
        const qreal padding = kCellPadding * m_scaleX;
        const qreal room = cell.width() - 2 * padding;
        if (room <= 0)
            return;
        const QString& text = content.text;
        const qreal rowSize = m_font.pointSizeF();
        const qreal smallest = qMin(rowSize, kSmallestPointSize);
        for (qreal size = rowSize; size >= smallest; size -= kPointSizeStep) {
            const qreal width = metricsAt(size).horizontalAdvance(text);
            if (width <= room)
                return drawLines(cell, content.alignment, size, {text}, width);
        }
        const qreal lineRoom = cell.height() - 2 * kLineWidth * m_scaleY;
        for (qreal size = rowSize; size >= smallest; size -= kPointSizeStep) {
            const QFontMetricsF& metrics = metricsAt(size);
            if (metrics.height() + metrics.lineSpacing() > lineRoom)
                continue;
            const qsizetype split = breakPosition(metrics, text, room);
            if (split > 0 && metrics.horizontalAdvance(text.mid(split).trimmed()) <= room)
                return drawLines(cell, content.alignment, size,
                                 {text.left(split).trimmed(), text.mid(split).trimmed()});
        }
        const QFontMetricsF& metrics = metricsAt(smallest);
        if (metrics.height() + metrics.lineSpacing() > lineRoom)
            return drawLines(cell, content.alignment, smallest,
                             {metrics.elidedText(text, Qt::ElideRight, room)});
        const qsizetype split = qMax<qsizetype>(1, breakPosition(metrics, text, room));
        drawLines(cell, content.alignment, smallest,
                  {text.left(split).trimmed(),
                   metrics.elidedText(text.mid(split).trimmed(), Qt::ElideRight, room)});
    }

    // Where a text is broken into two lines: before the last blank or after the last hyphen or slash
    // whose first line fits the room, else after the last character that fits; 0 when none fits.
    static qsizetype breakPosition(const QFontMetricsF& metrics, const QString& text, qreal room) {
        qsizetype opportunity = 0;
        qsizetype character = 0;
        for (qsizetype at = 1; at < text.size(); ++at) {
            const QString first = text.left(at).trimmed();
            if (metrics.horizontalAdvance(first) > room)
                break;
            character = at;
            const QChar before = text.at(at - 1);
            if (!first.isEmpty() &&
                (text.at(at).isSpace() || before == QLatin1Char('-') || before == QLatin1Char('/')))
                opportunity = at;
        }
        return opportunity > 0 ? opportunity : character;
    }

    // Lines of a cell in the font of the row at another size, centred as a block on the row's height.
    // width, when known, is that of the only line.
    void drawLines(const QRectF& cell, Qt::Alignment alignment, qreal size, const QStringList& lines,
                   qreal width = -1) {
        const QFontMetricsF& metrics = metricsAt(size);
        // The painter holds the row's font already; most cells keep it.
        const bool resized = !qFuzzyCompare(size, m_font.pointSizeF());
        if (resized) {
            QFont font = m_font;
            font.setPointSizeF(size);
            m_painter.setFont(font);
        }
        const qreal padding = kCellPadding * m_scaleX;
        const qreal block = metrics.height() + metrics.lineSpacing() * (lines.size() - 1);
        qreal baseline = cell.top() + (cell.height() - block) / 2 + metrics.ascent();
        for (const QString& line : lines) {
            // A line on the left needs no measuring.
            const bool measured = lines.size() == 1 && width >= 0;
            qreal x = cell.left() + padding;
            if (alignment & Qt::AlignRight)
                x = cell.right() - padding - (measured ? width : metrics.horizontalAdvance(line));
            else if (alignment & Qt::AlignHCenter)
                x = cell.left() + (cell.width() - (measured ? width : metrics.horizontalAdvance(line))) / 2;
            m_painter.drawText(QPointF(x, baseline), line);
            baseline += metrics.lineSpacing();
        }
        if (resized)
            m_painter.setFont(m_font);
    }

    // The metrics of the row's font at another size, on the device.
    const QFontMetricsF& metricsAt(qreal size) {
        if (qFuzzyCompare(size, m_font.pointSizeF()))
            return *m_metrics;
        auto found = m_sizedMetrics.find(size);
        if (found == m_sizedMetrics.end()) {
            QFont font = m_font;
            font.setPointSizeF(size);
            found = m_sizedMetrics.emplace(size, QFontMetricsF(font, m_painter.device())).first;
        }
        return found->second;
    }

    // Wrapped at blanks and at carriage returns, cut at the cell's edges.
    void drawHeading(const QRectF& cell, const TableCell& content) {
        if (content.text.isEmpty())
            return;
        QString text = content.text;
        text.replace(QChar(13), QChar(10));
        const qreal padding = kCellPadding * m_scaleX;
        m_painter.save();
        m_painter.setClipRect(cell);
        m_painter.drawText(cell.adjusted(padding, 0, -padding, 0),
                           int(content.alignment | Qt::AlignVCenter | Qt::TextWordWrap), text);
        m_painter.restore();
    }

    QPainter& m_painter;
    const qreal m_scaleX;
    const qreal m_scaleY;
    QFont m_font;
    std::optional<QFontMetricsF> m_metrics;
    std::map<qreal, QFontMetricsF> m_sizedMetrics;
};

} // namespace

TableCell TableCell::parse(const QString& cell) {
    TableCell result;
    if (cell.isEmpty())
        return result;
    switch (cell.at(0).unicode()) {
    case 'm':
        result.alignment = Qt::AlignHCenter;
        break;
    case 'L':
        result.alignment = Qt::AlignLeft;
        break;
    case 'R':
    case 'r':
        result.alignment = Qt::AlignRight;
        break;
    default:
        result.text = cell;
        return result;
    }
    const qsizetype start = cell.size() > 1 && cell.at(1) == QLatin1Char(' ') ? 2 : 1;
    result.text = cell.mid(start);
    return result;
}

QList<TableCell> TableCell::parseRow(const QString& row) {
    QList<TableCell> cells;
    for (const QStringView cell : QStringView(row).split(QLatin1Char('|')))
        cells.append(parse(cell.toString()));
    return cells;
}

RecordedDocument::RecordedDocument() : m_pages(1) {}

void RecordedDocument::add(Command command) {
    m_pages.back().push_back(std::move(command));
}

void RecordedDocument::newPage() {
    m_pages.emplace_back();
}

QRectF RecordedDocument::contentBounds() const {
    // Texts are measured at a high resolution and converted to tenths of a millimetre.
    constexpr int measureDpi = 1200;
    QImage device(1, 1, QImage::Format_Mono);
    device.setDotsPerMeterX(qRound(measureDpi / 0.0254));
    device.setDotsPerMeterY(qRound(measureDpi / 0.0254));
    const qreal toTenths = kTenthsPerInch / measureDpi;
    QRectF bounds;
    for (const std::vector<Command>& commands : m_pages) {
        for (const Command& command : commands) {
            if (const auto* text = std::get_if<Text>(&command)) {
                const QFontMetricsF metrics(text->font, &device);
                const qreal width = metrics.horizontalAdvance(text->text) * toTenths;
                bounds |= QRectF(text->centreX - width / 2, text->top, width, metrics.height() * toTenths);
            } else if (const auto* row = std::get_if<Row>(&command)) {
                qreal width = 0;
                for (int column : row->columnWidths)
                    width += column;
                const qreal pen = kLineWidth / 2;
                bounds |= QRectF(row->rect.topLeft(), QSizeF(width, row->rect.height()))
                              .adjusted(-pen, -pen, pen, pen);
            } else if (const auto* frame = std::get_if<Frame>(&command)) {
                const qreal pen = kFrameWidth / 2;
                bounds |= frame->rect.adjusted(-pen, -pen, pen, pen);
            } else if (const auto* picture = std::get_if<Picture>(&command)) {
                bounds |= picture->rect;
            }
        }
    }
    return bounds;
}

void RecordedDocument::paintPage(QPainter& painter, int index) const {
    PagePainter pagePainter(painter);
    for (const Command& command : page(index))
        std::visit(pagePainter, command);
}
