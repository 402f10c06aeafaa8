#pragma once

#include <QList>
#include <QString>

// The benchmark results: one line per comparison with both medians, their ratio and the limit.
class BenchTable {
public:
    struct Row {
        QString name;
        double oursMs = 0;
        double baselineMs = 0;
        double limit = 0;
        // No limit: the medians are shown (the baseline column may hold a second figure to compare
        // with), never judged.
        bool reportOnly = false;
        QString error; // set when the comparison could not be measured
        QString note;
    };

    void add(const Row& row) { m_rows.append(row); }
    // The table as printed: name, ours ms, baseline ms, ratio, limit, PASS/FAIL or "report only";
    // notes below.
    QString text() const;
    int failures() const;

private:
    QList<Row> m_rows;
};
