#include "ExportBenchmark.h"

#include "ExportFormat.h"
#include "ExportScreen.h"
#include "Measurement.h"
#include "PlainConnection.h"
#include "RecordingDialogs.h"
#include "Session.h"
#include "Settings.h"
#include "Windows1252.h"
#include "Workspace.h"

#include <memory>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTabWidget>
#include <QTreeView>

namespace {
// Answers the save dialog with one file, and records everything else like RecordingDialogs.
class SaveToFile : public RecordingDialogs {
public:
    explicit SaveToFile(QString path) : m_path(std::move(path)) {}
    QString showSaveDialog(QWidget*, const QString&, const QString&, const QString&, QString&) override {
        return m_path;
    }

private:
    QString m_path;
};

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The plain way: the list's rows as its model shows them, each line joined by ";" and ended by CR LF,
// written line by line with QFile.
bool plainWrite(const QString& path, const QString& heading, const QAbstractItemModel& list, int columns) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(heading.toLatin1());
    for (int row = 0; row < list.rowCount(); ++row) {
        QString line;
        for (int column = 0; column < columns; ++column) {
            if (column > 0)
                line += QLatin1Char(';');
            line += list.index(row, column).data().toString();
        }
        line += QLatin1String("\r\n");
        if (file.write(line.toLatin1()) < 0)
            return false;
    }
    return true;
}
} // namespace

ExportBenchmark::ExportBenchmark(QString largeFile, LargeOfficeGenerator::Facts facts, QString workFolder,
                                 int runs)
    : m_largeFile(std::move(largeFile)), m_facts(std::move(facts)), m_workFolder(std::move(workFolder)),
      m_runs(runs) {}

BenchTable::Row ExportBenchmark::bookingListExport() {
    BenchTable::Row row;
    row.name = QStringLiteral("r. export of the booking list (20,000)");
    row.limit = kLimit;
    QString projectName;
    PlainConnection(m_largeFile)
        .query("SELECT ProjektName FROM tblProjekt WHERE ID = ?", {m_facts.bigProjectId},
               [&projectName](const PlainRow& record) { projectName = record.text(0); });
    const QDir folder(m_workFolder);
    const QString oursFile = folder.filePath(QStringLiteral("r-export.csv"));
    const QString plainFile = folder.filePath(QStringLiteral("r-plain.csv"));
    SaveToFile dialogs(oursFile);
    Settings settings(folder.filePath(QStringLiteral("r-export.ini")));
    const std::unique_ptr<Session> session = Session::open(m_largeFile);
    if (!session) {
        row.error = QStringLiteral("the workspace cannot open the file");
        return row;
    }
    Workspace workspace(*session, dialogs, settings);
    workspace.setProject(m_facts.bigProjectId, projectName);
    workspace.show();
    QEvent activation(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&workspace, &activation);
    workspace.findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(Workspace::BookingsTabIndex);
    QCoreApplication::processEvents();
    const QAbstractItemModel& list = *workspace.findChild<QTreeView*>(QStringLiteral("ListView1"))->model();

    ExportScreen screen([&workspace]() -> std::optional<ListSnapshot> { return workspace.snapshot(); },
                        dialogs);
    Measurement::Side ours{[&screen] {
                               screen.show();
                               return true;
                           },
                           [&screen] {
                               return Measurement::timed([&screen] {
                                   screen.exportList();
                                   return !screen.isVisible();
                               });
                           }};
    // The plain loop writes the same heading lines; they are taken from the program's file once.
    const QByteArray firstFile = [&] {
        screen.show();
        screen.exportList();
        return contentOf(oursFile);
    }();
    const int headingEnd = int(firstFile.indexOf("Bemerkungen\r\n")) + 13;
    const QString heading = QString::fromLatin1(firstFile.left(headingEnd));
    Measurement::Side baseline{
        nullptr,
        [&] { return Measurement::timed([&] { return plainWrite(plainFile, heading, list, 10); }); }};
    const Measurement::Outcome outcome = Measurement::compare(m_runs, ours, baseline);
    row.oursMs = outcome.oursMs;
    row.baselineMs = outcome.baselineMs;
    row.error = outcome.error;
    const QByteArray oursBytes = contentOf(oursFile);
    const QByteArray plainBytes = contentOf(plainFile);
    if (row.error.isEmpty() && !dialogs.texts().isEmpty())
        row.error = QStringLiteral("the export reported: ") + dialogs.texts().join(QStringLiteral(" | "));
    if (row.error.isEmpty() && oursBytes != plainBytes)
        row.error =
            QStringLiteral("THE FILES DIFFER (%1 / %2 bytes)").arg(oursBytes.size()).arg(plainBytes.size());
    // Where the export's time goes: the list handed over, and its text.
    QElapsedTimer timer;
    timer.start();
    const ListSnapshot snapshot = workspace.snapshot();
    const double snapshotMs = double(timer.nsecsElapsed()) / 1e6;
    QString text;
    QByteArray encoded;
    QList<double> textTimes;
    QList<double> encodeTimes;
    for (int i = 0; i < 5; ++i) {
        textTimes << Measurement::timed([&] {
            text = ExportFormat::text(snapshot, ExportFormat::kDefaultSeparator);
            return true;
        });
        encodeTimes << Measurement::timed([&] {
            encoded = Windows1252::encode(text);
            return true;
        });
    }
    const double textMs = Measurement::median(textTimes);
    const double encodeMs = Measurement::median(encodeTimes);
    timer.restart();
    QSaveFile saved(folder.filePath(QStringLiteral("r-saved.csv")));
    const bool savedOk = saved.open(QIODevice::WriteOnly) && saved.write(encoded) == encoded.size() &&
                         saved.flush() && saved.commit();
    const double saveMs = double(timer.nsecsElapsed()) / 1e6;
    if (row.error.isEmpty() && !savedOk)
        row.error = QStringLiteral("cannot write ") + saved.fileName();
    // The bytes alone, written at once without the list: the floor under both sides.
    timer.restart();
    QFile bytesOnly(folder.filePath(QStringLiteral("r-bytes.csv")));
    const bool bytesWritten =
        bytesOnly.open(QIODevice::WriteOnly) && bytesOnly.write(oursBytes) == oursBytes.size();
    bytesOnly.close();
    const double bytesMs = double(timer.nsecsElapsed()) / 1e6;
    if (row.error.isEmpty() && !bytesWritten)
        row.error = QStringLiteral("cannot write ") + bytesOnly.fileName();
    row.note = QStringLiteral(
                   "%1 rows, the same %2 bytes in both files; ours: list handed over %3 ms, "
                   "formatted, encoded (Windows-1252) and written through a temporary file "
                   "that is synced and renamed over the target; baseline: the list model's "
                   "texts joined per row, toLatin1, QFile::write per line, no sync; the bytes alone in one "
                   "QFile::write %4 ms; ours in parts: the text %5 ms, encoded %6 ms, written through "
                   "QSaveFile %7 ms")
                   .arg(snapshot.rows.size())
                   .arg(oursBytes.size())
                   .arg(snapshotMs, 0, 'f', 1)
                   .arg(bytesMs, 0, 'f', 1)
                   .arg(textMs, 0, 'f', 1)
                   .arg(encodeMs, 0, 'f', 1)
                   .arg(saveMs, 0, 'f', 1);
    workspace.close();
    return row;
}
