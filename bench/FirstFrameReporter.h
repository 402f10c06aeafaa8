#pragma once

#include <QObject>

// Watches the application for the first top-level window shown that is of the given class, prints
// "shown" on standard output at once and ends the event loop; the start-up benchmark times its child
// processes by this line.
class FirstShowReporter : public QObject {
    Q_OBJECT
public:
    explicit FirstShowReporter(const char* windowClass, QObject* parent = nullptr);

    bool hasSeenShow() const { return m_seen; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const char* m_windowClass;
    bool m_seen = false;
};
