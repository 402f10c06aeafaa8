#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The files embedded in a PDF document, read with the qpdf library in the module "zlvpdf" beside the
// program.
class PdfAttachments {
public:
    struct File {
        QString name;
        QByteArray bytes;
    };
    // The embedded files, each at most maxBytes (larger ones are left out); false with the library's
    // words when the PDF cannot be read.
    static bool read(const QByteArray& pdf, qint64 maxBytes, QList<File>& files, QString* words);
    // Whether the module can be loaded; false with a German message saying what is missing.
    static bool available(QString* words);
};
