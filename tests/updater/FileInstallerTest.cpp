#include "FileInstaller.h"
#include "FileOperations.h"
#include "InstalledFiles.h"
#include "ProgramFolderSetting.h"
#include "UpdateFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// The real file steps, each one logged by what it does; the step numbered failAt fails.
class InjectingFileOperations : public FileOperations {
public:
    int failAt = -1;
    // A further step that fails, by its description.
    QString alsoFailing;
    QStringList log;

    bool copy(const QString& source, const QString& target, bool executable) override {
        return step(QStringLiteral("copy %1 -> %2").arg(name(source), name(target))) &&
               FileOperations::copy(source, target, executable);
    }
    bool rename(const QString& from, const QString& to) override {
        return step(QStringLiteral("rename %1 -> %2").arg(name(from), name(to))) &&
               FileOperations::rename(from, to);
    }
    bool remove(const QString& path) override {
        return step(QStringLiteral("remove %1").arg(name(path))) && FileOperations::remove(path);
    }

private:
    static QString name(const QString& path) {
        const QFileInfo info(path);
        return info.dir().dirName() + QLatin1Char('/') + info.fileName();
    }
    bool step(const QString& description) {
        log << description;
        return log.size() - 1 != failAt && description != alsoFailing;
    }
};

// The steps of an update that runs through, in order.
QStringList stepsOfAnUpdate() {
    UpdateFolders folders;
    InjectingFileOperations files;
    FileInstaller(files, folders.source(), folders.target()).install();
    return files.log;
}
} // namespace

class FileInstallerTest : public QObject {
    Q_OBJECT
private slots:
    void replacesBothFilesAndEmptiesTheUpdateFolder();
    void filesLeftByAnInterruptedRunAreReplaced();
    void secondRunFindsNothingAndChangesNothing();
    void failureAtEachStepLeavesOldPairOrCompletesNewPair_data();
    void failureAtEachStepLeavesOldPairOrCompletesNewPair();
    void oldProgramThatCannotBePutBackIsKeptAside();
    void programNewToTheInstallationIsRemovedWhenTheUpdateFails();
    void folderInPlaceOfAFileIsReportedAndChangesNothing_data();
    void folderInPlaceOfAFileIsReportedAndChangesNothing();
    void programFolderIsReadFromZlvsSettings();
};

void FileInstallerTest::replacesBothFilesAndEmptiesTheUpdateFolder() {
    UpdateFolders folders;
    QVERIFY(folders.isValid());
    QVERIFY(!UpdateFolders::isExecutable(folders.sourceFile(InstalledFiles::program())));
    FileOperations files;
    FileInstaller installer(files, folders.source(), folders.target());
    QVERIFY(installer.sourcesPresent());

    const FileInstaller::Outcome outcome = installer.install();
    QVERIFY(outcome.installed);
    QCOMPARE(outcome.failure, QString());
    QCOMPARE(outcome.leftInSource, QStringList());
    QVERIFY(folders.holdsNewPairWithoutSources());
    QVERIFY(!UpdateFolders::isExecutable(folders.targetFile(InstalledFiles::help())));
}

void FileInstallerTest::filesLeftByAnInterruptedRunAreReplaced() {
    UpdateFolders folders;
    for (const QString& name : {InstalledFiles::program(), InstalledFiles::help()}) {
        QVERIFY(UpdateFolders::write(folders.targetFile(FileInstaller::stagedName(name)), "halb", false));
        QVERIFY(UpdateFolders::write(folders.targetFile(FileInstaller::keptName(name)), "halb", false));
    }
    FileOperations files;
    QVERIFY(FileInstaller(files, folders.source(), folders.target()).install().installed);
    QVERIFY(folders.holdsNewPairWithoutSources());
}

void FileInstallerTest::secondRunFindsNothingAndChangesNothing() {
    UpdateFolders folders;
    FileOperations files;
    QVERIFY(FileInstaller(files, folders.source(), folders.target()).install().installed);

    FileInstaller again(files, folders.source(), folders.target());
    QVERIFY(!again.sourcesPresent());
    const FileInstaller::Outcome outcome = again.install();
    QVERIFY(!outcome.installed);
    QVERIFY2(outcome.failure.contains(QStringLiteral("fehlt")), qPrintable(outcome.failure));
    QVERIFY(folders.holdsNewPairWithoutSources());
}

void FileInstallerTest::failureAtEachStepLeavesOldPairOrCompletesNewPair_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("installed");
    const QStringList steps = stepsOfAnUpdate();
    // The second rename puts the new pair in place; every step up to it may fail without harm.
    const int lastRename = int(steps.lastIndexOf(QRegularExpression(QStringLiteral("rename .*"))));
    QVERIFY(lastRename > 0);
    QCOMPARE(steps.count(QStringLiteral("rename installation/.Zlv.neu -> installation/Zlv")), 1);
    for (int i = 0; i < steps.size(); ++i)
        QTest::newRow(qPrintable(steps[i])) << i << (i > lastRename);
}

void FileInstallerTest::failureAtEachStepLeavesOldPairOrCompletesNewPair() {
    QFETCH(int, step);
    QFETCH(bool, installed);
    UpdateFolders folders;
    InjectingFileOperations files;
    files.failAt = step;
    const FileInstaller::Outcome outcome = FileInstaller(files, folders.source(), folders.target()).install();

    QCOMPARE(outcome.installed, installed);
    if (!installed) {
        QVERIFY(!outcome.failure.isEmpty());
        QVERIFY2(folders.holdsOldPairAndSources(),
                 qPrintable(UpdateFolders::entries(folders.target()).join(' ')));
        return;
    }
    QCOMPARE(UpdateFolders::contents(folders.targetFile(InstalledFiles::program())),
             UpdateFolders::newProgram());
    QCOMPARE(UpdateFolders::contents(folders.targetFile(InstalledFiles::help())), UpdateFolders::newHelp());
    QVERIFY(UpdateFolders::isExecutable(folders.targetFile(InstalledFiles::program())));
    // At most the one file whose removal failed stays behind.
    const QStringList leftInSource = UpdateFolders::entries(folders.source());
    QCOMPARE(outcome.leftInSource.size(), leftInSource.size());
    QVERIFY(leftInSource.size() + UpdateFolders::entries(folders.target()).size() <= 3);
}

void FileInstallerTest::oldProgramThatCannotBePutBackIsKeptAside() {
    UpdateFolders folders;
    InjectingFileOperations files;
    files.failAt = int(stepsOfAnUpdate().indexOf(
        QStringLiteral("rename installation/.zlv.html.neu -> installation/zlv.html")));
    QVERIFY(files.failAt > 0);
    files.alsoFailing = QStringLiteral("rename installation/.Zlv.alt -> installation/Zlv");
    const FileInstaller::Outcome outcome = FileInstaller(files, folders.source(), folders.target()).install();

    QVERIFY(!outcome.installed);
    QVERIFY2(outcome.failure.contains(QStringLiteral("Die bisherige Datei liegt als „%1“ bereit.")
                                          .arg(folders.targetFile(QStringLiteral(".Zlv.alt")))),
             qPrintable(outcome.failure));
    QCOMPARE(UpdateFolders::contents(folders.targetFile(QStringLiteral(".Zlv.alt"))),
             UpdateFolders::oldProgram());
    QCOMPARE(UpdateFolders::contents(folders.targetFile(InstalledFiles::help())), UpdateFolders::oldHelp());
    QCOMPARE(UpdateFolders::entries(folders.target()),
             (QStringList{QStringLiteral(".Zlv.alt"), InstalledFiles::program(), InstalledFiles::help()}));
    QCOMPARE(UpdateFolders::entries(folders.source()),
             (QStringList{InstalledFiles::program(), InstalledFiles::help()}));
}

void FileInstallerTest::programNewToTheInstallationIsRemovedWhenTheUpdateFails() {
    UpdateFolders folders;
    QVERIFY(QFile::remove(folders.targetFile(InstalledFiles::program())));
    InjectingFileOperations files;
    files.alsoFailing = QStringLiteral("rename installation/.zlv.html.neu -> installation/zlv.html");

    QVERIFY(!FileInstaller(files, folders.source(), folders.target()).install().installed);

    QCOMPARE(UpdateFolders::entries(folders.target()), QStringList{InstalledFiles::help()});
    QCOMPARE(UpdateFolders::contents(folders.targetFile(InstalledFiles::help())), UpdateFolders::oldHelp());
}

void FileInstallerTest::folderInPlaceOfAFileIsReportedAndChangesNothing_data() {
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<QString>("message");
    QTest::newRow("the help page") << InstalledFiles::help() << QStringLiteral("gesichert");
    QTest::newRow("the program's new copy")
        << FileInstaller::stagedName(InstalledFiles::program()) << QStringLiteral("kopiert");
    QTest::newRow("the help page's kept copy")
        << FileInstaller::keptName(InstalledFiles::help()) << QStringLiteral("gesichert");
}

void FileInstallerTest::folderInPlaceOfAFileIsReportedAndChangesNothing() {
    QFETCH(QString, folderName);
    QFETCH(QString, message);
    UpdateFolders folders;
    // Even root cannot write a file where a folder stands.
    const QString blocker = folders.targetFile(folderName);
    QFile::remove(blocker);
    QVERIFY(QDir().mkpath(blocker + QStringLiteral("/inhalt")));
    QStringList before = UpdateFolders::entries(folders.target());

    FileOperations files;
    const FileInstaller::Outcome outcome = FileInstaller(files, folders.source(), folders.target()).install();
    QVERIFY(!outcome.installed);
    QVERIFY2(outcome.failure.contains(message), qPrintable(outcome.failure));
    QCOMPARE(UpdateFolders::entries(folders.target()), before);
    QVERIFY(QFileInfo(blocker).isDir());
    QCOMPARE(UpdateFolders::contents(folders.targetFile(InstalledFiles::program())),
             UpdateFolders::oldProgram());
    QCOMPARE(UpdateFolders::entries(folders.source()),
             (QStringList{InstalledFiles::program(), InstalledFiles::help()}));
}

void FileInstallerTest::programFolderIsReadFromZlvsSettings() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TalbrinZlv.ini"));
    QCOMPARE(ProgramFolderSetting::read(path), QString());
    {
        QSettings written(path, QSettings::IniFormat);
        written.setValue(QStringLiteral("Setting/PfadZurExe"), QStringLiteral("/opt/Talbrin Zelvora/Büro"));
        written.setValue(QStringLiteral("Zlv/PfadZurExe"), QStringLiteral("/falsch"));
    }
    QCOMPARE(ProgramFolderSetting::read(path), QStringLiteral("/opt/Talbrin Zelvora/Büro"));

    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[zlv]\nPfadZurExe=/falsch\n[SETTING]\nPfadZurDAtenbank=/daten\nPfadZurExe=/opt/zlv\n");
    file.close();
    QCOMPARE(ProgramFolderSetting::read(path), QStringLiteral("/opt/zlv"));
}

QTEST_GUILESS_MAIN(FileInstallerTest)
#include "FileInstallerTest.moc"
