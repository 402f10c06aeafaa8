#include "SystemErrorText.h"

#include <cerrno>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The operating system's failures in German, from an errno value and from a file that failed.
class SystemErrorTextTest : public QObject {
    Q_OBJECT

private slots:
    void fromErrno_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("refused") << EACCES << "Zugriff verweigert";
        QTest::newRow("not permitted") << EPERM << "Zugriff verweigert";
        QTest::newRow("disk full") << ENOSPC << "Kein Speicherplatz mehr auf dem Datenträger";
        QTest::newRow("read-only disk") << EROFS << "Der Datenträger ist schreibgeschützt";
        QTest::newRow("unknown") << 4711 << "Fehler 4711 des Betriebssystems";
    }
    void fromErrno() {
        QFETCH(int, code);
        QTEST(SystemErrorText::ofErrno(code), "text");
        QTEST(SystemErrorText::of(std::error_code(code, std::generic_category())), "text");
    }

    // Real failures: a write the kernel refuses even to root, a missing folder, a name that is a folder.
    void fromFile_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("text");
        QTest::newRow("refused") << u"/sys/zlv-export.csv"_s << "Zugriff verweigert";
        QTest::newRow("missing folder") << u"fehlt/x.csv"_s << "Datei oder Ordner nicht vorhanden";
        QTest::newRow("folder") << u"."_s << "Der Name bezeichnet einen Ordner";
    }
    void fromFile() {
        QFETCH(QString, path);
        QTemporaryDir dir;
        QSaveFile file(path.startsWith('/') ? path : dir.filePath(path));
        QVERIFY(!file.open(QIODevice::WriteOnly));
        QTEST(SystemErrorText::of(file), "text");
    }
};

QTEST_GUILESS_MAIN(SystemErrorTextTest)
#include "SystemErrorTextTest.moc"
