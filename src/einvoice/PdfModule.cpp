// The module "zlvpdf": the only code that uses the qpdf library, loaded by PdfAttachments when the first
// PDF is read, so that the program starts without qpdf and what it draws in.

#include "PdfAttachments.h"

#include <exception>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>
#include <qpdf/QPDFFileSpecObjectHelper.hh>

extern "C" Q_DECL_EXPORT bool zlvReadPdfAttachments(const QByteArray& pdf, qint64 maxBytes,
                                                    QList<PdfAttachments::File>& files, QString* words) {
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processMemoryFile("Rechnung.pdf", pdf.constData(), size_t(pdf.size()));
        QPDFEmbeddedFileDocumentHelper embedded(document);
        for (const auto& [key, fileSpec] : embedded.getEmbeddedFiles()) {
            QPDFObjectHandle stream = fileSpec->getEmbeddedFileStream();
            if (!stream.isStream())
                continue;
            QPDFObjectHandle declared = stream.getDict().getKey("/Params").getKeyIfDict("/Size");
            if (declared.isInteger() && declared.getIntValue() > maxBytes)
                continue;
            const std::shared_ptr<Buffer> data = stream.getStreamData(qpdf_dl_generalized);
            if (qint64(data->getSize()) > maxBytes)
                continue;
            const std::string name = fileSpec->getFilename();
            files.append(
                {QString::fromStdString(name.empty() ? key : name),
                 QByteArray(reinterpret_cast<const char*>(data->getBuffer()), qsizetype(data->getSize()))});
        }
        return true;
    } catch (const std::exception& failure) {
        if (words)
            *words = QString::fromLocal8Bit(failure.what());
        return false;
    }
}
