#pragma once

#include <QIcon>

// The start menu's toolbar icons, painted in one consistent line style.
class ToolbarIcons {
public:
    enum class Kind { Settings, Company, Backup, Info, Help, Quit };

    static QIcon icon(Kind kind);
};
