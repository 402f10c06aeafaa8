#pragma once

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>
#include <QWidget>

// Drives a screen's real widgets by their object names, as a user would: typing, clicking, selecting.
class ScreenDriver {
public:
    explicit ScreenDriver(QWidget& screen) : m_screen(screen) {}

    template <typename T> T* find(const QString& name) const { return m_screen.findChild<T*>(name); }

    // Replaces the field's text by typing.
    void type(const QString& field, const QString& text) const {
        QLineEdit* edit = find<QLineEdit>(field);
        if (!edit)
            qFatal("no field %s", qPrintable(field));
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    void click(const QString& button) const {
        QAbstractButton* target = find<QAbstractButton>(button);
        if (!target)
            qFatal("no button %s", qPrintable(button));
        QTest::mouseClick(target, Qt::LeftButton);
    }
    QString text(const QString& field) const { return find<QLineEdit>(field)->text(); }

    // The texts of one column of a list, in display order.
    QStringList column(const QString& list, int column) const {
        QAbstractItemModel* model = find<QTreeView>(list)->model();
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            texts.append(model->index(row, column).data().toString());
        return texts;
    }
    QStringList headings(const QString& list) const {
        QAbstractItemModel* model = find<QTreeView>(list)->model();
        QStringList texts;
        for (int section = 0; section < model->columnCount(); ++section)
            texts.append(model->headerData(section, Qt::Horizontal).toString());
        return texts;
    }
    // Selects the first row whose cell in column reads text; false when there is none.
    bool select(const QString& list, int column, const QString& text) const {
        QTreeView* view = find<QTreeView>(list);
        QAbstractItemModel* model = view->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, column);
            if (index.data().toString() == text) {
                view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                   QItemSelectionModel::Rows);
                return true;
            }
        }
        return false;
    }

private:
    QWidget& m_screen;
};
