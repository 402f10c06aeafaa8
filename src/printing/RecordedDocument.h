#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPicture>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <variant>
#include <vector>

class QPainter;
class TextMeasurements;

// One cell of a table row: its alignment and its text, read from the row notation "code text".
struct TableCell {
    Qt::Alignment alignment = Qt::AlignLeft;
    QString text;

    // "m" centres, "L" left-aligns, "R" and "r" right-align; one blank after the code is dropped. A text
    // that does not begin with a code is printed whole, left-aligned.
    static TableCell parse(const QString& cell);
    // The cells of a row text, separated by "|".
    static QList<TableCell> parseRow(const QString& row);
};

// A document as the print engine built it: its pages, each a list of paint commands in tenths of a
// millimetre from the page's top left corner. Painting it again gives the same pages, so a preview can
// re-render and the page count is known before the first page is painted.
class RecordedDocument {
public:
    struct Text {
        QString text;
        QFont font;
        qreal centreX = 0;
        qreal top = 0;
    };
    struct Row {
        QList<TableCell> cells;
        QList<int> columnWidths;
        QFont font;
        QRectF rect;
        QColor fill;
        QColor lineColour;
        QColor shadowColour;
        bool heading = false;
        bool shadow = false;
        bool outline = false;
        bool cellLines = false;
    };
    struct Frame {
        QRectF rect;
        QColor colour;
    };
    struct Picture {
        QPicture picture;
        QRectF rect;
    };
    using Command = std::variant<Text, Row, Frame, Picture>;

    // Starts with one empty page.
    RecordedDocument();

    void add(Command command);
    void newPage();
    int pageCount() const { return int(m_pages.size()); }
    const std::vector<Command>& page(int index) const { return m_pages.at(std::size_t(index)); }

    // Paints one page on a painter whose device holds the whole paper (no margins), with the measurements
    // of that device kept across the pages.
    void paintPage(QPainter& painter, int index, TextMeasurements& measurements) const;
    // The smallest rectangle around everything drawn on any page, lines' and frames' widths included.
    QRectF contentBounds() const;

private:
    std::vector<std::vector<Command>> m_pages;
};
