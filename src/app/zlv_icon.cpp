// Build tool: paints the product logo into the program's icon, a square PNG with a transparent
// background, for the desktop entry of the package.

#include "ProductLogo.h"

#include <cstdio>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zlv_icon <PNG file to write>\n");
        return 2;
    }
    constexpr int kSize = 256;
    QImage icon(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    ProductLogo::paint(painter, QRectF(0, 0, kSize, kSize));
    painter.end();
    if (!icon.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "zlv_icon: %s cannot be written\n", argv[1]);
        return 1;
    }
    return 0;
}
