#include "FollowedLists.h"

#include "ReportListView.h"

#include <QEvent>
#include <QList>
#include <QWidget>

FollowedLists::FollowedLists(QWidget& screen, std::function<void()> refill,
                             std::function<void()> askForChanges)
    : QObject(&screen), m_screen(screen), m_refill(std::move(refill)),
      m_askForChanges(std::move(askForChanges)) {
    screen.installEventFilter(this);
}

void FollowedLists::refillKeepingView() {
    const QList<ReportListView*> lists = m_screen.findChildren<ReportListView*>();
    QList<ReportListView::View> views;
    for (const ReportListView* list : lists)
        views += list->view();
    m_refill();
    for (qsizetype i = 0; i < lists.size(); ++i)
        lists.at(i)->restore(views.at(i));
}

bool FollowedLists::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_screen && event->type() == QEvent::WindowActivate && m_askForChanges)
        m_askForChanges();
    return QObject::eventFilter(watched, event);
}
