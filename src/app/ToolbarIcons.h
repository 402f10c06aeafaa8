#pragma once

#include <QIcon>

// The start menu's toolbar icons, drawn in one consistent line style by ToolbarIconPainter when the
// program is built and shown from the pixels built in.
class ToolbarIcons {
public:
    enum class Kind { Settings, Company, Backup, Audit, Info, Help, Quit };
    static constexpr int kKindCount = static_cast<int>(Kind::Quit) + 1;
    // The size in pixels the icons are drawn at; QIcon scales them for other sizes when asked.
    static constexpr int kIconSize = 32;

    static QIcon icon(Kind kind);
};
