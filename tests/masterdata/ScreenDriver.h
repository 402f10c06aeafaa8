#pragma once

#include <QAbstractButton>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>

// Drives a screen's real widgets by their object names, as a user would: typing, clicking, selecting.
class ScreenDriver {
public:
    explicit ScreenDriver(QWidget& screen) : m_screen(screen) {}

    template <typename T> T* find(const QString& name) const { return m_screen.findChild<T*>(name); }
    // Replaces the field's text by typing, then clicks thenClick when given.
    void type(const QString& field, const QString& text, const QString& thenClick = {}) const {
        find<QLineEdit>(field)->clear();
        QTest::keyClicks(find<QLineEdit>(field), text);
        if (!thenClick.isEmpty())
            click(thenClick);
    }
    void click(const QString& name) const { QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton); }
    void clickHeading(const QString& list, int column) const {
        QHeaderView* header = find<QTreeView>(list)->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }
    QString text(const QString& field) const { return find<QLineEdit>(field)->text(); }

    // The texts of one column of a list in display order, joined by commas; column -1: the headings.
    QString column(const QString& list, int column) const {
        QAbstractItemModel* model = find<QTreeView>(list)->model();
        QStringList texts;
        const int count = column < 0 ? model->columnCount() : model->rowCount();
        for (int i = 0; i < count; ++i)
            texts.append(column < 0 ? model->headerData(i, Qt::Horizontal).toString()
                                    : model->index(i, column).data().toString());
        return texts.join(',');
    }
    // Selects the first row whose cell in column reads text (failing the test when there is none), then
    // clicks thenClick when given.
    void select(const QString& list, int column, const QString& text, const QString& thenClick = {}) const {
        QTreeView* view = find<QTreeView>(list);
        const QModelIndexList hits =
            view->model()->match(view->model()->index(0, column), Qt::DisplayRole, text, 1,
                                 Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (hits.isEmpty())
            return QTest::qFail(qPrintable(list + QStringLiteral(" has no row ") + text), __FILE__, __LINE__);
        view->selectionModel()->setCurrentIndex(hits.first(), QItemSelectionModel::ClearAndSelect |
                                                                  QItemSelectionModel::Rows);
        if (!thenClick.isEmpty())
            click(thenClick);
    }

private:
    QWidget& m_screen;
};
