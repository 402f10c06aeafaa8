#include "XmlSource.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace {

enum class Encoding { Bytes, Utf16Le, Utf16Be, Utf32 };

// How the file's first bytes say it is encoded: a byte order mark, or the pattern "<" leaves in UTF-16
// and UTF-32; any other file is read byte by byte until its declaration names the encoding.
Encoding encodingOf(const QByteArray& bytes) {
    const auto byte = [&bytes](qsizetype i) { return i < bytes.size() ? uchar(bytes.at(i)) : 0x100; };
    if ((byte(0) == 0 && byte(1) == 0 && (byte(2) == 0xFE || byte(3) == '<')) ||
        (byte(0) == 0xFF && byte(1) == 0xFE && byte(2) == 0 && byte(3) == 0) ||
        (byte(0) == '<' && byte(1) == 0 && byte(2) == 0 && byte(3) == 0))
        return Encoding::Utf32;
    if (byte(0) == 0xFF && byte(1) == 0xFE)
        return Encoding::Utf16Le;
    if (byte(0) == 0xFE && byte(1) == 0xFF)
        return Encoding::Utf16Be;
    if (byte(0) == 0 && byte(1) != 0 && byte(1) != 0x100)
        return Encoding::Utf16Be;
    if (byte(0) != 0 && byte(1) == 0)
        return Encoding::Utf16Le;
    return Encoding::Bytes;
}

// What stands before the root element, as an XML parser would meet it.
struct Prolog {
    enum class End { Open, Root, Declaration, OtherText };
    End end = End::Open;
    // Where the root, the declaration or the other text begins, in units of the text.
    qsizetype at = 0;
    QString declaredEncoding;
    bool markupSeen = false;
};

// Walks the XML declaration, comments, processing instructions and blanks up to the first other markup.
template <typename Unit> Prolog prologOf(const Unit* text, qsizetype size) {
    const auto unit = [&](qsizetype k) -> char32_t {
        return k < size ? char32_t(std::make_unsigned_t<Unit>(text[k])) : 0x110000;
    };
    const auto startsWith = [&](qsizetype k, const char* ascii) {
        for (; *ascii; ++ascii, ++k)
            if (unit(k) != char32_t(uchar(*ascii)))
                return false;
        return true;
    };
    const auto find = [&](qsizetype k, const char* ascii) -> qsizetype {
        for (; k < size; ++k)
            if (startsWith(k, ascii))
                return k;
        return -1;
    };
    Prolog prolog;
    qsizetype i = unit(0) == 0xFEFF ? 1 : startsWith(0, "\xEF\xBB\xBF") ? 3 : 0;
    const qsizetype begin = i;
    for (;;) {
        while (unit(i) == ' ' || unit(i) == '\t' || unit(i) == '\r' || unit(i) == '\n')
            ++i;
        if (i >= size)
            return prolog;
        prolog.at = i;
        if (unit(i) != '<') {
            prolog.end = Prolog::End::OtherText;
            return prolog;
        }
        prolog.markupSeen = true;
        if (startsWith(i, "<!--")) {
            const qsizetype close = find(i + 4, "-->");
            if (close < 0)
                return prolog;
            i = close + 3;
        } else if (startsWith(i, "<!")) {
            prolog.end = Prolog::End::Declaration;
            return prolog;
        } else if (startsWith(i, "<?")) {
            const qsizetype close = find(i + 2, "?>");
            if (close < 0)
                return prolog;
            if (i == begin && startsWith(i, "<?xml") && close - i < 512) {
                QString declaration;
                for (qsizetype k = i; k < close; ++k)
                    declaration += QChar(char16_t(unit(k) < 0x80 ? unit(k) : '?'));
                static const QRegularExpression encoding(
                    QStringLiteral("\\sencoding\\s*=\\s*[\"']([^\"']*)[\"']"));
                prolog.declaredEncoding = encoding.match(declaration).captured(1).toLower();
            }
            i = close + 2;
        } else {
            prolog.end = Prolog::End::Root;
            return prolog;
        }
    }
}

template <typename Unit> qsizetype lineAt(const Unit* text, qsizetype at) {
    return std::count(text, text + at, Unit('\n')) + 1;
}

XmlSource::Checked problem(XmlSource::Problem problem, const QString& reason) {
    XmlSource::Checked checked;
    checked.problem = problem;
    checked.reason = reason;
    return checked;
}

const QString kUtf8Only = QStringLiteral(" E-Rechnungen sind in UTF-8 kodiert.");

// The verdict on a prolog: a declaration refused, other text before any markup refused as no XML.
template <typename Unit> XmlSource::Checked verdict(const Prolog& prolog, const Unit* text) {
    XmlSource::Checked checked;
    checked.looksLikeXml = prolog.markupSeen;
    if (prolog.end == Prolog::End::Declaration)
        return problem(XmlSource::Problem::Doctype,
                       QStringLiteral("Die Datei enthält in Zeile %1 eine DTD („<!DOCTYPE …“) oder "
                                      "Entity-Deklaration. Solche Dateien werden aus Sicherheitsgründen "
                                      "nicht gelesen.")
                           .arg(lineAt(text, prolog.at)));
    if (prolog.end == Prolog::End::OtherText)
        return problem(XmlSource::Problem::NotXml,
                       QStringLiteral("Die Datei ist keine XML-Datei und keine PDF-Datei."));
    return checked;
}

} // namespace

qsizetype XmlSource::firstInvalidUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;) {
        const uchar lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        uchar low = 0x80;
        uchar high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : low;   // no overlong form
            high = lead == 0xED ? 0x9F : high; // no surrogate
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : low;
            high = lead == 0xF4 ? 0x8F : high; // nothing beyond U+10FFFF
        } else {
            return i;
        }
        if (i + length > size || p[i + 1] < low || p[i + 1] > high)
            return i;
        for (int k = 2; k < length; ++k)
            if ((p[i + k] & 0xC0) != 0x80)
                return i;
        i += length;
    }
    return -1;
}

XmlSource::Checked XmlSource::check(const QByteArray& bytes) {
    const Encoding encoding = encodingOf(bytes);
    if (encoding == Encoding::Utf32)
        return problem(Problem::Encoding,
                       QStringLiteral("Die Datei ist in UTF-32 kodiert und wird nicht gelesen.") + kUtf8Only);
    if (encoding != Encoding::Bytes) {
        QStringDecoder decoder(encoding == Encoding::Utf16Le ? QStringConverter::Utf16LE
                                                             : QStringConverter::Utf16BE);
        Checked checked;
        checked.decoded = decoder(bytes);
        checked.isDecoded = true;
        if (decoder.hasError())
            return problem(Problem::Encoding,
                           QStringLiteral("Die Datei ist nicht gültig in UTF-16 kodiert: Sie enthält "
                                          "Bytes, die kein Zeichen ergeben.") +
                               kUtf8Only);
        const Prolog prolog = prologOf(checked.decoded.utf16(), checked.decoded.size());
        Checked judged = verdict(prolog, checked.decoded.utf16());
        if (judged.problem != Problem::None)
            return judged;
        if (!prolog.declaredEncoding.isEmpty() && !prolog.declaredEncoding.startsWith(u"utf-16"))
            return problem(Problem::Encoding,
                           QStringLiteral("Die Datei gibt die Zeichenkodierung „%1“ an, ist aber in UTF-16 "
                                          "kodiert.")
                                   .arg(prolog.declaredEncoding.toUpper()) +
                               kUtf8Only);
        checked.looksLikeXml = judged.looksLikeXml;
        return checked;
    }
    const Prolog prolog = prologOf(bytes.constData(), bytes.size());
    Checked checked = verdict(prolog, bytes.constData());
    if (checked.problem != Problem::None)
        return checked;
    const QString& declared = prolog.declaredEncoding;
    if (declared.isEmpty() || declared == u"utf-8" || declared == u"utf8") {
        if (const qsizetype invalid = firstInvalidUtf8(bytes); invalid >= 0)
            return problem(Problem::Encoding,
                           QStringLiteral("Die Datei ist nicht gültig in UTF-8 kodiert: In Zeile %1 "
                                          "(Byte %2 der Datei) steht eine Bytefolge, die kein Zeichen "
                                          "ergibt.")
                                   .arg(lineAt(bytes.constData(), invalid))
                                   .arg(invalid + 1) +
                               kUtf8Only);
        return checked;
    }
    if (declared.startsWith(u"utf-16"))
        return problem(
            Problem::Encoding,
            QStringLiteral("Die Datei gibt die Zeichenkodierung „%1“ an, ist aber nicht so kodiert.")
                    .arg(declared.toUpper()) +
                kUtf8Only);
    if (declared == u"iso-8859-1" || declared == u"latin1" || declared == u"us-ascii") {
        checked.decoded = QString::fromLatin1(bytes);
        checked.isDecoded = true;
        return checked;
    }
    return problem(Problem::Encoding,
                   QStringLiteral("Die Datei ist in der Zeichenkodierung „%1“ geschrieben, die nicht "
                                  "gelesen wird.")
                           .arg(declared.toUpper()) +
                       kUtf8Only);
}
