#pragma once

#include <QPainter>
#include <QWidget>

// The product logo: a public building under a gable roof with the program's name beneath, painted
// rather than loaded so that it scales sharply. The name is filled from its outline in Liberation Sans
// Bold, traced when the program is built.
class ProductLogo : public QWidget {
    Q_OBJECT
public:
    explicit ProductLogo(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Paints the logo into rect.
    static void paint(QPainter& painter, const QRectF& rect);

protected:
    void paintEvent(QPaintEvent* event) override;
};
