#include "ToolbarIcons.h"

#include "ArtworkData.h"

#include <QImage>
#include <QPixmap>

QIcon ToolbarIcons::icon(Kind kind) {
    const QImage image(
        reinterpret_cast<const uchar*>(ArtworkData::kToolbarIconPixels[static_cast<int>(kind)]), kIconSize,
        kIconSize, kIconSize * int(sizeof(quint32)), QImage::Format_ARGB32_Premultiplied);
    return QIcon(QPixmap::fromImage(image));
}
