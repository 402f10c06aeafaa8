#pragma once

#include <QPushButton>
#include <QSet>
#include <QString>

struct WorkspaceContext;

// The note in the workspace's status bar that rows of the project whose amount cannot be read (a text
// such as "abc", a number beyond any amount) are left out of every sum; a click lists them with their
// running numbers and stored texts. The first time a project has such rows, a message says so.
class UnreadableAmountsNotice : public QPushButton {
    Q_OBJECT
public:
    UnreadableAmountsNotice(WorkspaceContext& context, QWidget* parent = nullptr);

    // Reads the project's rows with an unreadable amount afresh and shows or hides the note.
    void check();
    // The list the click shows: one line per row, its running number, company and stored text.
    QString details() const { return m_details; }

private:
    void showDetails();

    WorkspaceContext& m_context;
    QString m_details;
    QSet<QString> m_announced;
};
