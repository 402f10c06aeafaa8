#include "DatabaseIniFile.h"

#include <QTest>

// Reading and writing the one line of PfadZurDatenbank.ini.
class DatabaseIniFileTest : public QObject {
    Q_OBJECT

private slots:
    void readsTheFirstValue_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("folder");

        QTest::newRow("line with line end") << QByteArray("/daten/bau/\n") << "/daten/bau/";
        QTest::newRow("Windows line end") << QByteArray("D:\\Daten\\Bau\\\r\n") << "D:\\Daten\\Bau\\";
        QTest::newRow("no line end") << QByteArray("/daten/") << "/daten/";
        QTest::newRow("blanks around") << QByteArray("  /daten/ \t\n") << "/daten/";
        QTest::newRow("unquoted value ends at a comma") << QByteArray(" /daten/ ,rest\n") << "/daten/";
        QTest::newRow("quoted value keeps its comma")
            << QByteArray("\"/hoch, tief/\",rest\n") << "/hoch, tief/";
        QTest::newRow("blanks before the quote") << QByteArray("  \"/a,b/\"\n") << "/a,b/";
        QTest::newRow("quote not closed") << QByteArray("\"/a,b/\r\nzweite\n") << "/a,b/";
        QTest::newRow("only the first line counts") << QByteArray("\n/daten/\n") << "";
        QTest::newRow("blanks only") << QByteArray("   \r\n") << "";
        QTest::newRow("empty quotes") << QByteArray("\"\"\n") << "";
        QTest::newRow("empty file") << QByteArray() << "";
        QTest::newRow("UTF-8") << QByteArray("/B\xC3\xA4u\xC3\x9F/\n") << "/Bäuß/";
        QTest::newRow("UTF-8 byte order mark") << QByteArray("\xEF\xBB\xBF/\xC3\x84mter/\n") << "/Ämter/";
        QTest::newRow("Windows-1252 umlauts") << QByteArray("/B\xE4u\xDF\xD6/\n") << "/BäußÖ/";
        QTest::newRow("Windows-1252 0x80 to 0x9F")
            << QByteArray("/\x80\x8A\x8C\x96\x9F/\n") << QString::fromUtf8("/€ŠŒ–Ÿ/");
        QTest::newRow("Windows-1252 undefined byte")
            << QByteArray("/\xE4\x81/") << QString::fromUtf16(u"/ä\u0081/");
    }

    void readsTheFirstValue() {
        QFETCH(QByteArray, content);
        QFETCH(QString, folder);
        QCOMPARE(DatabaseIniFile::folder(content), folder);
    }

    void writesOneLine_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QByteArray>("content");

        QTest::newRow("plain") << "/daten/bau/" << QByteArray("/daten/bau/\n");
        QTest::newRow("umlauts in UTF-8") << "/Ämter/" << QByteArray("/\xC3\x84mter/\n");
        QTest::newRow("comma quoted") << "/hoch, tief/" << QByteArray("\"/hoch, tief/\"\n");
        QTest::newRow("two commas quoted") << "/a,b,c/" << QByteArray("\"/a,b,c/\"\n");
    }

    void writesOneLine() {
        QFETCH(QString, folder);
        QFETCH(QByteArray, content);
        QCOMPARE(DatabaseIniFile::content(folder), content);
        QCOMPARE(DatabaseIniFile::folder(content), folder);
    }
};

QTEST_MAIN(DatabaseIniFileTest)
#include "DatabaseIniFileTest.moc"
