#include "ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace {
const QColor Ink(0x2f, 0x4a, 0x66);
const QColor Accent(0xb5, 0x5a, 0x30);

void drawGear(QPainter& p) {
    QPainterPath teeth;
    for (int i = 0; i < 8; ++i) {
        const qreal angle = qDegreesToRadians(i * 45.0);
        const QPointF tip(16 + 12.5 * qCos(angle), 16 + 12.5 * qSin(angle));
        teeth.addEllipse(tip, 2.6, 2.6);
    }
    p.setBrush(Ink);
    p.drawPath(teeth);
    p.drawEllipse(QPointF(16, 16), 10, 10);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 4, 4);
}

void drawCompany(QPainter& p) {
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 4, 16, 25));
    p.drawRect(QRectF(20, 12, 9, 17));
    p.setBrush(Accent);
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
    p.setPen(QPen(Accent, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(17, 22), QPointF(21, 27), QPointF(29, 17)}));
}

void drawLetterInCircle(QPainter& p, const QString& letter) {
    p.setBrush(Ink);
    p.drawEllipse(QPointF(16, 16), 13, 13);
    QFont font(QStringLiteral("Liberation Serif"));
    font.setBold(true);
    font.setPixelSize(19);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, letter);
}

void drawQuit(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Accent, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(5, 6, 22, 22), 125 * 16, 290 * 16);
    p.drawLine(QPointF(16, 3.5), QPointF(16, 15));
}
} // namespace

QIcon ToolbarIcons::icon(Kind kind) {
    QIcon icon;
    for (const int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        p.setPen(QPen(Ink, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        switch (kind) {
        case Kind::Settings:
            drawGear(p);
            break;
        case Kind::Company:
            drawCompany(p);
            break;
        case Kind::Backup:
            drawDatabase(p);
            break;
        case Kind::Info:
            drawLetterInCircle(p, QStringLiteral("i"));
            break;
        case Kind::Help:
            drawLetterInCircle(p, QStringLiteral("?"));
            break;
        case Kind::Quit:
            drawQuit(p);
            break;
        }
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
