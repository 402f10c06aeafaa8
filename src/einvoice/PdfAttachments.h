#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The files embedded in a PDF document, read with the qpdf library in the module "zlvpdf" beside the
// program. Each file is decoded on its own and only up to the limits, whatever sizes the PDF declares.
class PdfAttachments {
public:
    struct File {
        QString name;
        QByteArray bytes;
        // Why the file was not read, in German; empty when bytes holds its content.
        QString failure;
    };
    struct Limits {
        // The most bytes one file and all files together may decode to.
        qint64 perFile = 0;
        qint64 total = 0;
        // The most files read.
        int count = 0;
        // The names read first, in this order; other files only when their name ends in suffix.
        QStringList first;
        QString suffix;
    };
    struct Contents {
        QList<File> files;
        // Files with a wanted name that were not read because a limit was reached.
        int leftOut = 0;
    };
    // The wanted embedded files within the limits; false with the library's words when the PDF itself
    // cannot be read.
    static bool read(const QByteArray& pdf, const Limits& limits, Contents& contents, QString* words);
    // Whether the module can be loaded; false with a German message saying what is missing.
    static bool available(QString* words);
};
