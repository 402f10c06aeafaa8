#pragma once

#include "ListSnapshot.h"

#include <csignal>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <sys/resource.h>

// What the printing and export tests share: a list of any kind described by its row count, the PDF files
// read back through poppler's tools, and a disk that fills after a number of bytes.
namespace PrintExport {

// A list of rows numbered from 1, each "Firma n" and fixed texts in as many cells as any report prints;
// values holds the heading values' names and texts in turn.
inline ListSnapshot list(ListSnapshot::Kind kind, int rows, const QStringList& values = {}) {
    ListSnapshot snapshot;
    snapshot.kind = kind;
    for (int i = 0; i + 1 < values.size(); i += 2)
        snapshot.values.append({values.at(i), values.at(i + 1)});
    for (int i = 1; i <= rows; ++i) {
        const QString number = QString("%1").arg(i, 3, 10, QChar('0'));
        snapshot.rows.append({number, "Firma " + number, "Rohbau", "01.02.2024", "15.01.2024", "R-1",
                              "Schlußzahlung", "300 Bauwerk", "1.234,50", "Rest", "45323", "hidden"});
    }
    return snapshot;
}

inline QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString pdfInfo(const QString& path, const QString& field) {
    const QRegularExpression line("^" + field + ":\\s*(.*)$", QRegularExpression::MultilineOption);
    return line.match(run("pdfinfo", {path})).captured(1).trimmed();
}

// The text of all pages in their layout, separated by form feeds.
inline QString pdfText(const QString& path) {
    return run("pdftotext", {"-layout", path, "-"});
}

// The first page's blank edges around its ink in millimetres: left, top, right, bottom.
inline QList<double> blankEdges(const QString& pdf) {
    run("pdftoppm", {"-r", "72", "-gray", "-png", "-singlefile", pdf, pdf + "-page"});
    const QImage page(pdf + "-page.png");
    QRect ink;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 200)
                ink |= QRect(x, y, 1, 1);
    const double mm = 72 / 25.4;
    return {ink.left() / mm, ink.top() / mm, (page.width() - 1 - ink.right()) / mm,
            (page.height() - 1 - ink.bottom()) / mm};
}

// While it lives, files this process writes cannot grow beyond bytes.
struct FullDisk {
    rlimit saved{};
    void (*previous)(int) = nullptr;
    explicit FullDisk(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = bytes;
        previous = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
    }
};

} // namespace PrintExport
