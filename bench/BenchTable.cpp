#include "BenchTable.h"

#include <QStringList>

namespace {

bool passes(const BenchTable::Row& row) {
    if (row.reportOnly)
        return row.error.isEmpty();
    return row.error.isEmpty() && row.baselineMs > 0 && row.oursMs / row.baselineMs <= row.limit;
}

QString limitText(const BenchTable::Row& row) {
    if (row.reportOnly)
        return QStringLiteral("-");
    return QString::number(row.limit, 'g', 3) + QLatin1Char('x');
}

QString resultText(const BenchTable::Row& row) {
    if (row.reportOnly)
        return QStringLiteral("report only");
    return passes(row) ? QStringLiteral("PASS") : QStringLiteral("FAIL  <<<<<<");
}

} // namespace

QString BenchTable::text() const {
    QStringList lines;
    const QString format = QStringLiteral("%1 %2 %3 %4 %5  %6");
    lines << format.arg(QStringLiteral("benchmark"), -34)
                 .arg(QStringLiteral("ours ms"), 10)
                 .arg(QStringLiteral("base ms"), 10)
                 .arg(QStringLiteral("ratio"), 7)
                 .arg(QStringLiteral("limit"), 6)
                 .arg(QStringLiteral("result"));
    lines << QString(80, QLatin1Char('-'));
    for (const Row& row : m_rows) {
        if (!row.error.isEmpty()) {
            lines << format.arg(row.name, -34)
                         .arg(QStringLiteral("-"), 10)
                         .arg(QStringLiteral("-"), 10)
                         .arg(QStringLiteral("-"), 7)
                         .arg(limitText(row), 6)
                         .arg(QStringLiteral("ERROR: ") + row.error);
            continue;
        }
        const double ratio = row.baselineMs > 0 ? row.oursMs / row.baselineMs : 0;
        const bool noBaseline = row.reportOnly && row.baselineMs <= 0;
        lines << format.arg(row.name, -34)
                     .arg(row.oursMs, 10, 'f', 2)
                     .arg(noBaseline ? QStringLiteral("-") : QString::number(row.baselineMs, 'f', 2), 10)
                     .arg(noBaseline ? QStringLiteral("-") : QStringLiteral("%1x").arg(ratio, 0, 'f', 2), 7)
                     .arg(limitText(row), 6)
                     .arg(resultText(row));
    }
    bool anyNote = false;
    for (const Row& row : m_rows) {
        if (row.note.isEmpty())
            continue;
        if (!anyNote)
            lines << QString();
        anyNote = true;
        lines << row.name + QStringLiteral(": ") + row.note;
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

int BenchTable::failures() const {
    int count = 0;
    for (const Row& row : m_rows) {
        if (!passes(row))
            ++count;
    }
    return count;
}
