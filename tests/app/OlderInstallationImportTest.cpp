#include "OlderInstallationImport.h"
#include "DamagedAccessFile.h"
#include "ImportReportWindow.h"
#include "ScriptedDialogs.h"

#include <QDir>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The clerk's import of an older installation's Access file: the window answers while the file is read.
class OlderInstallationImportTest : public QObject {
    Q_OBJECT

private slots:
    void abbrechenEndsTheReadingOfAFileThatHangs() {
        const QString office = QStringLiteral(ZLV_JET_FIXTURES "/zlv-office.mdb");
        if (!QFileInfo::exists(office) && qEnvironmentVariable("CI") == "true")
            QFAIL("the Access fixtures are missing (" ZLV_JET_FIXTURES ")");
        if (!QFileInfo::exists(office))
            QSKIP("the Access fixtures are missing (" ZLV_JET_FIXTURES ")");
        QTemporaryDir folder;
        const QString access = DamagedAccessFile::copy(office, "loop:51", folder.path());
        QVERIFY(!access.isEmpty());
        ScriptedDialogs dialogs;
        // Runs whenever the window handles its events; once the bookings are read (where the reader
        // hangs) and the window has handled its events several times since, the clerk cancels.
        int turns = 0;
        QTimer clerk;
        connect(&clerk, &QTimer::timeout, [&] {
            auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
            if (progress && progress->labelText().contains("tblBuchung") && ++turns == 5)
                QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
        });
        clerk.start(0);

        const AccessImport::Result result =
            OlderInstallationImport::run(access, folder.filePath("ZLV.mdb"), dialogs, nullptr);

        QCOMPARE(turns, 5);
        QVERIFY(result.outcome == AccessImport::Outcome::Cancelled);
        QCOMPARE(dialogs.lastText(), "Die Übernahme wurde abgebrochen; es blieb nichts zurück.");
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"beschaedigt.mdb"});
    }

    // A table's name from the file reaches the heading; a name that looks like markup stays text.
    void theReportsHeadingShowsTextFromTheFileAsItIs() {
        ScriptedDialogs dialogs;
        const QString heading = "Die Tabelle <a href=\"x\">tblFirma</a> fehlt.";
        ImportReportWindow window(heading, "Bericht", "Übernahme.txt", dialogs);
        auto* label = window.findChild<QLabel*>("lblUeberschrift");
        QVERIFY(label);
        label->setWordWrap(false);
        QCOMPARE(label->sizeHint().width() - 2 * label->margin(),
                 label->fontMetrics().horizontalAdvance(heading));
    }
};

QTEST_MAIN(OlderInstallationImportTest)
#include "OlderInstallationImportTest.moc"
