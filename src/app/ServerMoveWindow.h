#pragma once

#include <functional>
#include <QDialog>

class Dialogs;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Auf Datenbankserver übertragen" (frmAufServerUebertragen): copies every row of the database file into
// an empty database on a server, shows the figures of both sides side by side, and only when they all
// agree offers to work with the server from the next start on. The file stays as it is.
class ServerMoveWindow : public QDialog {
    Q_OBJECT
public:
    // recordServer writes the server's address into PfadZurDatenbank.ini; false when that failed (it
    // has said why).
    ServerMoveWindow(const QString& filePath, Dialogs& dialogs,
                     std::function<bool(const QString&)> recordServer, QWidget* parent = nullptr);

private:
    void transfer();
    void switchToServer();

    QString m_filePath;
    Dialogs& m_dialogs;
    std::function<bool(const QString&)> m_recordServer;
    QLineEdit* m_server = nullptr;
    QPushButton* m_transfer = nullptr;
    QLabel* m_progress = nullptr;
    QPlainTextEdit* m_report = nullptr;
    QPushButton* m_switch = nullptr;
    QString m_transferred;
};
