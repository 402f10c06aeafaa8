#pragma once

#include <functional>

class ChangeWatch;
class QWidget;

// How a master-data screen follows the changes of the data it shows: the changes its watch tells refill
// the screen's lists keeping what the user saw of them; the watch asks whenever the window is activated.
class FollowedScreen {
public:
    // Once the screen is built and filled.
    static void follow(ChangeWatch& watch, QWidget& screen, std::function<void()> refill);
};
