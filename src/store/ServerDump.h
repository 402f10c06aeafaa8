#pragma once

#include <memory>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTemporaryFile>

// A dump of a whole database on a server into a file, made by pg_dump while the event loop runs: written
// to a scratch file beside the chosen one and put in its place only when complete, so that a failed or
// cancelled dump leaves the file that was there before untouched and nothing of its own behind.
class ServerDump : public QObject {
    Q_OBJECT

public:
    enum class Outcome { Running, Done, Failed, Cancelled };

    ServerDump(const QString& location, const QString& path, QObject* parent = nullptr);
    ~ServerDump() override;

    // Starts pg_dump; false, with the German reason, when it cannot start here (finished() is not sent).
    bool start();
    // Ends a running dump; finished() follows with Outcome::Cancelled.
    void cancel();

    Outcome outcome() const { return m_outcome; }
    // The German reason of a dump that failed or could not start.
    QString reason() const { return m_reason; }

signals:
    void finished();

private:
    void end(int exitCode, QProcess::ExitStatus status);
    void conclude(Outcome outcome, const QString& reason);

    QString m_location;
    QString m_path;
    QProcess m_process;
    std::unique_ptr<QTemporaryFile> m_scratch;
    Outcome m_outcome = Outcome::Running;
    QString m_reason;
    bool m_cancelled = false;
};
