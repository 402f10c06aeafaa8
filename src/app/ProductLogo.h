#pragma once

#include <optional>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <thread>

// The product logo: a public building under a gable roof with the program's name beneath, painted
// rather than loaded so that it scales sharply. The name is filled from its outline in Liberation Sans
// Bold, traced when the program is built.
class ProductLogo : public QWidget {
    Q_OBJECT
public:
    explicit ProductLogo(QWidget* parent = nullptr);
    ~ProductLogo() override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Paints the logo into rect.
    static void paint(QPainter& painter, const QRectF& rect);

    // Begins drawing the first frame's logo on another thread, at the size the logo has, once its size is
    // known (its first resize begins it otherwise).
    void drawAhead();

    // Whether the first frame showed the logo drawn ahead.
    bool paintedAhead() const { return m_paintedAhead; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The colour beneath the logo, where it is one plain colour.
    std::optional<QColor> plainBackground() const;

    // The first frame's logo is drawn on another thread, over the window's colour, from the moment the
    // window's layout gives it its size, while the window's other parts are painted.
    std::thread m_drawing;
    QImage m_drawn;
    QColor m_drawnOver;
    bool m_drawingBegun = false;
    bool m_paintedAhead = false;
};
