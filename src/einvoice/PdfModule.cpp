// The module "zlvpdf": the only code that uses the qpdf library, loaded by PdfAttachments when the first
// PDF is read, so that the program starts without qpdf and what it draws in.

#include "PdfAttachments.h"

#include <algorithm>
#include <exception>
#include <new>
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>
#include <qpdf/QPDFFileSpecObjectHelper.hh>
#include <vector>

namespace {

// Collects decoded bytes up to a cap and stops the decoding as soon as more arrive: a stream that unpacks
// to gigabytes costs no more than the cap.
class CappedSink : public Pipeline {
public:
    struct Exceeded : std::exception {
        const char* what() const noexcept override { return "cap exceeded"; }
    };
    explicit CappedSink(qint64 cap) : Pipeline("capped sink", nullptr), m_cap(cap) {}
    void write(unsigned char const* data, size_t length) override {
        if (qint64(length) > m_cap - m_bytes.size()) {
            m_exceeded = true;
            throw Exceeded();
        }
        m_bytes.append(reinterpret_cast<const char*>(data), qsizetype(length));
    }
    void finish() override {}
    bool exceeded() const { return m_exceeded; }
    QByteArray& bytes() { return m_bytes; }

private:
    qint64 m_cap;
    QByteArray m_bytes;
    bool m_exceeded = false;
};

QString megabytes(qint64 bytes) {
    return QString::number(bytes / (1024 * 1024));
}

// One embedded file decoded within the cap, or why it was not.
PdfAttachments::File decoded(const QString& name, QPDFFileSpecObjectHelper& fileSpec, qint64 cap,
                             qint64 perFile, bool& capReached) {
    PdfAttachments::File file{name, {}, {}};
    try {
        QPDFObjectHandle stream = fileSpec.getEmbeddedFileStream();
        if (!stream.isStream()) {
            file.failure = QStringLiteral("Der Anhang hat keinen Inhalt.");
            return file;
        }
        CappedSink sink(cap);
        bool filtered = false;
        const bool read = stream.pipeStreamData(&sink, &filtered, 0, qpdf_dl_generalized, true);
        const bool hasFilter = !stream.getDict().getKey("/Filter").isNull();
        capReached = sink.exceeded();
        if (capReached)
            file.failure =
                cap < perFile
                    ? QStringLiteral("Die Anhänge sind zusammen entpackt größer als %1 "
                                     "MB; weitere werden nicht gelesen.")
                          .arg(megabytes(perFile))
                    : QStringLiteral("Der Anhang ist entpackt größer als %1 MB.").arg(megabytes(perFile));
        else if (!read || (hasFilter && !filtered))
            file.failure = QStringLiteral("Der Anhang kann nicht entpackt werden.");
        else
            file.bytes = std::move(sink.bytes());
    } catch (const std::bad_alloc&) {
        file.failure = QStringLiteral("Der Arbeitsspeicher reicht nicht aus, um den Anhang zu entpacken.");
    } catch (const std::exception& failure) {
        file.failure = QStringLiteral("Der Anhang ist beschädigt: ") + QString::fromLocal8Bit(failure.what());
    }
    return file;
}

} // namespace

extern "C" Q_DECL_EXPORT bool zlvReadPdfAttachmentsWithin(const QByteArray& pdf,
                                                          const PdfAttachments::Limits& limits,
                                                          PdfAttachments::Contents& contents,
                                                          QString* words) {
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processMemoryFile("Rechnung.pdf", pdf.constData(), size_t(pdf.size()));
        QPDFEmbeddedFileDocumentHelper embedded(document);
        // The wanted files, those named first in the order given.
        std::vector<std::pair<QString, std::shared_ptr<QPDFFileSpecObjectHelper>>> wanted;
        for (const auto& [key, fileSpec] : embedded.getEmbeddedFiles()) {
            const std::string filename = fileSpec->getFilename();
            const QString name = QString::fromStdString(filename.empty() ? key : filename);
            if (limits.first.contains(name) || name.endsWith(limits.suffix, Qt::CaseInsensitive))
                wanted.emplace_back(name, fileSpec);
        }
        const auto rank = [&limits](const QString& name) {
            const qsizetype known = limits.first.indexOf(name);
            return known < 0 ? limits.first.size() : known;
        };
        std::stable_sort(wanted.begin(), wanted.end(),
                         [&](const auto& a, const auto& b) { return rank(a.first) < rank(b.first); });
        qint64 total = 0;
        for (auto& [name, fileSpec] : wanted) {
            if (contents.files.size() == limits.count || total >= limits.total) {
                ++contents.leftOut;
                continue;
            }
            const qint64 cap = std::min(limits.perFile, limits.total - total);
            bool capReached = false;
            contents.files.append(decoded(name, *fileSpec, cap, limits.perFile, capReached));
            total = capReached && cap < limits.perFile ? limits.total
                                                       : total + contents.files.constLast().bytes.size();
        }
        return true;
    } catch (const std::bad_alloc&) {
        if (words)
            *words = QStringLiteral("Der Arbeitsspeicher reicht nicht aus, um die PDF-Datei zu lesen.");
        return false;
    } catch (const std::exception& failure) {
        if (words)
            *words = QString::fromLocal8Bit(failure.what());
        return false;
    }
}
