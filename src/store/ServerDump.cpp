#include "ServerDump.h"

#include "PostgresLink.h"
#include "ServerAddress.h"
#include "SystemErrorText.h"

#include <filesystem>
#include <QDir>
#include <QFileInfo>
#include <system_error>

namespace {

// The marks of a scratch file: ".05.12.2026_zlv.dump.AbCxYz.zlv-tmp".
QString scratchTemplate(const QFileInfo& target) {
    return target.absoluteDir().filePath(QLatin1Char('.') + target.fileName() +
                                         QStringLiteral(".XXXXXX.zlv-tmp"));
}

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(QDir::toNativeSeparators(path).toStdU16String());
}

} // namespace

ServerDump::ServerDump(const QString& location, const QString& path, QObject* parent)
    : QObject(parent), m_location(location), m_path(path) {
    connect(&m_process, &QProcess::finished, this, &ServerDump::end);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart && m_outcome == Outcome::Running)
            conclude(Outcome::Failed, QStringLiteral("Das Sicherungsprogramm pg_dump konnte nicht "
                                                     "gestartet werden (%1).")
                                          .arg(m_process.errorString()));
    });
}

ServerDump::~ServerDump() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool ServerDump::start() {
    const ServerAddress address = ServerAddress::parse(m_location);
    const PostgresLink::DumpCommand command = PostgresLink::dumpCommand(address);
    if (command.program.isEmpty()) {
        m_outcome = Outcome::Failed;
        m_reason = command.reason;
        return false;
    }
    // Created here, exclusively: pg_dump writes into a file no one else holds.
    const QFileInfo target(m_path);
    m_scratch = std::make_unique<QTemporaryFile>(scratchTemplate(target));
    if (!m_scratch->open()) {
        m_outcome = Outcome::Failed;
        m_reason = QStringLiteral("Im Ordner '%1' kann keine Datei angelegt werden (%2).")
                       .arg(QDir::toNativeSeparators(target.absolutePath()), SystemErrorText::of(*m_scratch));
        m_scratch.reset();
        return false;
    }
    m_scratch->close();
    m_process.setProcessEnvironment(command.environment);
    m_process.setProgram(command.program);
    m_process.setArguments(command.arguments +
                           QStringList{QStringLiteral("--file=") + m_scratch->fileName()});
    m_process.start();
    return true;
}

void ServerDump::cancel() {
    if (m_outcome != Outcome::Running)
        return;
    m_cancelled = true;
    if (m_process.state() != QProcess::NotRunning)
        m_process.kill();
}

void ServerDump::end(int exitCode, QProcess::ExitStatus status) {
    if (m_outcome != Outcome::Running)
        return;
    if (m_cancelled) {
        conclude(Outcome::Cancelled, QStringLiteral("Die Sicherung wurde abgebrochen."));
        return;
    }
    const QString place = ServerAddress::parse(m_location).place();
    if (status != QProcess::NormalExit || exitCode != 0) {
        const QString words = QString::fromLocal8Bit(m_process.readAllStandardError()).trimmed();
        QString reason = QStringLiteral("Die Sicherung der Datenbank %1 ist fehlgeschlagen.").arg(place);
        if (!words.isEmpty())
            reason += QStringLiteral(" (") + words + u')';
        conclude(Outcome::Failed, reason);
        return;
    }
    std::error_code error;
    std::filesystem::rename(toPath(m_scratch->fileName()), toPath(QFileInfo(m_path).absoluteFilePath()),
                            error);
    if (error) {
        conclude(
            Outcome::Failed,
            QStringLiteral("Die Sicherung der Datenbank %1 konnte nicht unter '%2' abgelegt werden (%3).")
                .arg(place, QDir::toNativeSeparators(m_path), SystemErrorText::of(error)));
        return;
    }
    m_scratch->setAutoRemove(false);
    conclude(Outcome::Done, QString());
}

void ServerDump::conclude(Outcome outcome, const QString& reason) {
    // A scratch file not put in place is removed with its object.
    if (outcome != Outcome::Done)
        m_scratch.reset();
    m_outcome = outcome;
    m_reason = reason;
    emit finished();
}
