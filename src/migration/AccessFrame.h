#pragma once

#include "AccessFile.h"

#include <QByteArray>
#include <QString>

#include <optional>

// One message of the Access reader (Zlv_Access) to the program, as it travels through a pipe: its kind
// (one byte), the length of its payload (four bytes, little-endian) and the payload, a sequence of
// whole numbers (eight bytes), decimals (eight bytes) and texts (their length in four bytes, then UTF-8).
// What the reader sends, in this order: the file's user tables (Catalogue); for each table asked for its
// definition (Table: the name asked for, the name found or empty, the rows it declares, its columns with
// their kinds); for each table found with columns its rows in batches (Rows: the number of rows, then
// per value a null flag and the value as its column's kind gives it) and its end (End: the rows read,
// whether the table was read whole, the reason in German when not); last Done, or Failure with the
// reason in German when the file cannot be opened.
struct AccessFrame {
    enum class Kind : char { Catalogue = 'C', Table = 'T', Rows = 'R', End = 'E', Done = 'D', Failure = 'F' };
    static constexpr qsizetype kHeaderSize = 5;
    // No frame is larger: a batch of rows is closed before it grows beyond a quarter of this, and a row
    // holds at most a few texts of a few megabytes each.
    static constexpr qint64 kLargestPayload = 64 * 1024 * 1024;

    Kind kind = Kind::Failure;
    QByteArray payload;

    // The frame ready to be sent.
    QByteArray bytes() const;
    // Takes the first whole frame off the front of buffer; nullopt while it is incomplete. invalid is set
    // when the front of buffer is no frame (an unknown kind or a payload beyond the largest).
    static std::optional<AccessFrame> take(QByteArray& buffer, bool* invalid);

    // Builds a payload.
    class Writer {
    public:
        void byte(quint8 value) { m_bytes.append(char(value)); }
        void integer(qint64 value);
        void real(double value);
        void text(const QString& text);
        // A field of a row: its null flag, then the value as its column's kind holds it.
        void value(AccessFile::Type type, const AccessFile::Value& value);
        qsizetype size() const { return m_bytes.size(); }
        AccessFrame frame(Kind kind) const { return {kind, m_bytes}; }

    private:
        QByteArray m_bytes;
    };

    // Reads a payload; every read past its end or of a length that does not fit gives an empty value
    // and makes ok() false.
    class Reader {
    public:
        explicit Reader(const QByteArray& payload) : m_bytes(payload) {}
        quint8 byte();
        qint64 integer();
        double real();
        QString text();
        void value(AccessFile::Type type, AccessFile::Value& value);
        bool ok() const { return m_ok; }
        bool atEnd() const { return m_at == m_bytes.size(); }

    private:
        bool has(qint64 size);

        const QByteArray& m_bytes;
        qsizetype m_at = 0;
        bool m_ok = true;
    };
};
