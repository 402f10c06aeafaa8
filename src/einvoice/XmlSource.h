#pragma once

#include <QByteArray>
#include <QString>

// The bytes of an outside XML file, looked at before any XML parser sees them: the encoding (UTF-8,
// UTF-16 with or without byte order mark, ISO-8859-1) is checked strictly, and a document type
// declaration before the root element is found in the raw text, so that no entity of it is ever expanded.
class XmlSource {
public:
    enum class Problem { None, NotXml, Encoding, Doctype };
    struct Checked {
        Problem problem = Problem::None;
        // Why the file is refused, in German; empty when it may be parsed.
        QString reason;
        // The text to parse when it is not the given bytes themselves (the bytes were not UTF-8).
        QString decoded;
        bool isDecoded = false;
        // Whether the file begins as XML does (markup before any other text).
        bool looksLikeXml = false;
    };
    static Checked check(const QByteArray& bytes);
    // The offset of the first byte that is not part of a valid UTF-8 sequence, or -1.
    static qsizetype firstInvalidUtf8(const QByteArray& bytes);
};
