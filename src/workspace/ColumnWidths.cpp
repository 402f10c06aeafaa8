#include "ColumnWidths.h"

namespace {
constexpr int kGroup = 6;
constexpr int kLargest = 999999;
} // namespace

QString ColumnWidths::encode(const QList<int>& twips) {
    QString text;
    text.reserve(twips.size() * kGroup);
    for (const int width : twips)
        text += QStringLiteral("%1").arg(qBound(0, width, kLargest), kGroup, 10, QLatin1Char('0'));
    return text;
}

QList<int> ColumnWidths::decode(const QString& text, int count) {
    QList<int> widths;
    const QString trimmed = text.trimmed();
    for (int start = 0; widths.size() < count && start + kGroup <= trimmed.size(); start += kGroup) {
        bool ok = false;
        const QStringView group = QStringView(trimmed).mid(start, kGroup);
        const int width = group.toInt(&ok);
        if (!ok || group.startsWith(QLatin1Char('-')) || group.startsWith(QLatin1Char('+')))
            break;
        widths.append(width);
    }
    return widths;
}
