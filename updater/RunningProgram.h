#pragma once

#include <QString>
#include <QStringList>

#include <chrono>

// Ends a running Zlv before its files are replaced.
class RunningProgram {
public:
    enum class Result {
        // No window of the program is open (any more).
        Closed,
        // A window asked to close is still open after the wait.
        StillOpen,
        // There is no X11 display on which to look for the program.
        NoDisplay
    };

    virtual ~RunningProgram();
    virtual Result close() = 0;
};

// Asks every top-level window of an X11 display whose title begins with the program's title to
// close, as a window manager's close button does, and waits a bounded time until they are gone.
class X11RunningProgram : public RunningProgram {
public:
    static QString programTitle() { return QStringLiteral("Talbrin Zelvora"); }

    explicit X11RunningProgram(std::chrono::milliseconds wait = std::chrono::seconds(10),
                               const QString& displayName = QString());
    Result close() override;

    // The titles of the windows asked to close by the last close().
    QStringList askedTitles() const { return m_askedTitles; }

private:
    std::chrono::milliseconds m_wait;
    QString m_displayName;
    QStringList m_askedTitles;
};
