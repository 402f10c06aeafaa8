#include "FittedColumns.h"

#include <algorithm>
#include <limits>
#include <QEvent>
#include <QHeaderView>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTreeView>
#include <utility>

FittedColumns::FittedColumns(QTreeView& view, const QList<int>& unshrinkable)
    : QObject(&view), m_view(view), m_unshrinkable(unshrinkable) {
    m_view.viewport()->installEventFilter(this);
    m_view.installEventFilter(this);
    QAbstractItemModel* model = m_view.model();
    connect(model, &QAbstractItemModel::modelReset, this, &FittedColumns::rowsChanged);
    connect(model, &QAbstractItemModel::layoutChanged, this, &FittedColumns::rowsChanged);
    connect(model, &QAbstractItemModel::rowsInserted, this, &FittedColumns::rowsChanged);
    connect(model, &QAbstractItemModel::dataChanged, this, [this] { m_measured.clear(); });
    connect(m_view.header(), &QHeaderView::sectionResized, this, [this] {
        if (!m_fitting)
            m_active = false;
    });
}

bool FittedColumns::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view.viewport() && event->type() == QEvent::Resize) {
        if (!sameWidthsAt(static_cast<const QResizeEvent*>(event)->size().width()))
            fit();
    } else if (watched == &m_view && event->type() == QEvent::Show && std::exchange(m_waiting, false))
        fit();
    return QObject::eventFilter(watched, event);
}

void FittedColumns::rowsChanged() {
    m_measured.clear();
    fit();
}

void FittedColumns::fit() {
    const int available = m_view.viewport()->width();
    if (!m_active || available <= 0)
        return;
    m_fittedWidth = -1;
    // A hidden list would measure a thousand rows of texts for widths that its showing measures again.
    if (!m_view.isVisible()) {
        m_waiting = true;
        return;
    }
    // Made wider or narrower, or a scroll bar come or gone, the list shares its new width among what
    // its texts were measured to need: measured again, they would need the same.
    if (!measuredStillHolds()) {
        m_measured.clear();
        const QHeaderView* header = m_view.header();
        for (int column = 0; column < header->count(); ++column) {
            if (header->isSectionHidden(column))
                continue;
            const int heading = header->sectionSizeHint(column);
            const int needed =
                std::max(static_cast<const QAbstractItemView&>(m_view).sizeHintForColumn(column), heading);
            const int least = m_unshrinkable.contains(column) ? needed : std::min(needed, heading);
            m_measured.append({column, needed, least});
        }
    }
    share(available);
}

void FittedColumns::share(int available) {
    int total = 0;
    for (const Column& column : std::as_const(m_measured))
        total += column.needed;
    // Too little room: the text columns are cut to a common largest width, as wide as the room allows.
    int cap = std::numeric_limits<int>::max();
    if (total > available) {
        const auto widthWith = [this](int limit) {
            int sum = 0;
            for (const Column& column : std::as_const(m_measured))
                sum += std::max(column.least, std::min(column.needed, limit));
            return sum;
        };
        int low = 0;
        int high = available;
        while (low < high) {
            const int middle = (low + high + 1) / 2;
            if (widthWith(middle) <= available)
                low = middle;
            else
                high = middle - 1;
        }
        cap = low;
    }
    m_fitting = true;
    for (const Column& column : std::as_const(m_measured))
        m_view.setColumnWidth(column.index, std::max(column.least, std::min(column.needed, cap)));
    m_fitting = false;
    m_fittedWidth = available;
}

bool FittedColumns::sameWidthsAt(int width) const {
    return width == m_fittedWidth && m_active && measuredStillHolds();
}

bool FittedColumns::measuredStillHolds() const {
    // The view measures the texts of a fixed number of rows around those in view: from the top, or in
    // a list of no more rows, that is the same rows whatever the list's height.
    const int measured = m_view.header()->resizeContentsPrecision();
    return !m_measured.isEmpty() &&
           (m_view.verticalScrollBar()->value() == 0 || m_view.model()->rowCount() <= measured);
}
