#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

// The texts of one read, each made once from its bytes: the rows that repeat a text (a project's name, a
// company, a trade) share it instead of holding a copy each. Up to kMostTexts different texts are kept;
// beyond them a text is made anew each time.
class RepeatedTexts {
public:
    static constexpr qsizetype kMostTexts = 16384;

    // The text of the UTF-8 bytes utf8, as QString::fromUtf8 makes it.
    QString fromUtf8(QByteArrayView utf8);

private:
    QHash<QByteArray, QString> m_texts;
};
