#include "ApplicationSetup.h"

#include <QApplication>
#include <QTest>
#include <QTranslator>

// The program speaks German throughout, Qt's own dialogs included, whatever the desktop's language.
class ApplicationSetupTest : public QObject {
    Q_OBJECT

private slots:
    void localeIsGermanAndTheFaceLiberationSans() {
        QCOMPARE(QLocale::system().language(), QLocale::German);
        QCOMPARE(QLocale().territory(), QLocale::Germany);
        QCOMPARE(QApplication::font().family(), "Liberation Sans");
        QCOMPARE(QApplication::font().pointSize(), 9);
        QCOMPARE(QCoreApplication::translate("QFileSystemModel", "Date Modified"), "Änderungsdatum");
    }
};

int main(int argc, char** argv) {
    ApplicationSetup::prepareEnvironment();
    QApplication app(argc, argv);
    QTranslator translator;
    ApplicationSetup::apply(translator);
    ApplicationSetupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ApplicationSetupTest.moc"
