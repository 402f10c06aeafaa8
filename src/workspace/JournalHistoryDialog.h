#pragma once

#include <QDialog>
#include <QString>

class Dialogs;
class JournalHistoryModel;
class ReportListView;
class Session;

// "Verlauf" (frmVerlauf): the journal's entries of one booking or estimate row, oldest first.
class JournalHistoryDialog : public QDialog {
    Q_OBJECT
public:
    // The history of row (the booking's ID, the estimate row's rowid) of table; caption names the row.
    JournalHistoryDialog(Session& session, const QString& table, qint64 row, const QString& caption,
                         QWidget* parent = nullptr);

    // Shows the history of the row of table modally; tells the user when it cannot be read.
    static void show(Session& session, Dialogs& dialogs, const QString& table, qint64 row,
                     const QString& caption, QWidget* parent);
    JournalHistoryModel* model() const { return m_model; }
    bool readOk() const { return m_ok; }
    QString failure() const { return m_failure; }

private:
    JournalHistoryModel* m_model = nullptr;
    ReportListView* m_list = nullptr;
    bool m_ok = true;
    QString m_failure;
};
