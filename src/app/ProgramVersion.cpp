#include "ProgramVersion.h"

#include "ZlvVersion.h"

QString ProgramVersion::shortText() {
    return QStringLiteral("%1.%2.%3").arg(ZLV_VERSION_MAJOR).arg(ZLV_VERSION_MINOR).arg(ZLV_VERSION_TWEAK);
}
