#pragma once

#include "FollowedLists.h"

#include <functional>

class QWidget;

// How a screen follows the changes of the data it shows: the changes its watch tells refill the screen's
// lists keeping what the user saw of them; the watch asks whenever the window is activated, and the
// screen says when its lists no longer follow the other workstations.
class FollowedScreen {
public:
    // Once the screen is built and filled. Watch tells changed() and followingChanged(bool), answers
    // isFollowing() and asks for changes on check().
    template <class Watch>
    static FollowedLists* follow(Watch& watch, QWidget& screen, std::function<void()> refill) {
        auto* lists = new FollowedLists(screen, std::move(refill), [&watch] { watch.check(); });
        QObject::connect(&watch, &Watch::changed, lists, &FollowedLists::refillKeepingView);
        QObject::connect(&watch, &Watch::followingChanged, lists, &FollowedLists::setFollowing);
        lists->setFollowing(watch.isFollowing());
        return lists;
    }
};
