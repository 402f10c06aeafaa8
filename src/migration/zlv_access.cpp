// Zlv_Access: reads an Access file for the program in a process of its own, so that a damaged file that
// makes libmdb loop, crash or grow without end costs the program nothing: the program ends this process
// when the clerk cancels, and the limits set here end it when the file asks for more than it can hold.
// Writes the frames of AccessFrame to its standard output.
//
//     Zlv_Access <seconds of computing time> <Access file> <table>...

#include "AccessFile.h"
#include "AccessFrame.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// What the process may use: memory (address space) and computing time, the latter given by the program.
constexpr rlim_t kLargestMemory = rlim_t(2) * 1024 * 1024 * 1024;
// A batch of rows is sent once it holds this many bytes.
constexpr qsizetype kBatchBytes = 256 * 1024;
// The pipe to the program holds this much, so that the two processes take turns seldom.
constexpr int kPipeBytes = 1024 * 1024;
constexpr int kExitLimit = 3;
constexpr int kExitUsage = 4;

void onComputingTimeSpent(int) {
    _exit(kExitLimit);
}

bool send(const AccessFrame& frame) {
    const QByteArray bytes = frame.bytes();
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = ::write(STDOUT_FILENO, bytes.constData() + done, size_t(bytes.size() - done));
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

void limit(int resource, rlim_t value) {
    const rlimit limit{value, value};
    setrlimit(resource, &limit);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return kExitUsage;
    // Ends with the program that started it, even when that ends without a word.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    std::signal(SIGXCPU, onComputingTimeSpent);
    limit(RLIMIT_CORE, 0);
    limit(RLIMIT_AS, kLargestMemory);
    const rlim_t seconds = rlim_t(std::strtoul(argv[1], nullptr, 10));
    const rlimit time{seconds > 0 ? seconds : 1, (seconds > 0 ? seconds : 1) + 1};
    setrlimit(RLIMIT_CPU, &time);

    fcntl(STDOUT_FILENO, F_SETPIPE_SZ, kPipeBytes);

    const QString path = QString::fromLocal8Bit(argv[2]);
    QString message;
    const std::unique_ptr<AccessFile> file = AccessFile::open(path, &message);
    if (!file) {
        AccessFrame::Writer failure;
        failure.text(message);
        return send(failure.frame(AccessFrame::Kind::Failure)) ? 0 : 1;
    }
    const QStringList tables = file->tables();
    AccessFrame::Writer catalogue;
    catalogue.integer(tables.size());
    for (const QString& table : tables)
        catalogue.text(table);
    if (!send(catalogue.frame(AccessFrame::Kind::Catalogue)))
        return 1;

    struct Found {
        QString name;
        QList<AccessFile::Column> columns;
        qint64 declared = -1;
    };
    QList<Found> found;
    for (int i = 3; i < argc; ++i) {
        const QString asked = QString::fromUtf8(argv[i]);
        Found table;
        for (const QString& name : tables) {
            if (name.compare(asked, Qt::CaseInsensitive) == 0) {
                table = {name, file->columns(name), file->rowCount(name)};
                break;
            }
        }
        AccessFrame::Writer definition;
        definition.text(asked);
        definition.text(table.name);
        definition.integer(table.declared);
        definition.integer(table.columns.size());
        for (const AccessFile::Column& column : std::as_const(table.columns)) {
            definition.text(column.name);
            definition.byte(quint8(column.type));
        }
        if (!send(definition.frame(AccessFrame::Kind::Table)))
            return 1;
        if (!table.columns.isEmpty())
            found += table;
    }

    for (const Found& table : std::as_const(found)) {
        QList<int> positions;
        for (qsizetype i = 0; i < table.columns.size(); ++i)
            positions += int(i);
        AccessFrame::Writer batch;
        qint64 inBatch = 0;
        qint64 rows = 0;
        bool sent = true;
        const auto flush = [&] {
            AccessFrame::Writer counted;
            counted.integer(inBatch);
            AccessFrame frame = counted.frame(AccessFrame::Kind::Rows);
            frame.payload += batch.frame(AccessFrame::Kind::Rows).payload;
            batch = AccessFrame::Writer();
            inBatch = 0;
            return send(frame);
        };
        // A table never holds more rows than it declares: reading stops at the first row beyond.
        bool whole = file->read(
            table.name, positions,
            [&](const QList<AccessFile::Value>& values) {
                if (++rows > table.declared)
                    return false;
                for (qsizetype i = 0; i < values.size(); ++i)
                    batch.value(table.columns.at(i).type, values.at(i));
                ++inBatch;
                if (batch.size() >= kBatchBytes)
                    sent = flush();
                return sent;
            },
            nullptr, &message);
        if (!sent || (inBatch > 0 && !flush()))
            return 1;
        AccessFrame::Writer end;
        whole = whole && rows == table.declared;
        end.integer(qMin(rows, table.declared + 1));
        end.byte(whole ? 1 : 0);
        end.text(whole ? QString() : message);
        if (!send(end.frame(AccessFrame::Kind::End)))
            return 1;
    }
    return send(AccessFrame::Writer().frame(AccessFrame::Kind::Done)) ? 0 : 1;
}
