#include "RecordedDocument.h"

#include <optional>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

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
        qreal left = rect.left();
        for (int column = 0; column < row.columnWidths.size(); ++column) {
            const qreal width = row.columnWidths.at(column) * m_scaleX;
            if (column < row.cells.size()) {
                const QRectF cell(left, rect.top(), width, rect.height());
                if (row.heading)
                    drawHeading(cell, row.cells.at(column));
                else
                    drawCell(cell, row.cells.at(column));
            }
            left += width;
        }
        if (!row.outline && !row.cellLines)
            return;
        m_painter.setPen(QPen(row.lineColour, kLineWidth * m_scaleX));
        if (row.outline)
            m_painter.drawRect(QRectF(rect.left(), rect.top(), left - rect.left(), rect.height()));
        if (row.cellLines) {
            qreal x = rect.left();
            for (int column = 0; column + 1 < row.columnWidths.size(); ++column) {
                x += row.columnWidths.at(column) * m_scaleX;
                m_painter.drawLine(QPointF(x, rect.top()), QPointF(x, rect.bottom()));
            }
        }
    }

    void operator()(const RecordedDocument::Frame& frame) {
        m_painter.setPen(QPen(frame.colour, kFrameWidth * m_scaleX));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(toDevice(frame.rect));
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
    }

    // One line, elided with "…" when it is wider than the cell, so it never runs into the next cell.
    void drawCell(const QRectF& cell, const TableCell& content) {
        if (content.text.isEmpty())
            return;
        const qreal padding = kCellPadding * m_scaleX;
        const qreal room = cell.width() - 2 * padding;
        if (room <= 0)
            return;
        QString text = content.text;
        qreal width = m_metrics->horizontalAdvance(text);
        if (width > room) {
            text = m_metrics->elidedText(text, Qt::ElideRight, room);
            width = m_metrics->horizontalAdvance(text);
        }
        qreal x = cell.left() + padding;
        if (content.alignment & Qt::AlignRight)
            x = cell.right() - padding - width;
        else if (content.alignment & Qt::AlignHCenter)
            x = cell.left() + (cell.width() - width) / 2;
        const qreal baseline = cell.top() + (cell.height() - m_metrics->height()) / 2 + m_metrics->ascent();
        m_painter.drawText(QPointF(x, baseline), text);
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

void RecordedDocument::paintPage(QPainter& painter, int index) const {
    PagePainter pagePainter(painter);
    for (const Command& command : page(index))
        std::visit(pagePainter, command);
}
