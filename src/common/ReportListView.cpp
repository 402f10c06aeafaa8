#include "ReportListView.h"

#include "TextTableModel.h"
#include "Twips.h"

#include <list>
#include <QApplication>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <utility>

namespace {

// Rows as tall as the font needs, with the style's margins above and below the text, so that the dots
// of capital umlauts ("Öffentliche Erschließung") and descenders are never cut. A text's size is laid
// out once and kept for the same font and style, by all lists of the program: fitting the columns
// measures a thousand rows of each column, and the same running numbers, dates, names and trades come
// again and again, in a list, when it is filled again, and in the lists of the next project opened.
class FontRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QWidget* view = option.widget;
        QStyle* style = view ? view->style() : QApplication::style();
        constexpr auto kLaidOutAlone = QStyleOptionViewItem::WrapText | QStyleOptionViewItem::HasDecoration |
                                       QStyleOptionViewItem::HasCheckIndicator;
        if ((item.features & kLaidOutAlone) || index.data(Qt::SizeHintRole).isValid())
            return withMargins(QStyledItemDelegate::sizeHint(option, index), option);
        QHash<Key, QSize>& sizes = keptFor(style, item.font);
        const Key key{item.text, (quint64(item.displayAlignment.toInt()) << 32) | quint64(item.features)};
        const auto known = sizes.constFind(key);
        if (known != sizes.cend())
            return known.value();
        const QSize size =
            withMargins(style->sizeFromContents(QStyle::CT_ItemViewItem, &item, QSize(), view), option);
        sizes.insert(key, size);
        return size;
    }

private:
    using Key = std::pair<QString, quint64>;
    static constexpr qsizetype kKeptSizes = 50000;
    static constexpr qsizetype kKeptFonts = 4;

    struct Kept {
        QPointer<QStyle> style;
        QFont font;
        QHash<Key, QSize> sizes;
    };

    // The sizes kept for a style and font, for at most a few of them; none kept of a style since gone.
    static QHash<Key, QSize>& keptFor(QStyle* style, const QFont& font) {
        static std::list<Kept> kept;
        kept.remove_if([](const Kept& entry) { return entry.style.isNull(); });
        for (Kept& entry : kept) {
            if (entry.style == style && entry.font == font) {
                if (entry.sizes.size() > kKeptSizes)
                    entry.sizes.clear();
                return entry.sizes;
            }
        }
        if (qsizetype(kept.size()) >= kKeptFonts)
            kept.pop_front();
        return kept.emplace_back(Kept{style, font, {}}).sizes;
    }

    static QSize withMargins(QSize size, const QStyleOptionViewItem& option) {
        const QWidget* view = option.widget;
        const int margin = view ? view->style()->pixelMetric(QStyle::PM_FocusFrameVMargin, &option, view) : 1;
        size.setHeight(qMax(size.height(), option.fontMetrics.height() + 2 * (margin + 1)));
        return size;
    }
};

} // namespace

ReportListView::ReportListView(const QString& objectName, QWidget* parent) : QTreeView(parent) {
    setObjectName(objectName);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAlternatingRowColors(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemsExpandable(false);
    header()->setStretchLastSection(false);
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(-1, Qt::AscendingOrder);
    setItemDelegate(new FontRowDelegate(this));
    // The header turns its arrow on a click by itself; the screen decides what the click sorts.
    connect(header(), &QHeaderView::sectionClicked, this, &ReportListView::showSortArrow);
}

void ReportListView::setColumnWidthsInTwips(const QList<int>& widths) {
    for (int column = 0; column < widths.size(); ++column)
        setColumnWidth(column, Twips::toPixelsX(widths.at(column), *this));
    m_givenTwips = widths + m_givenTwips.mid(widths.size());
}

QList<int> ReportListView::columnWidthsInTwips(int count) const {
    QList<int> widths;
    for (int column = 0; column < count; ++column) {
        const int pixels = columnWidth(column);
        const int given = column < m_givenTwips.size() ? m_givenTwips.at(column) : -1;
        widths.append(given >= 0 && Twips::toPixelsX(given, *this) == pixels
                          ? given
                          : Twips::fromPixelsX(pixels, *this));
    }
    return widths;
}

void ReportListView::sortBy(int heading, int sortColumn, Qt::SortOrder order) {
    if (model())
        model()->sort(sortColumn, order);
    setSortArrow(heading, order);
    m_sortColumn = sortColumn;
}

namespace {
QString keyOf(const TextTableModel& model, int row) {
    const qint64 id = model.idAt(row);
    return id != 0 ? QString::number(id) : model.textAt(row, 0);
}
} // namespace

ReportListView::View ReportListView::view() const {
    View view{QString(), m_sortHeading, m_sortColumn, m_sortOrder, verticalScrollBar()->value()};
    const auto* rows = qobject_cast<const TextTableModel*>(model());
    if (rows && selectedRow() >= 0)
        view.selected = keyOf(*rows, selectedRow());
    return view;
}

void ReportListView::restore(const View& view) {
    if (view.sortColumn >= 0)
        sortBy(view.heading, view.sortColumn, view.order);
    const auto* rows = qobject_cast<const TextTableModel*>(model());
    for (int row = 0; rows && !view.selected.isNull() && row < rows->rowCount(); ++row) {
        if (keyOf(*rows, row) == view.selected) {
            selectionModel()->setCurrentIndex(rows->index(row, 0), QItemSelectionModel::ClearAndSelect |
                                                                       QItemSelectionModel::Rows);
            break;
        }
    }
    verticalScrollBar()->setValue(view.scroll);
}

void ReportListView::setSortArrow(int heading, Qt::SortOrder order) {
    m_sortHeading = heading;
    m_sortColumn = -1;
    m_sortOrder = order;
    showSortArrow();
}

void ReportListView::showSortArrow() {
    header()->setSortIndicator(m_sortHeading, m_sortOrder);
}

int ReportListView::widthOfColumns() const {
    return header()->length() + 2 * frameWidth() +
           style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

int ReportListView::selectedRow() const {
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ReportListView::setOutdated(bool outdated) {
    if (outdated == isOutdated())
        return;
    if (!outdated) {
        delete m_outdatedNote;
        m_outdatedNote = nullptr;
        setPalette(QPalette());
        setAccessibleDescription(QString());
        return;
    }
    m_outdatedNote = new QLabel(QStringLiteral("Nicht aktuell: Die Daten konnten nicht gelesen werden. Die "
                                               "Liste zeigt den zuletzt gelesenen Stand."),
                                this);
    m_outdatedNote->setObjectName(QStringLiteral("lblNichtAktuell"));
    m_outdatedNote->setWordWrap(true);
    m_outdatedNote->setAutoFillBackground(true);
    m_outdatedNote->setMargin(4);
    QPalette notePalette = m_outdatedNote->palette();
    notePalette.setColor(QPalette::Window, palette().color(QPalette::ToolTipBase));
    notePalette.setColor(QPalette::WindowText, palette().color(QPalette::ToolTipText));
    m_outdatedNote->setPalette(notePalette);
    QPalette greyed = palette();
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText})
        greyed.setColor(QPalette::Active, role, greyed.color(QPalette::Disabled, role));
    greyed.setColor(QPalette::Inactive, QPalette::Text, greyed.color(QPalette::Disabled, QPalette::Text));
    setPalette(greyed);
    setAccessibleDescription(m_outdatedNote->text());
    placeNote();
    m_outdatedNote->show();
}

bool ReportListView::isOutdated() const {
    return m_outdatedNote != nullptr;
}

void ReportListView::resizeEvent(QResizeEvent* event) {
    QTreeView::resizeEvent(event);
    placeNote();
}

void ReportListView::placeNote() {
    if (!m_outdatedNote)
        return;
    const QRect area = viewport()->geometry();
    const int height = m_outdatedNote->heightForWidth(area.width());
    m_outdatedNote->setGeometry(area.left(), area.bottom() + 1 - height, area.width(), height);
    m_outdatedNote->raise();
}
