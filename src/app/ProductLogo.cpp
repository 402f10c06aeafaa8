#include "ProductLogo.h"

#include "ArtworkData.h"
#include "PromptThread.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <system_error>

namespace {
const QColor kSlate(0x2f, 0x4a, 0x66);
const QColor kBrick(0xb5, 0x5a, 0x30);
const QColor kPaper(0xf4, 0xf1, 0xea);
// The word's font size in units of the logo's grid.
constexpr qreal kWordSize = 3.4;

QPainterPath wordOutline() {
    using ArtworkData::kLogoWordOutline;
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (int i = 0; i < ArtworkData::kLogoWordOutlineLength; ++i) {
        const ArtworkData::OutlineElement& element = kLogoWordOutline[i];
        const QPointF point(element.x, element.y);
        switch (element.type) {
        case QPainterPath::MoveToElement:
            path.moveTo(point);
            break;
        case QPainterPath::LineToElement:
            path.lineTo(point);
            break;
        case QPainterPath::CurveToElement:
            path.cubicTo(point, QPointF(kLogoWordOutline[i + 1].x, kLogoWordOutline[i + 1].y),
                         QPointF(kLogoWordOutline[i + 2].x, kLogoWordOutline[i + 2].y));
            i += 2;
            break;
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    return path;
}
} // namespace

ProductLogo::ProductLogo(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picLogo"));
    setAccessibleName(QStringLiteral("Logo Talbrin Zelvora"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

QSize ProductLogo::sizeHint() const {
    return {260, 170};
}

QSize ProductLogo::minimumSizeHint() const {
    return {130, 85};
}

ProductLogo::~ProductLogo() {
    if (m_drawing.joinable())
        m_drawing.join();
}

std::optional<QColor> ProductLogo::plainBackground() const {
    for (const QWidget* widget = this; widget; widget = widget->parentWidget()) {
        if (widget->testAttribute(Qt::WA_StyleSheet) || widget->testAttribute(Qt::WA_TranslucentBackground))
            return std::nullopt;
        if (widget->autoFillBackground() || widget->isWindow()) {
            const QBrush brush = widget->palette().brush(widget->backgroundRole());
            if (brush.style() != Qt::SolidPattern || !brush.isOpaque())
                return std::nullopt;
            return brush.color();
        }
    }
    return std::nullopt;
}

void ProductLogo::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    drawAhead();
}

void ProductLogo::drawAhead() {
    if (m_drawingBegun)
        return;
    m_drawingBegun = true;
    const std::optional<QColor> background = plainBackground();
    const qreal ratio = devicePixelRatioF();
    // Drawn in whole pixels only, so that the image is laid on the screen's pixels one to one.
    if (!background || ratio != qreal(qRound(ratio)) || size().isEmpty())
        return;
    const QSize area = size();
    m_drawnOver = *background;
    try {
        m_drawing = PromptThread::start([this, area, ratio, colour = *background] {
            QImage image(area * qRound(ratio), QImage::Format_RGB32);
            image.setDevicePixelRatio(ratio);
            image.fill(colour);
            QPainter painter(&image);
            paint(painter, QRectF(QPointF(0, 0), area));
            painter.end();
            m_drawn = std::move(image);
        });
    } catch (const std::system_error&) {
        // No thread to be had: the logo is painted with the window.
    }
}

void ProductLogo::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_drawing.joinable()) {
        m_drawing.join();
        const QImage drawn = std::exchange(m_drawn, QImage());
        // Drawn for the size and over the colour the logo still has.
        if (drawn.deviceIndependentSize().toSize() == size() && plainBackground() == m_drawnOver) {
            painter.drawImage(QPointF(0, 0), drawn);
            m_paintedAhead = true;
            return;
        }
    }
    paint(painter, rect());
}

void ProductLogo::paint(QPainter& painter, const QRectF& area) {
    const qreal side = qMin(area.width() / 26.0, area.height() / 17.0);
    const QRectF frame(area.center().x() - 13 * side, area.center().y() - 8.5 * side, 26 * side, 17 * side);
    auto at = [&](qreal x, qreal y) { return QPointF(frame.left() + x * side, frame.top() + y * side); };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(frame.topLeft(), frame.bottomLeft());
    sky.setColorAt(0, kPaper);
    sky.setColorAt(1, kPaper.darker(108));
    painter.setPen(QPen(kSlate, side * 0.15));
    painter.setBrush(sky);
    painter.drawRoundedRect(frame.adjusted(side * 0.1, side * 0.1, -side * 0.1, -side * 0.1), side, side);

    QPainterPath roof;
    roof.moveTo(at(5, 5.2));
    roof.lineTo(at(13, 1.6));
    roof.lineTo(at(21, 5.2));
    roof.closeSubpath();
    painter.setPen(QPen(kSlate, side * 0.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(kBrick);
    painter.drawPath(roof);

    painter.setBrush(Qt::NoBrush);
    painter.drawLine(at(5.6, 10.6), at(20.4, 10.6));
    for (int column = 0; column < 4; ++column) {
        const qreal x = 7.2 + column * 3.9;
        painter.drawLine(at(x, 5.8), at(x, 10.0));
    }
    painter.drawLine(at(6, 5.8), at(20, 5.8));

    static const QPainterPath word = wordOutline();
    const QPointF wordCentre = at(13, 13.3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSlate);
    painter.drawPath(
        QTransform(side * kWordSize, 0, 0, side * kWordSize, wordCentre.x(), wordCentre.y()).map(word));
    painter.restore();
}
