#include "ServerMoveWindow.h"

#include "Database.h"
#include "DatabaseLocation.h"
#include "Dialogs.h"
#include "ServerTransfer.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("Auf Datenbankserver übertragen");
}

ServerMoveWindow::ServerMoveWindow(const QString& filePath, Dialogs& dialogs,
                                   std::function<bool(const QString&)> recordServer, QWidget* parent)
    : QDialog(parent), m_filePath(filePath), m_dialogs(dialogs), m_recordServer(std::move(recordServer)) {
    setObjectName(QStringLiteral("frmAufServerUebertragen"));
    setWindowTitle(kTitle);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral("Alle Daten der Datenbankdatei %1 werden in eine leere Datenbank auf dem "
                       "Datenbankserver übertragen, mit ihren Nummern. Die Datei bleibt unverändert.")
            .arg(QDir::toNativeSeparators(filePath)),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Server und Datenbank:"), this);
    m_server = new QLineEdit(this);
    m_server->setObjectName(QStringLiteral("txtServer"));
    m_server->setPlaceholderText(QStringLiteral("postgresql://server.bauamt.local/zlv"));
    label->setBuddy(m_server);
    m_transfer = new QPushButton(QStringLiteral("&Übertragen"), this);
    m_transfer->setObjectName(QStringLiteral("cmdUebertragen"));
    m_transfer->setDefault(true);
    row->addWidget(label);
    row->addWidget(m_server, 1);
    row->addWidget(m_transfer);
    layout->addLayout(row);
    m_progress = new QLabel(this);
    m_progress->setObjectName(QStringLiteral("lblFortschritt"));
    layout->addWidget(m_progress);
    m_report = new QPlainTextEdit(this);
    m_report->setObjectName(QStringLiteral("txtBericht"));
    m_report->setReadOnly(true);
    m_report->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(m_report, 1);
    auto* buttons = new QHBoxLayout;
    m_switch = new QPushButton(QStringLiteral("Ab dem nächsten Start mit dem &Server arbeiten"), this);
    m_switch->setObjectName(QStringLiteral("cmdUmstellen"));
    m_switch->setEnabled(false);
    auto* close = new QPushButton(QStringLiteral("S&chließen"), this);
    close->setObjectName(QStringLiteral("cmdSchliessen"));
    buttons->addWidget(m_switch);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(m_transfer, &QPushButton::clicked, this, &ServerMoveWindow::transfer);
    connect(m_switch, &QPushButton::clicked, this, &ServerMoveWindow::switchToServer);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    resize(720, 520);
}

void ServerMoveWindow::transfer() {
    const QString server = m_server->text().trimmed();
    if (!DatabaseLocation::serverPlace(server)) {
        m_dialogs.inform(this, kTitle,
                         QStringLiteral("Bitte geben Sie den Server und die Datenbank so an: "
                                        "postgresql://server.bauamt.local/zlv"),
                         Dialogs::Icon::Warning);
        return;
    }
    m_switch->setEnabled(false);
    m_transfer->setEnabled(false);
    m_report->clear();
    const QLocale german(QLocale::German, QLocale::Germany);
    ServerTransfer::Report report;
    QString message;
    const auto showProgress = [this](const QString& text) {
        m_progress->setText(text);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    const bool copied = ServerTransfer::run(
        m_filePath, server, report, &message,
        [&](const QString& table, qint64 rows) {
            showProgress(QStringLiteral("%1: %2 Zeilen übertragen").arg(table, german.toString(rows)));
        },
        showProgress);
    m_transfer->setEnabled(true);
    const bool agrees = copied && report.agrees();
    m_progress->setText(!copied ? QStringLiteral("Nicht übertragen.")
                        : agrees
                            ? QStringLiteral("Übertragen: Datei und Server stimmen in allen Zeilen und "
                                             "Summen überein.")
                            : QStringLiteral("Übertragen, aber Datei und Server stimmen nicht überein."));
    if (!report.tables.isEmpty())
        m_report->setPlainText(report.text());
    if (!copied) {
        m_dialogs.inform(this, kTitle, message, Dialogs::Icon::Critical);
        return;
    }
    m_transferred = server;
    m_switch->setEnabled(agrees);
}

void ServerMoveWindow::switchToServer() {
    if (m_transferred.isEmpty() || !m_recordServer(m_transferred))
        return;
    m_switch->setEnabled(false);
    m_dialogs.inform(this, kTitle,
                     QStringLiteral("Ab dem nächsten Start arbeitet Zelvora mit der Datenbank %1. Die "
                                    "Datenbankdatei bleibt unverändert erhalten.")
                         .arg(*DatabaseLocation::serverPlace(m_transferred)),
                     Dialogs::Icon::Information);
}
