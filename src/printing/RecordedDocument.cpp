#include "RecordedDocument.h"

#include "TextMeasurements.h"

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

// Paints the commands of one page in device pixels, measuring texts with the device's own metrics.
class PagePainter {
public:
    PagePainter(QPainter& painter, TextMeasurements& measurements)
        : m_painter(painter), m_measurements(measurements),
          m_scaleX(painter.device()->logicalDpiX() / kTenthsPerInch),
          m_scaleY(painter.device()->logicalDpiY() / kTenthsPerInch) {}

    void operator()(const RecordedDocument::Text& text) {
        useFont(text.font);
        const qreal width = m_current->width(text.text);
        m_painter.setPen(Qt::black);
        m_painter.drawText(
            QPointF(text.centreX * m_scaleX - width / 2, text.top * m_scaleY + m_current->metrics().ascent()),
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
        m_lefts.assign(size_t(columns) + 1, rect.left());
        for (int column = 0; column < columns; ++column)
            m_lefts[column + 1] = m_lefts[column] + row.columnWidths.at(column) * m_scaleX;
        // A right-aligned text too wide for its cell takes the empty cells to its left, as far as needed.
        m_joinedToLeft.assign(size_t(columns), false);
        for (int column = 0; column < columns && column < row.cells.size(); ++column) {
            int first = column;
            const TableCell& cell = row.cells.at(column);
            if (!row.heading && (cell.alignment & Qt::AlignRight)) {
                const qreal wanted = m_current->width(cell.text) + 2 * kCellPadding * m_scaleX;
                while (first > 0 && m_lefts[column + 1] - m_lefts[first] < wanted &&
                       row.cells.at(first - 1).text.isEmpty() && !m_joinedToLeft[first - 1])
                    m_joinedToLeft[first--] = true;
            }
            const QRectF area(m_lefts[first], rect.top(), m_lefts[column + 1] - m_lefts[first],
                              rect.height());
            if (row.heading)
                drawHeading(area, cell);
            else
                drawCell(area, cell);
        }
        if (!row.outline && !row.cellLines)
            return;
        m_painter.setPen(QPen(row.lineColour, kLineWidth * m_scaleX));
        if (row.outline)
            m_painter.drawRect(
                QRectF(rect.left(), rect.top(), m_lefts[columns] - rect.left(), rect.height()));
        if (row.cellLines) {
            for (int column = 1; column < columns; ++column) {
                if (!m_joinedToLeft[column])
                    m_painter.drawLine(QPointF(m_lefts[column], rect.top()),
                                       QPointF(m_lefts[column], rect.bottom()));
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
        m_current = nullptr;
    }

private:
    QRectF toDevice(const QRectF& r) const {
        return QRectF(r.left() * m_scaleX, r.top() * m_scaleY, r.width() * m_scaleX, r.height() * m_scaleY);
    }

    void useFont(const QFont& font) {
        if (m_current && font == m_font)
            return;
        m_font = font;
        m_painter.setFont(font);
        m_current = &m_measurements.font(font);
    }

    void drawCell(const QRectF& cell, const TableCell& content) {
        if (content.text.isEmpty())
            return;
        const qreal padding = kCellPadding * m_scaleX;
        const qreal room = cell.width() - 2 * padding;
        if (room <= 0)
            return;
        const qreal lineRoom = cell.height() - 2 * kLineWidth * m_scaleY;
        drawLines(cell, content.alignment, m_measurements.cell(*m_current, content.text, room, lineRoom));
    }

    // The lines of a cell, centred as a block on the row's height.
    void drawLines(const QRectF& cell, Qt::Alignment alignment, const TextMeasurements::CellText& text) {
        const QFontMetricsF& metrics = text.font->metrics();
        // The painter holds the row's font already; most cells keep it.
        const bool resized = text.font != m_current;
        if (resized)
            m_painter.setFont(text.font->font());
        const qreal padding = kCellPadding * m_scaleX;
        const qreal block = metrics.height() + metrics.lineSpacing() * (text.lineCount - 1);
        qreal baseline = cell.top() + (cell.height() - block) / 2 + metrics.ascent();
        for (int line = 0; line < text.lineCount; ++line) {
            qreal x = cell.left() + padding;
            if (alignment & Qt::AlignRight)
                x = cell.right() - padding - text.widths[line];
            else if (alignment & Qt::AlignHCenter)
                x = cell.left() + (cell.width() - text.widths[line]) / 2;
            m_painter.drawText(QPointF(x, baseline), text.lines[line]);
            baseline += metrics.lineSpacing();
        }
        if (resized)
            m_painter.setFont(m_font);
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
    TextMeasurements& m_measurements;
    const qreal m_scaleX;
    const qreal m_scaleY;
    QFont m_font;
    TextMeasurements::Font* m_current = nullptr;
    std::vector<qreal> m_lefts;
    std::vector<bool> m_joinedToLeft;
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

void RecordedDocument::paintPage(QPainter& painter, int index, TextMeasurements& measurements) const {
    PagePainter pagePainter(painter, measurements);
    for (const Command& command : page(index))
        std::visit(pagePainter, command);
}
