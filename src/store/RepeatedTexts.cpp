#include "RepeatedTexts.h"

QString RepeatedTexts::fromUtf8(QByteArrayView utf8) {
    // Looked up by the bytes as they lie, without a copy; a text kept gets bytes of its own.
    const QByteArray bytes = QByteArray::fromRawData(utf8.data(), utf8.size());
    if (const auto found = m_texts.constFind(bytes); found != m_texts.cend())
        return found.value();
    QString text = QString::fromUtf8(utf8);
    if (m_texts.size() < kMostTexts)
        m_texts.insert(QByteArray(utf8.data(), utf8.size()), text);
    return text;
}
