#include "AccessFrame.h"

#include <QtEndian>

#include <cstring>

QByteArray AccessFrame::bytes() const {
    QByteArray out(kHeaderSize, Qt::Uninitialized);
    out[0] = char(kind);
    qToLittleEndian(quint32(payload.size()), out.data() + 1);
    return out + payload;
}

std::optional<AccessFrame> AccessFrame::take(QByteArray& buffer, bool* invalid) {
    *invalid = false;
    if (buffer.size() < kHeaderSize)
        return std::nullopt;
    const auto kind = Kind(buffer.at(0));
    const qint64 size = qFromLittleEndian<quint32>(buffer.constData() + 1);
    const bool known = kind == Kind::Catalogue || kind == Kind::Table || kind == Kind::Rows ||
                       kind == Kind::End || kind == Kind::Done || kind == Kind::Failure;
    if (!known || size > kLargestPayload) {
        *invalid = true;
        return std::nullopt;
    }
    if (buffer.size() < kHeaderSize + size)
        return std::nullopt;
    AccessFrame frame{kind, buffer.mid(kHeaderSize, size)};
    buffer.remove(0, kHeaderSize + size);
    return frame;
}

void AccessFrame::Writer::integer(qint64 value) {
    char bytes[8];
    qToLittleEndian(value, bytes);
    m_bytes.append(bytes, sizeof bytes);
}

void AccessFrame::Writer::real(double value) {
    qint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    integer(bits);
}

void AccessFrame::Writer::text(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    char length[4];
    qToLittleEndian(quint32(utf8.size()), length);
    m_bytes.append(length, sizeof length);
    m_bytes.append(utf8);
}

void AccessFrame::Writer::value(AccessFile::Type type, const AccessFile::Value& value) {
    byte(value.null ? 1 : 0);
    if (value.null)
        return;
    switch (type) {
    case AccessFile::Type::Integer:
    case AccessFile::Type::Currency:
        integer(value.integer);
        break;
    case AccessFile::Type::Real:
    case AccessFile::Type::DateTime:
        real(value.real);
        break;
    case AccessFile::Type::Text:
    case AccessFile::Type::Other:
        text(value.text);
        break;
    }
}

bool AccessFrame::Reader::has(qint64 size) {
    m_ok = m_ok && size <= m_bytes.size() - m_at;
    return m_ok;
}

quint8 AccessFrame::Reader::byte() {
    if (!has(1))
        return 0;
    return quint8(m_bytes.at(m_at++));
}

void AccessFrame::Reader::value(AccessFile::Type type, AccessFile::Value& value) {
    value = AccessFile::Value();
    value.null = byte() != 0;
    if (value.null)
        return;
    switch (type) {
    case AccessFile::Type::Integer:
    case AccessFile::Type::Currency:
        value.integer = integer();
        break;
    case AccessFile::Type::Real:
    case AccessFile::Type::DateTime:
        value.real = real();
        break;
    case AccessFile::Type::Text:
    case AccessFile::Type::Other:
        value.text = text();
        break;
    }
}

qint64 AccessFrame::Reader::integer() {
    if (!has(8))
        return 0;
    const qint64 value = qFromLittleEndian<qint64>(m_bytes.constData() + m_at);
    m_at += 8;
    return value;
}

double AccessFrame::Reader::real() {
    const qint64 bits = integer();
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QString AccessFrame::Reader::text() {
    if (!has(4))
        return {};
    const qint64 size = qFromLittleEndian<quint32>(m_bytes.constData() + m_at);
    m_at += 4;
    if (!has(size))
        return {};
    const QString text = QString::fromUtf8(m_bytes.constData() + m_at, size);
    m_at += size;
    return text;
}
