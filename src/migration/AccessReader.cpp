#include "AccessReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kProgram = QStringLiteral("Zlv_Access");
// How long one wait for the reader lasts before the waiting is called again.
constexpr int kWaitMs = 100;
// The reader's exit when its computing time was spent (see zlv_access.cpp).
constexpr int kExitLimit = 3;
// A sound file sends at most this multiple of its size (texts grow from one byte to up to three in
// UTF-8, numbers from four bytes to eight), plus room for a small file.
constexpr qint64 kOutputPerFileByte = 16;
constexpr qint64 kOutputBase = 64 * 1024 * 1024;
// Computing time: a minute, and two seconds per megabyte of the file; reading takes a fraction of that.
constexpr int kCpuBaseSeconds = 60;
constexpr qint64 kCpuBytesPerSecond = 512 * 1024;

} // namespace

AccessReader::Limits AccessReader::limitsFor(const QString& path) {
    const qint64 size = QFileInfo(path).size();
    return {kOutputBase + kOutputPerFileByte * size, kCpuBaseSeconds + int(size / kCpuBytesPerSecond)};
}

QString AccessReader::program() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(kProgram);
}

AccessReader::AccessReader(const QString& path, const Limits& limits) : m_path(path), m_limits(limits) {}

AccessReader::~AccessReader() {
    stop();
}

void AccessReader::stop() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(-1);
    }
}

QString AccessReader::failure(const QString& table) const {
    const QString file = QDir::toNativeSeparators(m_path);
    const QString where = table.isEmpty() ? QString() : QStringLiteral(" der Tabelle %1").arg(table);
    if (m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == kExitLimit)
        return QStringLiteral(
                   "Die Access-Datei %1 ist vermutlich beschädigt: das Lesen%2 brauchte mehr als %3 "
                   "Sekunden Rechenzeit und wurde beendet.")
            .arg(file, where)
            .arg(m_limits.cpuSeconds);
    return QStringLiteral("Die Access-Datei %1 ist beschädigt: das Lesen%2 brach ab.").arg(file, where);
}

std::optional<AccessFrame> AccessReader::next(const Waiting& waiting, const QString& table,
                                              QString* message) {
    for (;;) {
        bool invalid = false;
        if (std::optional<AccessFrame> frame = AccessFrame::take(m_buffer, &invalid))
            return frame;
        const bool ended = m_process.state() == QProcess::NotRunning;
        if (!invalid && !ended && waiting && !waiting()) {
            m_cancelled = true;
            stop();
            return std::nullopt;
        }
        if (!invalid && !ended)
            m_process.waitForReadyRead(kWaitMs);
        const QByteArray bytes = m_process.readAllStandardOutput();
        m_received += bytes.size();
        if (invalid || m_received > m_limits.outputBytes) {
            stop();
            *message = QStringLiteral("Die Access-Datei %1 ist beschädigt: sie liefert beim Lesen%2 mehr "
                                      "Daten, als sie enthalten kann.")
                           .arg(QDir::toNativeSeparators(m_path),
                                table.isEmpty() ? QString() : QStringLiteral(" der Tabelle %1").arg(table));
            return std::nullopt;
        }
        m_buffer += bytes;
        if (ended && bytes.isEmpty()) {
            *message = failure(table);
            return std::nullopt;
        }
    }
}

bool AccessReader::open(const QStringList& tables, const Waiting& waiting, QString* message) {
    const QString reader = program();
    if (!QFileInfo(reader).isExecutable()) {
        *message =
            QStringLiteral("Das Programm zum Lesen von Access-Dateien fehlt (%1); die Installation ist "
                           "unvollständig.")
                .arg(QDir::toNativeSeparators(reader));
        return false;
    }
    m_process.setProgram(reader);
    m_process.setArguments(QStringList{QString::number(m_limits.cpuSeconds), m_path} + tables);
    m_process.setStandardInputFile(QProcess::nullDevice());
    // libmdb's warnings would pile up unread.
    m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.start(QIODevice::ReadOnly);
    if (!m_process.waitForStarted(-1)) {
        *message =
            QStringLiteral("Das Programm zum Lesen von Access-Dateien (%1) kann nicht gestartet werden: %2")
                .arg(QDir::toNativeSeparators(reader), m_process.errorString());
        return false;
    }
    std::optional<AccessFrame> frame = next(waiting, {}, message);
    if (frame && frame->kind == AccessFrame::Kind::Failure) {
        AccessFrame::Reader failure(frame->payload);
        *message = failure.text();
        stop();
        return false;
    }
    bool sound = frame && frame->kind == AccessFrame::Kind::Catalogue;
    if (sound) {
        AccessFrame::Reader catalogue(frame->payload);
        for (qint64 count = catalogue.integer(); catalogue.ok() && count > 0; --count)
            m_tables += catalogue.text();
        sound = catalogue.ok() && catalogue.atEnd();
    }
    for (qsizetype i = 0; sound && i < tables.size(); ++i) {
        frame = next(waiting, tables.at(i), message);
        sound = frame && frame->kind == AccessFrame::Kind::Table;
        if (!sound)
            break;
        AccessFrame::Reader definition(frame->payload);
        Table table{definition.text(), definition.text(), definition.integer(), {}};
        for (qint64 count = definition.integer(); definition.ok() && count > 0; --count) {
            const QString name = definition.text();
            const quint8 type = definition.byte();
            table.columns +=
                AccessFile::Column{name, type <= quint8(AccessFile::Type::Other) ? AccessFile::Type(type)
                                                                                 : AccessFile::Type::Other};
        }
        sound = definition.ok() && definition.atEnd() && table.asked == tables.at(i);
        m_definitions += table;
    }
    if (!sound && frame && message->isEmpty())
        *message = failure({});
    if (!sound)
        stop();
    return sound;
}

bool AccessReader::readRows(const Table& table, const Visit& visit, const Waiting& waiting, qint64* rows,
                            QString* message) {
    *rows = 0;
    QList<AccessFile::Value> values(table.columns.size());
    const auto damaged = [&] {
        stop();
        *message =
            QStringLiteral("Die Access-Datei %1 ist beschädigt: die Tabelle %2 kann nicht (vollständig) "
                           "gelesen werden.")
                .arg(QDir::toNativeSeparators(m_path), table.name);
        return false;
    };
    for (;;) {
        const std::optional<AccessFrame> frame = next(waiting, table.name, message);
        if (!frame)
            return false;
        AccessFrame::Reader payload(frame->payload);
        if (frame->kind == AccessFrame::Kind::End) {
            const qint64 read = payload.integer();
            const bool whole = payload.byte() == 1;
            payload.text();
            if (!payload.ok() || read != *rows || !whole)
                return damaged();
            return true;
        }
        if (frame->kind != AccessFrame::Kind::Rows)
            return damaged();
        for (qint64 count = payload.integer(); payload.ok() && count > 0; --count) {
            for (qsizetype i = 0; i < values.size(); ++i)
                payload.value(table.columns.at(i).type, values[i]);
            if (!payload.ok() || ++*rows > table.declaredRows)
                return damaged();
            if (!visit(values)) {
                stop();
                return false;
            }
        }
        if (!payload.ok() || !payload.atEnd())
            return damaged();
    }
}
