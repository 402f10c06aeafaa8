#include "FollowedLists.h"

#include "ReportListView.h"

#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QList>
#include <QStatusBar>
#include <QWidget>

FollowedLists::FollowedLists(QWidget& screen, std::function<void()> refill,
                             std::function<void()> askForChanges)
    : QObject(&screen), m_screen(screen), m_refill(std::move(refill)),
      m_askForChanges(std::move(askForChanges)) {
    screen.installEventFilter(this);
}

void FollowedLists::refillKeepingView() {
    refillKeepingViewWith([this] {
        m_refill();
        return true;
    });
}

bool FollowedLists::refillKeepingViewWith(const std::function<bool()>& refill) {
    const QList<ReportListView*> lists = m_screen.findChildren<ReportListView*>();
    QList<ReportListView::View> views;
    for (const ReportListView* list : lists)
        views += list->view();
    const bool read = refill();
    for (qsizetype i = 0; i < lists.size(); ++i)
        lists.at(i)->restore(views.at(i));
    return read;
}

void FollowedLists::setFollowing(bool following) {
    if (following) {
        delete m_notFollowing;
        m_notFollowing = nullptr;
        return;
    }
    if (m_notFollowing)
        return;
    auto* statusBar = m_screen.findChild<QStatusBar*>();
    m_notFollowing = new QLabel(QStringLiteral("Verbindung zum Datenbankserver unterbrochen – Listen werden "
                                               "nicht aktualisiert"),
                                statusBar ? static_cast<QWidget*>(statusBar) : &m_screen);
    m_notFollowing->setObjectName(QStringLiteral("lblVerbindung"));
    m_notFollowing->setTextFormat(Qt::PlainText);
    QPalette colours = m_notFollowing->palette();
    colours.setColor(QPalette::WindowText, Qt::darkRed);
    m_notFollowing->setPalette(colours);
    if (statusBar)
        statusBar->addPermanentWidget(m_notFollowing);
    else if (m_screen.layout())
        m_screen.layout()->addWidget(m_notFollowing);
    m_notFollowing->show();
}

bool FollowedLists::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_screen && event->type() == QEvent::WindowActivate && m_askForChanges)
        m_askForChanges();
    return QObject::eventFilter(watched, event);
}
