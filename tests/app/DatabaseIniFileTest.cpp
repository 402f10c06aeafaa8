#include "DatabaseIniFile.h"

#include <QTest>

class DatabaseIniFileTest : public QObject {
    Q_OBJECT

private slots:
    void folderIsTheFirstValueOfTheFirstLine_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("folder");
        QTest::newRow("Windows line end") << QByteArray("D:\\Daten\\Bau\\\r\n") << "D:\\Daten\\Bau\\";
        QTest::newRow("unquoted value ends at a comma") << QByteArray("  /daten/ ,rest\n") << "/daten/";
        QTest::newRow("quoted value keeps its comma")
            << QByteArray(" \"/hoch, tief/\",rest\n") << "/hoch, tief/";
        QTest::newRow("quote not closed") << QByteArray("\"/a,b/\r\nzweite\n") << "/a,b/";
        QTest::newRow("only the first line counts") << QByteArray("\n/daten/\n") << "";
        QTest::newRow("empty quotes") << QByteArray("\"\"\n") << "";
        QTest::newRow("UTF-8 byte order mark") << QByteArray("\xEF\xBB\xBF/\xC3\x84mter/\n") << "/Ämter/";
        QTest::newRow("Windows-1252")
            << QByteArray("/B\xE4u\xDF\x80\x8A\x9F/\n") << QString::fromUtf8("/Bäuß€ŠŸ/");
        QTest::newRow("Windows-1252 undefined byte")
            << QByteArray("/\xE4\x81/") << QString::fromUtf16(u"/ä\u0081/");
    }

    void folderIsTheFirstValueOfTheFirstLine() {
        QFETCH(QByteArray, content);
        QFETCH(QString, folder);
        QCOMPARE(DatabaseIniFile::folder(content), folder);
    }

    void writtenFolderIsReadBack_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("umlauts in UTF-8") << "/Ämter/" << QByteArray("/\xC3\x84mter/\n");
        QTest::newRow("commas quoted") << "/a,b, c/" << QByteArray("\"/a,b, c/\"\n");
    }

    void writtenFolderIsReadBack() {
        QFETCH(QString, folder);
        QFETCH(QByteArray, content);
        QCOMPARE(DatabaseIniFile::content(folder), content);
        QCOMPARE(DatabaseIniFile::folder(content), folder);
    }
};

QTEST_MAIN(DatabaseIniFileTest)
#include "DatabaseIniFileTest.moc"
