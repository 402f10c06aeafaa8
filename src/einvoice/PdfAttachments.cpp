#include "PdfAttachments.h"

#include <QCoreApplication>
#include <QLibrary>

namespace {

using Reader = bool (*)(const QByteArray&, const PdfAttachments::Limits&, PdfAttachments::Contents&,
                        QString*);

const QString kModule = QStringLiteral("zlvpdf");

// The module beside the program, loaded once; nullptr when it is missing or damaged.
Reader reader() {
    static const Reader resolved = [] {
        static QLibrary module(QCoreApplication::applicationDirPath() + u'/' + kModule);
        return reinterpret_cast<Reader>(module.resolve("zlvReadPdfAttachmentsWithin"));
    }();
    return resolved;
}

} // namespace

bool PdfAttachments::available(QString* words) {
    if (reader() != nullptr)
        return true;
    if (words)
        *words =
            QStringLiteral("PDF-Rechnungen lassen sich an diesem Arbeitsplatz nicht lesen: der "
                           "Programmteil „%1“ fehlt neben dem Programm im Ordner %2 oder ist beschädigt. "
                           "Bitte installieren Sie Zelvora neu.")
                .arg(kModule, QCoreApplication::applicationDirPath());
    return false;
}

bool PdfAttachments::read(const QByteArray& pdf, const Limits& limits, Contents& contents, QString* words) {
    return available(words) && reader()(pdf, limits, contents, words);
}
