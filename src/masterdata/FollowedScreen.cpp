#include "FollowedScreen.h"

#include "ChangeWatch.h"
#include "FollowedLists.h"

#include <QWidget>

void FollowedScreen::follow(ChangeWatch& watch, QWidget& screen, std::function<void()> refill) {
    auto* lists = new FollowedLists(screen, std::move(refill), [&watch] { watch.check(); });
    QObject::connect(&watch, &ChangeWatch::changed, lists, &FollowedLists::refillKeepingView);
    QObject::connect(&watch, &ChangeWatch::followingChanged, lists, &FollowedLists::setFollowing);
    lists->setFollowing(watch.isFollowing());
}
