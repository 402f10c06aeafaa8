#pragma once

#include "ToolbarIcons.h"

#include <QImage>

// Draws the toolbar icons on a grid of ToolbarIcons::kIconSize units; used by the build tool that
// turns them into the pixels the program shows.
class ToolbarIconPainter {
public:
    // The icon as a transparent, premultiplied ARGB image of kIconSize pixels square.
    static QImage image(ToolbarIcons::Kind kind);
};
