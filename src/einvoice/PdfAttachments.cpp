#include "PdfAttachments.h"

#include "ProgramPart.h"

namespace {

using Reader = bool (*)(const QByteArray&, const PdfAttachments::Limits&, PdfAttachments::Contents&,
                        QString*);

const QString kModule = QStringLiteral("zlvpdf");

// The module beside the program, loaded once; nullptr when it is missing or damaged.
Reader reader() {
    static const Reader resolved =
        reinterpret_cast<Reader>(ProgramPart::resolve(kModule, "zlvReadPdfAttachmentsWithin"));
    return resolved;
}

} // namespace

bool PdfAttachments::available(QString* words) {
    if (reader() != nullptr)
        return true;
    if (words)
        *words = ProgramPart::missingText(
            QStringLiteral("PDF-Rechnungen lassen sich an diesem Arbeitsplatz nicht lesen"), kModule);
    return false;
}

bool PdfAttachments::read(const QByteArray& pdf, const Limits& limits, Contents& contents, QString* words) {
    return available(words) && reader()(pdf, limits, contents, words);
}
