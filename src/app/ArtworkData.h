#pragma once

#include "ToolbarIcons.h"

#include <QPainterPath>
#include <QtGlobal>

// The pictures drawn when the program is built (by zlv_artwork, into the generated ArtworkData.cpp),
// so that the start menu's first frame neither paints icons nor loads a font face for the logo.
namespace ArtworkData {

// One icon per ToolbarIcons::Kind, in the enum's order: premultiplied ARGB pixels, row by row.
extern const quint32 kToolbarIconPixels[ToolbarIcons::kKindCount]
                                       [ToolbarIcons::kIconSize * ToolbarIcons::kIconSize];

// One element of a QPainterPath: a curve's element is followed by its two data elements.
struct OutlineElement {
    QPainterPath::ElementType type;
    float x;
    float y;
};

// The logo's word as LogoWordOutline traces it.
extern const OutlineElement kLogoWordOutline[];
extern const int kLogoWordOutlineLength;

} // namespace ArtworkData
