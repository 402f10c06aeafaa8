#include "FileInstaller.h"
#include "FileOperations.h"
#include "InstalledFiles.h"
#include "ProgramFolderSetting.h"
#include "UpdateFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

namespace {
// The real file steps, each one logged as "copy update/Zlv -> installation/.Zlv.neu"; the step numbered
// failAt fails, and so do the steps logged as one of failing.
class FailingFileOperations : public FileOperations {
public:
    int failAt = -1;
    QStringList failing;
    QStringList log;

    bool copy(const QString& source, const QString& target, bool executable) override {
        return step(QStringLiteral("copy ") + name(source) + QStringLiteral(" -> ") + name(target)) &&
               FileOperations::copy(source, target, executable);
    }
    bool rename(const QString& from, const QString& to) override {
        return step(QStringLiteral("rename ") + name(from) + QStringLiteral(" -> ") + name(to)) &&
               FileOperations::rename(from, to);
    }
    bool remove(const QString& path) override {
        return step(QStringLiteral("remove ") + name(path)) && FileOperations::remove(path);
    }

private:
    static QString name(const QString& path) {
        return QFileInfo(path).dir().dirName() + QLatin1Char('/') + QFileInfo(path).fileName();
    }
    bool step(const QString& description) {
        log << description;
        return log.size() - 1 != failAt && !failing.contains(description);
    }
};

FileInstaller::Outcome install(const UpdateFolders& folders, FileOperations& files) {
    return FileInstaller(files, folders.source(), folders.target()).install();
}
} // namespace

class FileInstallerTest : public QObject {
    Q_OBJECT
private slots:
    void installationHoldsOldPairOrNewPairWhicheverStepFails_data();
    void installationHoldsOldPairOrNewPairWhicheverStepFails();
    void oldProgramThatCannotBePutBackIsKeptAside();
    void programNewToTheInstallationIsRemovedWhenTheUpdateFails();
    void blockedFileStopsTheUpdateBeforeAnythingChanges_data();
    void blockedFileStopsTheUpdateBeforeAnythingChanges();
    void programFolderIsReadFromZlvsSettingsWhateverTheCaseOfItsSection();
};

void FileInstallerTest::installationHoldsOldPairOrNewPairWhicheverStepFails_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("leftovers");
    QTest::addColumn<bool>("installed");
    UpdateFolders folders;
    FailingFileOperations files;
    QVERIFY(install(folders, files).installed);
    const int lastRename = int(files.log.lastIndexOf(QRegularExpression(QStringLiteral("rename .*"))));
    QCOMPARE(files.log.at(lastRename),
             QStringLiteral("rename installation/.zlv.html.neu -> installation/zlv.html"));
    QTest::newRow("nothing fails") << -1 << false << true;
    QTest::newRow("nothing fails, files of an interrupted run left") << -1 << true << true;
    for (int i = 0; i < files.log.size(); ++i)
        QTest::newRow(qPrintable(files.log[i])) << i << false << (i > lastRename);
}

void FileInstallerTest::installationHoldsOldPairOrNewPairWhicheverStepFails() {
    QFETCH(int, step);
    QFETCH(bool, leftovers);
    QFETCH(bool, installed);
    UpdateFolders folders;
    for (const QString& name : {InstalledFiles::program(), InstalledFiles::help()}) {
        for (const QString& left : {FileInstaller::stagedName(name), FileInstaller::keptName(name)})
            QVERIFY(!leftovers || UpdateFolders::write(folders.targetFile(left), "halb", false));
    }
    FailingFileOperations files;
    files.failAt = step;

    const FileInstaller::Outcome outcome = install(folders, files);

    QCOMPARE(outcome.installed, installed);
    QCOMPARE(outcome.failure.isEmpty(), installed);
    if (!installed) {
        QVERIFY2(folders.holdsOldPairAndSources(),
                 qPrintable(UpdateFolders::entries(folders.target()).join(' ')));
        return;
    }
    if (step < 0)
        QVERIFY(folders.holdsNewPairWithoutSources());
    QCOMPARE(UpdateFolders::contents(folders.targetFile(InstalledFiles::program())),
             UpdateFolders::newProgram());
    QCOMPARE(UpdateFolders::contents(folders.targetFile(InstalledFiles::help())), UpdateFolders::newHelp());
    QVERIFY(UpdateFolders::isExecutable(folders.targetFile(InstalledFiles::program())));
    const QStringList leftInSource = UpdateFolders::entries(folders.source());
    QCOMPARE(outcome.leftInSource.size(), leftInSource.size());
    QVERIFY(leftInSource.size() + UpdateFolders::entries(folders.target()).size() <= 3);
}

void FileInstallerTest::oldProgramThatCannotBePutBackIsKeptAside() {
    UpdateFolders folders;
    FailingFileOperations files;
    files.failing = {QStringLiteral("rename installation/.zlv.html.neu -> installation/zlv.html"),
                     QStringLiteral("rename installation/.Zlv.alt -> installation/Zlv")};

    const FileInstaller::Outcome outcome = install(folders, files);

    QVERIFY(!outcome.installed);
    QVERIFY2(outcome.failure.contains(QStringLiteral("Die bisherige Datei liegt als „%1“ bereit.")
                                          .arg(folders.targetFile(QStringLiteral(".Zlv.alt")))),
             qPrintable(outcome.failure));
    QCOMPARE(UpdateFolders::contents(folders.targetFile(QStringLiteral(".Zlv.alt"))),
             UpdateFolders::oldProgram());
    QCOMPARE(UpdateFolders::contents(folders.targetFile(InstalledFiles::help())), UpdateFolders::oldHelp());
    QCOMPARE(UpdateFolders::entries(folders.target()),
             (QStringList{QStringLiteral(".Zlv.alt"), InstalledFiles::program(), InstalledFiles::help()}));
}

void FileInstallerTest::programNewToTheInstallationIsRemovedWhenTheUpdateFails() {
    UpdateFolders folders;
    QVERIFY(QFile::remove(folders.targetFile(InstalledFiles::program())));
    FailingFileOperations files;
    files.failing = {QStringLiteral("rename installation/.zlv.html.neu -> installation/zlv.html")};

    QVERIFY(!install(folders, files).installed);

    QCOMPARE(UpdateFolders::entries(folders.target()), QStringList{InstalledFiles::help()});
    QCOMPARE(UpdateFolders::contents(folders.targetFile(InstalledFiles::help())), UpdateFolders::oldHelp());
}

void FileInstallerTest::blockedFileStopsTheUpdateBeforeAnythingChanges_data() {
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QString>("message");
    QTest::newRow("folder in place of the help page")
        << InstalledFiles::help() << QStringLiteral("gesichert");
    QTest::newRow("folder in place of the program's new copy")
        << FileInstaller::stagedName(InstalledFiles::program()) << QStringLiteral("kopiert");
    QTest::newRow("new help page missing") << QString() << QStringLiteral("fehlt");
}

void FileInstallerTest::blockedFileStopsTheUpdateBeforeAnythingChanges() {
    QFETCH(QString, blocked);
    QFETCH(QString, message);
    UpdateFolders folders;
    if (blocked.isEmpty()) {
        QVERIFY(QFile::remove(folders.sourceFile(InstalledFiles::help())));
    } else {
        QFile::remove(folders.targetFile(blocked));
        QVERIFY(QDir().mkpath(folders.targetFile(blocked) + QStringLiteral("/inhalt")));
    }
    const QStringList target = UpdateFolders::entries(folders.target());
    const QStringList source = UpdateFolders::entries(folders.source());
    FileOperations files;

    const FileInstaller::Outcome outcome = install(folders, files);

    QVERIFY(!outcome.installed);
    QVERIFY2(outcome.failure.contains(message), qPrintable(outcome.failure));
    QCOMPARE(UpdateFolders::entries(folders.target()), target);
    QCOMPARE(UpdateFolders::entries(folders.source()), source);
    QCOMPARE(UpdateFolders::contents(folders.targetFile(InstalledFiles::program())),
             UpdateFolders::oldProgram());
}

void FileInstallerTest::programFolderIsReadFromZlvsSettingsWhateverTheCaseOfItsSection() {
    UpdateFolders folders;
    const QString path = folders.targetFile(QStringLiteral("TalbrinZlv.ini"));
    QCOMPARE(ProgramFolderSetting::read(path), QString());

    QVERIFY(UpdateFolders::write(path, "[zlv]\nPfadZurExe=/falsch\n[SETTING]\nPfadZurExe=/opt/zlv\n", false));

    QCOMPARE(ProgramFolderSetting::read(path), QStringLiteral("/opt/zlv"));
}

QTEST_GUILESS_MAIN(FileInstallerTest)
#include "FileInstallerTest.moc"
