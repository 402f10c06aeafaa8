#include "ToolbarIconPainter.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {
const QColor kInk(0x2f, 0x4a, 0x66);
const QColor kAccent(0xb5, 0x5a, 0x30);

void drawGear(QPainter& p) {
    QPainterPath teeth;
    for (int i = 0; i < 8; ++i) {
        const qreal angle = qDegreesToRadians(i * 45.0);
        const QPointF tip(16 + 12.5 * qCos(angle), 16 + 12.5 * qSin(angle));
        teeth.addEllipse(tip, 2.6, 2.6);
    }
    p.setBrush(kInk);
    p.drawPath(teeth);
    p.drawEllipse(QPointF(16, 16), 10, 10);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 4, 4);
}

void drawCompany(QPainter& p) {
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 4, 16, 25));
    p.drawRect(QRectF(20, 12, 9, 17));
    p.setBrush(kAccent);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 2; ++column)
            p.drawRect(QRectF(7.5 + column * 6, 7.5 + row * 5, 3, 3));
}

void drawDatabase(QPainter& p) {
    p.setBrush(Qt::white);
    QPainterPath body;
    body.moveTo(6, 8);
    body.lineTo(6, 24);
    body.arcTo(QRectF(6, 20, 20, 8), 180, 180);
    body.lineTo(26, 8);
    p.drawPath(body);
    p.drawEllipse(QRectF(6, 4, 20, 8));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 12, 20, 8), 180 * 16, 180 * 16);
    p.setPen(QPen(kAccent, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(17, 22), QPointF(21, 27), QPointF(29, 17)}));
}

// A sheet of rows under a magnifying glass: the data handed over for the audit.
void drawAudit(QPainter& p) {
    p.setBrush(Qt::white);
    QPainterPath sheet;
    sheet.moveTo(5, 3);
    sheet.lineTo(18, 3);
    sheet.lineTo(23, 8);
    sheet.lineTo(23, 29);
    sheet.lineTo(5, 29);
    sheet.closeSubpath();
    p.drawPath(sheet);
    for (int row = 0; row < 4; ++row)
        p.drawLine(QPointF(9, 11 + row * 4), QPointF(19, 11 + row * 4));
    p.setPen(QPen(kAccent, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(21, 20), 5.5, 5.5);
    p.drawLine(QPointF(25, 24), QPointF(29.5, 28.5));
}

void drawDisc(QPainter& p) {
    p.setBrush(kInk);
    p.drawEllipse(QPointF(16, 16), 13, 13);
    p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

// The marks are drawn as lines rather than as letters of a font, so that they look the same on every
// machine the program is built on.
void drawInfo(QPainter& p) {
    drawDisc(p);
    p.drawLine(QPointF(16, 14), QPointF(16, 23));
    p.drawPoint(QPointF(16, 9));
}

void drawHelp(QPainter& p) {
    drawDisc(p);
    QPainterPath hook;
    hook.moveTo(11.5, 12);
    hook.arcTo(QRectF(11.5, 7.5, 9, 9), 180, -270);
    hook.quadTo(QPointF(16, 16.5), QPointF(16, 19));
    p.drawPath(hook);
    p.drawPoint(QPointF(16, 23.5));
}

void drawQuit(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kAccent, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(5, 6, 22, 22), 125 * 16, 290 * 16);
    p.drawLine(QPointF(16, 3.5), QPointF(16, 15));
}
} // namespace

QImage ToolbarIconPainter::image(ToolbarIcons::Kind kind) {
    QImage image(ToolbarIcons::kIconSize, ToolbarIcons::kIconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (kind) {
    case ToolbarIcons::Kind::Settings:
        drawGear(p);
        break;
    case ToolbarIcons::Kind::Company:
        drawCompany(p);
        break;
    case ToolbarIcons::Kind::Backup:
        drawDatabase(p);
        break;
    case ToolbarIcons::Kind::Audit:
        drawAudit(p);
        break;
    case ToolbarIcons::Kind::Info:
        drawInfo(p);
        break;
    case ToolbarIcons::Kind::Help:
        drawHelp(p);
        break;
    case ToolbarIcons::Kind::Quit:
        drawQuit(p);
        break;
        break;
    }
    p.end();
    return image;
}
