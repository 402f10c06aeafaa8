#pragma once

#include "ScreenDriver.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"

#include <memory>

// A fresh database and scripted dialogs; open() then builds the screen under test on them and shows it.
template <typename Screen> struct ScreenFixture {
    TestDatabase db;
    ScriptedDialogs dialogs;
    std::unique_ptr<Screen> screen;

    template <typename... Extra> ScreenDriver open(Extra&... extra) {
        screen = std::make_unique<Screen>(db.path(), dialogs, extra...);
        screen->show();
        return ScreenDriver(*screen);
    }
    // The values of expression over table's rows in order of entry, joined by commas.
    QString rows(const QString& table, const QString& expression) {
        return db.scalar(QStringLiteral("SELECT group_concat(%2, ',') FROM (SELECT * FROM %1 ORDER BY rowid)")
                             .arg(table, expression));
    }
    // Rows answering the question Yes and No, with what is left after each.
    static void answerRows(const QString& leftAfterYes, const QString& leftAfterNo) {
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<QString>("left");
        QTest::newRow("yes") << Dialogs::Answer::Yes << leftAfterYes;
        QTest::newRow("no") << Dialogs::Answer::No << leftAfterNo;
    }
    // The dialogs shown, each as "title|text", one a line.
    QString shown() const {
        QStringList texts;
        for (const ScriptedDialogs::Shown& dialog : dialogs.shown)
            texts.append(dialog.title + '|' + dialog.text);
        return texts.join('\n');
    }
    // Whether the last dialog shown was a question with this icon and default button.
    bool asked(Dialogs::Icon icon, Dialogs::Answer defaultButton) const {
        return !dialogs.shown.isEmpty() && dialogs.shown.constLast().icon == icon &&
               dialogs.shown.constLast().defaultButton == defaultButton;
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
        db.exec(refuse
                    ? "CREATE TRIGGER refuse BEFORE UPDATE ON tblNachtrag BEGIN SELECT RAISE(ABORT, 'x'); END"
                    : "DROP TRIGGER IF EXISTS refuse");
    }
};
