#include "FileInstaller.h"
#include "FileOperations.h"
#include "ProgramFolderSetting.h"
#include "UpdateFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

#include <sys/stat.h>

namespace {
// The real file steps, each logged as "rename installation/.Zlv.neu -> installation/Zlv"; the step numbered
// failAt fails, and so do the steps listed in failing.
class FailingFileOperations : public FileOperations {
public:
    int failAt = -1;
    QStringList failing;
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
} // namespace

class FileInstallerTest : public QObject {
    Q_OBJECT
private slots:
    void installationHoldsOldPairOrNewPairWhereverTheUpdateFails_data();
    void installationHoldsOldPairOrNewPairWhereverTheUpdateFails();
    void installedFilesCarryTheProgramsOwnPermissions_data();
    void installedFilesCarryTheProgramsOwnPermissions();
    void programFolderIsReadFromZlvsSettingsWhateverTheCaseOfItsSection();
};

void FileInstallerTest::installationHoldsOldPairOrNewPairWhereverTheUpdateFails_data() {
    QTest::addColumn<QStringList>("given"); // "-file" removed, "folder/" made, "file=text" written
    QTest::addColumn<int>("failAt");
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("message"); // empty when installed
    const QString helpRename = QStringLiteral("rename installation/.zlv.html.neu -> installation/zlv.html");
    UpdateFolders folders;
    FailingFileOperations files;
    QVERIFY(FileInstaller(files, folders.source(), folders.target()).install().installed);
    const int lastRename = int(files.log.indexOf(helpRename));
    QTest::newRow("nothing fails") << QStringList() << -1 << QStringList() << UpdateFolders::newState()
                                   << QString();
    QTest::newRow("files of an interrupted run left")
        << QStringList{"installation/.Zlv.neu=halb", "installation/.Zlv.alt=halb",
                       "installation/.zlv.html.neu=halb", "installation/.zlv.html.alt=halb"}
        << -1 << QStringList() << UpdateFolders::newState() << QString();
    for (int i = 0; i < files.log.size(); ++i)
        QTest::newRow(qPrintable(files.log[i]))
            << QStringList() << i << QStringList()
            << (i > lastRename ? UpdateFolders::newState() : UpdateFolders::oldState())
            << (i > lastRename ? QString() : QStringLiteral("Die"));
    QTest::newRow("old program cannot be put back")
        << QStringList() << -1
        << QStringList{helpRename, QStringLiteral("rename installation/.Zlv.alt -> installation/Zlv")}
        << "installation: .Zlv.alt=alt* Zlv=neu* zlv.html=alt | update: Zlv=neu zlv.html=neu"
        << "Die bisherige Datei liegt als „<installation>/.Zlv.alt“ bereit.";
    QTest::newRow("program new to the installation")
        << QStringList{"-installation/Zlv"} << -1 << QStringList{helpRename}
        << "installation: zlv.html=alt | update: Zlv=neu zlv.html=neu"
        << "Die";
    QTest::newRow("new help page missing") << QStringList{"-update/zlv.html"} << -1 << QStringList()
                                           << "installation: Zlv=alt* zlv.html=alt | update: Zlv=neu"
                                           << "fehlt";
    // The PDF module goes along when the update brings it, and stays as it is when not.
    const QStringList module{"update/libzlvpdf.so=neu", "installation/libzlvpdf.so=alt"};
    QTest::newRow("module with the update")
        << module << -1 << QStringList()
        << "installation: Zlv=neu* libzlvpdf.so=neu* zlv.html=neu | update:" << QString();
    QTest::newRow("update without the module")
        << QStringList{module[1]} << -1 << QStringList()
        << "installation: Zlv=neu* libzlvpdf.so=alt zlv.html=neu | update:" << QString();
    QTest::newRow("module cannot be replaced")
        << module << -1
        << QStringList{QStringLiteral("rename installation/.libzlvpdf.so.neu -> installation/libzlvpdf.so")}
        << "installation: Zlv=alt* libzlvpdf.so=alt zlv.html=alt | update: Zlv=neu libzlvpdf.so=neu "
           "zlv.html=neu"
        << "Die";
}

void FileInstallerTest::installationHoldsOldPairOrNewPairWhereverTheUpdateFails() {
    QFETCH(QStringList, given);
    QFETCH(int, failAt);
    QFETCH(QStringList, failing);
    QFETCH(QString, state);
    QFETCH(QString, message);
    UpdateFolders folders;
    for (const QString& step : given) {
        if (step.startsWith(QLatin1Char('-')))
            QVERIFY(QFile::remove(folders.path(step.mid(1))));
        else if (step.endsWith(QLatin1Char('/')))
            QVERIFY(QDir().mkpath(folders.path(step + QStringLiteral("inhalt"))));
        else
            QVERIFY(folders.write(step.section(QLatin1Char('='), 0, 0),
                                  step.section(QLatin1Char('='), 1).toUtf8()));
    }
    FailingFileOperations files;
    files.failAt = failAt;
    files.failing = failing;

    const FileInstaller::Outcome outcome = FileInstaller(files, folders.source(), folders.target()).install();

    QCOMPARE(outcome.installed, message.isEmpty());
    QVERIFY2(outcome.failure.contains(message.replace(QStringLiteral("<installation>"), folders.target())),
             qPrintable(outcome.failure));
    const QString left = failAt >= 0 && outcome.installed ? files.log[failAt].section(' ', 1) : QString();
    QCOMPARE(outcome.leftInSource,
             left.startsWith(QStringLiteral("update/")) ? QStringList{folders.path(left)} : QStringList());
    if (!left.isEmpty())
        QFile::remove(folders.path(left));
    QCOMPARE(folders.state(), state);
}

void FileInstallerTest::installedFilesCarryTheProgramsOwnPermissions_data() {
    QTest::addColumn<uint>("sourceMode"); // of every file in the update folder
    QTest::newRow("writable for everyone") << 0777u;
    QTest::newRow("readable by the owner only") << 0600u;
    QTest::newRow("group may write, none may run") << 0664u;
}

void FileInstallerTest::installedFilesCarryTheProgramsOwnPermissions() {
    QFETCH(uint, sourceMode);
    UpdateFolders folders;
    QVERIFY(folders.write(QStringLiteral("update/libzlvpdf.so"), "neu"));
    QVERIFY(folders.write(QStringLiteral("update/Zlv_Access"), "neu"));
    QVERIFY(folders.write(QStringLiteral("update/libzlvcharts.so"), "neu"));
    QVERIFY(folders.write(QStringLiteral("update/libzlvprint.so"), "neu"));
    for (const QString& name :
         {QStringLiteral("Zlv"), QStringLiteral("zlv.html"), QStringLiteral("libzlvpdf.so"),
          QStringLiteral("Zlv_Access"), QStringLiteral("libzlvcharts.so"), QStringLiteral("libzlvprint.so")})
        QCOMPARE(::chmod(QFile::encodeName(folders.path(QStringLiteral("update/") + name)).constData(),
                         sourceMode),
                 0);
    FileOperations files;

    QVERIFY(FileInstaller(files, folders.source(), folders.target()).install().installed);

    const auto mode = [&folders](const QString& name) {
        struct stat status {};
        return ::stat(QFile::encodeName(folders.path(QStringLiteral("installation/") + name)).constData(),
                      &status) == 0
                   ? QString::number(status.st_mode & 07777, 8)
                   : QStringLiteral("fehlt");
    };
    QCOMPARE(mode(QStringLiteral("Zlv")), QStringLiteral("755"));
    QCOMPARE(mode(QStringLiteral("libzlvpdf.so")), QStringLiteral("755"));
    QCOMPARE(mode(QStringLiteral("Zlv_Access")), QStringLiteral("755"));
    QCOMPARE(mode(QStringLiteral("libzlvcharts.so")), QStringLiteral("755"));
    QCOMPARE(mode(QStringLiteral("libzlvprint.so")), QStringLiteral("755"));
    QCOMPARE(mode(QStringLiteral("zlv.html")), QStringLiteral("644"));
}

void FileInstallerTest::programFolderIsReadFromZlvsSettingsWhateverTheCaseOfItsSection() {
    UpdateFolders folders;
    const QString path = folders.path(QStringLiteral("TalbrinZlv.ini"));
    QCOMPARE(ProgramFolderSetting::read(path), QString());

    QVERIFY(folders.write(QStringLiteral("TalbrinZlv.ini"),
                          "[zlv]\nPfadZurExe=/falsch\n[SETTING]\nPfadZurExe=/opt/zlv\n"));

    QCOMPARE(ProgramFolderSetting::read(path), QStringLiteral("/opt/zlv"));
}

QTEST_GUILESS_MAIN(FileInstallerTest)
#include "FileInstallerTest.moc"
