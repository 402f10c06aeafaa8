#pragma once

#include "Dialogs.h"

#include <QStringList>

// Dialogs for the benchmarks: never shows a window, answers every question with No and keeps the texts,
// so that a screen that reports a failure makes the measurement fail instead of waiting for a click.
class RecordingDialogs : public Dialogs {
public:
    Answer ask(QWidget*, const QString& title, const QString& text, Icon, Answer) override {
        m_texts << title + QStringLiteral(": ") + text;
        return Answer::No;
    }
    int choose(QWidget*, const QString& title, const QString& text, Icon,
               const QStringList& buttons) override {
        m_texts << title + QStringLiteral(": ") + text;
        return int(buttons.size()) - 1;
    }
    bool askLogin(QWidget*, const QString& server, QString&, QString&) override {
        m_texts << server;
        return false;
    }
    QStringList chooseFromLists(QWidget*, const QString& title, const QString& text, const QStringList&,
                                const QList<QStringList>&) override {
        m_texts << title + QStringLiteral(": ") + text;
        return {};
    }
    void inform(QWidget*, const QString& title, const QString& text, Icon) override {
        m_texts << title + QStringLiteral(": ") + text;
    }
    QString chooseFileToOpen(QWidget*, const QString& title, const QString&, const QString&) override {
        m_texts << title;
        return {};
    }
    QString showSaveDialog(QWidget*, const QString& title, const QString&, const QString&,
                           QString&) override {
        m_texts << title;
        return {};
    }

    const QStringList& texts() const { return m_texts; }

private:
    QStringList m_texts;
};
