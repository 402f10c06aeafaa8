#pragma once

#include "TestDatabase.h"

#include <QFile>
#include <QString>
#include <QtEndian>

// Damaged copies of an Access file (Jet 4, pages of 4,096 bytes), made as a disk or a careless tool
// damages them, for the tests of the import.
struct DamagedAccessFile {
    // A copy of original in folder with the damages, separated by blanks: "cut:P" (the file ends before
    // page P), "zero:P" (page P holds zeros), "declare:P:N" (the table definition on page P declares N
    // rows), "rename:NAME" (the catalogue names table NAME otherwise), "loop:P" (the piece of a long text
    // on page P leads to itself, which makes libmdb read for ever). Empty when it cannot be written.
    static QString copy(const QString& original, const QString& damages, const QString& folder) {
        QFile whole(original);
        if (!whole.open(QIODevice::ReadOnly))
            return {};
        QByteArray bytes = whole.readAll();
        constexpr int kPage = 4096;
        for (const QString& damage : damages.split(' ', Qt::SkipEmptyParts)) {
            const QString what = damage.section(':', 0, 0);
            const QString argument = damage.section(':', 1);
            const qsizetype page = argument.section(':', 0, 0).toInt();
            if (what == "cut")
                bytes.truncate(page * kPage);
            else if (what == "zero")
                bytes.replace(page * kPage, kPage, QByteArray(kPage, '\0'));
            else if (what == "declare")
                qToLittleEndian(quint32(argument.section(':', 1).toUInt()), bytes.data() + page * kPage + 16);
            else if (what == "rename") {
                const QByteArray name(reinterpret_cast<const char*>(argument.utf16()), argument.size() * 2);
                bytes[bytes.indexOf(name) + name.size() - 2] = 'X';
            } else if (what == "loop") {
                // The page's one row shrinks to its last four bytes, the pointer to the next piece.
                char* piece = bytes.data() + page * kPage;
                qToLittleEndian(quint16(kPage - 4), piece + 14);
                qToLittleEndian(quint32(page << 8), piece + kPage - 4);
            }
        }
        const QString path = folder + "/beschaedigt.mdb";
        return TestDatabase::writeFile(path, bytes) ? path : QString();
    }
};
