#pragma once

#include "ScriptedDialogs.h"
#include "Session.h"
#include "Settings.h"
#include "StoreFixture.h"

#include <memory>
#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

// A screen's surroundings in a test: dialogs answered from a script, a settings file in a folder of its own,
// and the screen's widgets found by object name.
struct ScreenFixture {
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    Settings settings{dir.filePath("zlv.ini")};

    QString file(const QString& name) const { return dir.filePath(name); }
    template <typename T> static T* find(const QObject* window, const QString& name) {
        T* widget = window->findChild<T*>(name);
        if (!widget)
            qWarning("no widget %s", qPrintable(name));
        return widget;
    }
    static void click(const QObject* window, const QString& name) {
        QTest::mouseClick(find<QAbstractButton>(window, name), Qt::LeftButton, {}, QPoint(6, 6));
    }
    // Types text over the field's whole content, as a user who selects it first.
    static void typeOver(const QObject* window, const QString& field, const QString& text) {
        QLineEdit* edit = find<QLineEdit>(window, field);
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, text);
    }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
    // The files written beside the settings file.
    QStringList written() const {
        QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        files.removeAll(QStringLiteral("zlv.ini"));
        return files;
    }
    QString messages() const {
        QStringList texts;
        for (const ScriptedDialogs::Shown& shown : dialogs.shown)
            texts.append(shown.title + ": " + shown.text);
        return texts.join('\n');
    }
};

// A screen opened on a fresh database, driven through its widgets' object names as a user would: typing,
// clicking, selecting; and the database's rows to check against.
template <typename Screen = QWidget> struct DatabaseScreen : ScreenFixture {
    TestDatabase db;
    std::unique_ptr<Session> session;
    std::unique_ptr<Screen> screen;

    template <typename... Extra> Screen& open(Extra&... extra) {
        session = Session::open(db.path());
        screen = std::make_unique<Screen>(*session, dialogs, extra...);
        screen->show();
        return *screen;
    }
    template <typename T> T* find(const QString& name) const {
        return ScreenFixture::find<T>(screen.get(), name);
    }
    // Replaces the field's text by typing, then clicks thenClick when given.
    void type(const QString& field, const QString& text, const QString& thenClick = {}) const {
        find<QLineEdit>(field)->clear();
        QTest::keyClicks(find<QLineEdit>(field), text);
        if (!thenClick.isEmpty())
            click(thenClick);
    }
    void click(const QString& name) const { ScreenFixture::click(screen.get(), name); }
    QString text(const QString& field) const { return find<QLineEdit>(field)->text(); }
    void clickHeading(const QString& list, int column) const {
        QHeaderView* header = find<QTreeView>(list)->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }
    // The texts of one column of a list in display order, joined by commas; column -1: the headings.
    QString column(const QString& list, int column) const {
        QAbstractItemModel* model = find<QTreeView>(list)->model();
        QStringList texts;
        for (int i = 0; i < (column < 0 ? model->columnCount() : model->rowCount()); ++i)
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

    QString rows(const QString& table, const QString& expression) {
        return StoreFixture::joined(db, table, expression);
    }
    // Inserts each row into both the bookings (tblBuchung) and the estimate rows (tblNachtrag).
    void bookings(const QString& columns, const QList<QVariantList>& rows) {
        for (const QVariantList& row : rows)
            for (const QString table : {"tblBuchung", "tblNachtrag"})
                db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (?%3)")
                            .arg(table, columns, QStringLiteral(", ?").repeated(row.size() - 1)),
                        row);
    }
    // expression over the bookings, with the estimate rows' values added when they differ.
    QString bookings(const QString& expression) {
        const QString booked = rows("tblBuchung", expression), added = rows("tblNachtrag", expression);
        return booked == added ? booked : booked + QStringLiteral(" / tblNachtrag: ") + added;
    }
    // Makes every change to tblNachtrag fail, and so any rename's cascade, or lets changes through again.
    void refuseWrites(bool refuse = true) {
        refuse ? StoreFixture::refuse(db, QStringLiteral("tblNachtrag")) : StoreFixture::allow(db);
    }
};
