#pragma once

#include <array>
#include <map>
#include <memory>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>
#include <unordered_map>

class QPaintDevice;

// The measurements of a document's texts on one paint device, kept while its pages are painted: each
// font's metrics made once, each text measured once per font, and how a text too wide for its cell is
// set found once per font, text and cell.
class TextMeasurements {
public:
    class Font;
    // How a cell's text is set: in the row's font or in it at a smaller size, on one or two lines.
    struct CellText {
        Font* font = nullptr;
        int lineCount = 0;
        std::array<QString, 2> lines;
        std::array<qreal, 2> widths{};
    };

    // One font on the device, with the widths of the texts measured in it.
    class Font {
    public:
        Font(const QFont& font, const QPaintDevice* device) : m_font(font), m_metrics(font, device) {}
        const QFont& font() const { return m_font; }
        const QFontMetricsF& metrics() const { return m_metrics; }
        qreal width(const QString& text);

    private:
        friend class TextMeasurements;
        struct CellKey {
            QString text;
            qreal room = 0;
            qreal lineRoom = 0;
            bool operator==(const CellKey& other) const = default;
            friend size_t qHash(const CellKey& key, size_t seed) {
                return qHashMulti(seed, key.text, key.room, key.lineRoom);
            }
        };
        QFont m_font;
        QFontMetricsF m_metrics;
        QHash<QString, qreal> m_widths;
        std::map<qreal, Font*> m_sizes;
        QHash<CellKey, CellText> m_cells;
    };

    explicit TextMeasurements(const QPaintDevice* device) : m_device(device) {}

    Font& font(const QFont& font);
    // The font at another point size; the font itself at its own size.
    Font& atSize(Font& font, qreal size);
    // The whole text inside the room if at all possible: on one line in the row's font, else in a smaller
    // font down to 6 points, else on two lines in the largest such font whose two lines fit lineRoom;
    // only a text that does not fit even so is cut, ending in "…".
    CellText cell(Font& row, const QString& text, qreal room, qreal lineRoom);

private:
    CellText setSmaller(Font& row, const QString& text, qreal room, qreal lineRoom);
    static qsizetype breakPosition(const QFontMetricsF& metrics, const QString& text, qreal room);

    const QPaintDevice* m_device;
    std::unordered_map<QString, std::unique_ptr<Font>> m_fonts;
};
