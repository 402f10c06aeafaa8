#pragma once

#include <functional>
#include <QObject>

class QLabel;
class QWidget;

// Keeps a screen's lists following the data that other workstations change: refillKeepingView() refills
// them as refill does and puts back what the user saw of each (selection, sort, scroll position); typed
// entries and chosen filters stay as they are, since refill only reads. When the screen's window is
// activated, askForChanges runs (the file is asked whether it was changed).
class FollowedLists : public QObject {
    Q_OBJECT
public:
    FollowedLists(QWidget& screen, std::function<void()> refill, std::function<void()> askForChanges);

    void refillKeepingView();
    // The same with refill given, which tells whether it could read; false when it could not.
    bool refillKeepingViewWith(const std::function<bool()>& refill);
    // following false: shows in the screen's status bar (or below its contents) that the lists no longer
    // follow the other workstations, until following is true again.
    void setFollowing(bool following);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_screen;
    std::function<void()> m_refill;
    std::function<void()> m_askForChanges;
    QLabel* m_notFollowing = nullptr;
};
