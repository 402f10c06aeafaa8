#pragma once

#include <QObject>

// Watches the application for the first frame of a top-level window of the given class: its first paint
// event, once the paint has been finished and handed to the window system. With awaitConfirmation it also
// waits for confirm(). Emits ready() once, when all it waits for has happened; the start-up benchmark
// times its child processes by the line that reportOnStandardOutput() prints then.
class FirstFrameReporter : public QObject {
    Q_OBJECT
public:
    FirstFrameReporter(const char* windowClass, bool awaitConfirmation, QObject* parent = nullptr);

    bool isReady() const { return m_ready; }
    bool hasFramed() const { return m_framed; }
    // From ready() on: prints "ready" on standard output and ends the event loop.
    void reportOnStandardOutput();

    static constexpr const char* kReadyLine = "ready";

public slots:
    void confirm();

signals:
    void ready();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void frameFinished();
    void checkReady();

    const char* m_windowClass;
    bool m_awaitConfirmation;
    bool m_paintSeen = false;
    bool m_framed = false;
    bool m_confirmed = false;
    bool m_ready = false;
};
