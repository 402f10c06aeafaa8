#pragma once

#include <algorithm>
#include <QAbstractButton>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>

// Drives a window's widgets by object name as a user would: typing, clicking, choosing, selecting; and reads
// its fields and lists back as shown.
class WidgetDriver {
public:
    explicit WidgetDriver(const QObject* window = nullptr) : m_window(window) {}
    virtual ~WidgetDriver() = default;

    template <typename T> T* find(const QString& name) const {
        T* widget = root() ? root()->findChild<T*>(name) : nullptr;
        if (!widget)
            qWarning("no widget %s", qPrintable(name));
        return widget;
    }
    // Clicks the button (failing the test when there is none).
    void click(const QString& name) const {
        auto* button = find<QAbstractButton>(name);
        if (!button)
            return QTest::qFail(qPrintable(QStringLiteral("no button ") + name), __FILE__, __LINE__);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, 6));
    }
    // Replaces the field's text by typing, then clicks thenClick when given.
    void type(const QString& field, const QString& text, const QString& thenClick = {}) const {
        find<QLineEdit>(field)->clear();
        QTest::keyClicks(find<QLineEdit>(field), text);
        if (!thenClick.isEmpty())
            click(thenClick);
    }
    // Types text over the field's whole content, as a user who selects it first.
    void typeOver(const QString& field, const QString& text) const {
        QLineEdit* edit = find<QLineEdit>(field);
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, text);
    }
    QString text(const QString& field) const { return find<QLineEdit>(field)->text(); }
    // Picks the entry reading text in a combo box as a user's choice (failing the test when there is none).
    void choose(const QString& picker, const QString& text) const {
        auto* box = find<QComboBox>(picker);
        const int index = box->findText(text);
        if (index < 0)
            return QTest::qFail(qPrintable(picker + QStringLiteral(" has no entry ") + text), __FILE__,
                                __LINE__);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    QStringList items(const QString& picker) const {
        auto* box = find<QComboBox>(picker);
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts.append(box->itemText(i));
        return texts;
    }
    void clickHeading(const QString& list, int column) const {
        QHeaderView* header = find<QTreeView>(list)->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }
    // The texts of one column of a list in display order, joined by separator; column -1: the headings.
    QString column(const QString& list, int column, QChar separator = ',') const {
        QAbstractItemModel* model = find<QTreeView>(list)->model();
        QStringList texts;
        for (int i = 0; i < (column < 0 ? model->columnCount() : model->rowCount()); ++i)
            texts.append(column < 0 ? model->headerData(i, Qt::Horizontal).toString()
                                    : model->index(i, column).data().toString());
        return texts.join(separator);
    }
    // Each row of a list as shown, its cells joined by "|"; of the first columns only, when given.
    QStringList rows(const QString& list, int columns = -1) const {
        QAbstractItemModel* model = find<QTreeView>(list)->model();
        QStringList texts;
        const int shown = columns < 0 ? model->columnCount() : std::min(columns, model->columnCount());
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < shown; ++column)
                cells.append(model->index(row, column).data().toString());
            texts.append(cells.join('|'));
        }
        return texts;
    }
    void selectRow(const QString& list, int row) const {
        QTreeView* view = find<QTreeView>(list);
        view->selectionModel()->setCurrentIndex(
            view->model()->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
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

protected:
    // The window driven: the one given, or the screen a fixture opens.
    virtual const QObject* root() const { return m_window; }

private:
    const QObject* m_window;
};
