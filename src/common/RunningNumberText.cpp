#include "RunningNumberText.h"

QString RunningNumberText::of(std::optional<int> number) {
    if (!number)
        return QString();
    return QStringLiteral("%1").arg(*number, 3, 10, QLatin1Char('0'));
}
