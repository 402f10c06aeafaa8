#pragma once

#include "ScreenDriver.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"

#include <memory>

// A fresh database and scripted dialogs; open() then builds the screen under test on them and shows it.
template <typename Screen> struct ScreenFixture {
    TestDatabase db;
    ScriptedDialogs dialogs;
    std::unique_ptr<Screen> screen;

    template <typename... Extra> ScreenDriver open(Extra&... extra) {
        screen = std::make_unique<Screen>(db.path(), dialogs, extra...);
        screen->show();
        return ScreenDriver(*screen);
    }
};
