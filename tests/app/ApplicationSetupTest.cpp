#include "ApplicationSetup.h"
#include "FontsAhead.h"
#include "PromptThread.h"

#include <atomic>
#include <fontconfig/fontconfig.h>
#include <future>
#include <QApplication>
#include <QFontInfo>
#include <QTest>
#include <QTranslator>
#include <unistd.h>

// The program speaks German throughout, Qt's own dialogs included, whatever the desktop's language.
class ApplicationSetupTest : public QObject {
    Q_OBJECT

private slots:
    void localeIsGermanAndTheFaceLiberationSans() {
        QCOMPARE(QLocale::system().language(), QLocale::German);
        QCOMPARE(QLocale().territory(), QLocale::Germany);
        QCOMPARE(QApplication::font().family(), "Liberation Sans");
        QCOMPARE(QApplication::font().pointSize(), 9);
        // The font configuration was read on the thread main() began.
        QCOMPARE(QFontInfo(QApplication::font()).family(), "Liberation Sans");
        QCOMPARE(QCoreApplication::translate("QFileSystemModel", "Date Modified"), "Änderungsdatum");
    }

    // The window system's plugin takes a desktop's start notice out of the environment while the application
    // is set up; no thread reads the environment meanwhile.
    // The same when the reading begins before the libraries set themselves up, and main() takes it over.
    void fontsReadAheadOnlyWithoutAStartNotice_data() {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<bool>("beforeLibraries");
        QTest::addColumn<bool>("begun");
        for (const bool before : {false, true}) {
            const char* const when = before ? ", before the libraries" : "";
            QTest::addRow("no notice%s", when) << QByteArray() << before << true;
            QTest::addRow("X11%s", when) << QByteArray("DESKTOP_STARTUP_ID") << before << false;
            QTest::addRow("Wayland%s", when) << QByteArray("XDG_ACTIVATION_TOKEN") << before << false;
        }
    }
    void fontsReadAheadOnlyWithoutAStartNotice() {
        QFETCH(QByteArray, variable);
        QFETCH(bool, beforeLibraries);
        QFETCH(bool, begun);
        if (!variable.isEmpty())
            qputenv(variable.constData(), "zlv-start-1");
        if (beforeLibraries)
            FontsAhead::beginBeforeLibraries(environ);
        std::unique_ptr<FontsAhead> fonts = FontsAhead::begin();
        if (!variable.isEmpty())
            qunsetenv(variable.constData());
        QCOMPARE(fonts != nullptr, begun);
    }

    // The reading begun before the libraries is taken over rather than begun again: main() gets it even
    // where a start notice has come into the environment since.
    void readingBegunBeforeTheLibrariesIsTakenOver() {
        FontsAhead::beginBeforeLibraries(environ);
        qputenv("DESKTOP_STARTUP_ID", "zlv-start-2");
        const std::unique_ptr<FontsAhead> fonts = FontsAhead::begin();
        qunsetenv("DESKTOP_STARTUP_ID");
        QVERIFY(fonts);
    }

    // Before the libraries set themselves up, the C library has not yet taken the environment over: the
    // reading gets the one the program was given, and finds its folders in it.
    void environmentHandedOverBeforeTheLibraries() {
        char** const given = environ;
        environ = nullptr;
        FontsAhead::beginBeforeLibraries(given);
        char** const seen = environ;
        environ = given;
        QCOMPARE(seen, given);
        QVERIFY(FontsAhead::begin());
    }

    // The configuration read ahead is the desktop's: the same files, folders and faces as the font library's
    // own reading gives; the configurations merely offered for choice are left unread. Reading ahead once
    // more keeps the configuration the window's thread uses.
    void configurationReadAheadIsTheDesktops_data() {
        QTest::addColumn<QByteArray>("pattern");
        for (const char* pattern : {"sans-serif", "serif", "monospace", "Liberation Sans:bold",
                                    "Helvetica:italic", "DejaVu Sans Mono:pixelsize=11", ":lang=de"})
            QTest::newRow(pattern) << QByteArray(pattern);
    }
    void configurationReadAheadIsTheDesktops() {
        QFETCH(QByteArray, pattern);
        const std::unique_ptr<FcConfig, decltype(&FcConfigDestroy)> desktop(FcInitLoadConfigAndFonts(),
                                                                            FcConfigDestroy);
        QVERIFY(desktop);
        const auto strings = [](FcStrList* list) {
            QStringList read;
            while (const FcChar8* each = FcStrListNext(list))
                read << QString::fromUtf8(reinterpret_cast<const char*>(each));
            FcStrListDone(list);
            return read;
        };
        QVERIFY(!strings(FcConfigGetConfigFiles(nullptr)).isEmpty());
        QCOMPARE(strings(FcConfigGetConfigFiles(nullptr)), strings(FcConfigGetConfigFiles(desktop.get())));
        QCOMPARE(strings(FcConfigGetFontDirs(nullptr)), strings(FcConfigGetFontDirs(desktop.get())));
        QCOMPARE(strings(FcConfigGetCacheDirs(nullptr)), strings(FcConfigGetCacheDirs(desktop.get())));
        const auto match = [&pattern](FcConfig* config) {
            FcPattern* asked = FcNameParse(reinterpret_cast<const FcChar8*>(pattern.constData()));
            FcConfigSubstitute(config, asked, FcMatchPattern);
            FcDefaultSubstitute(asked);
            FcResult result = FcResultNoMatch;
            FcPattern* found = FcFontMatch(config, asked, &result);
            FcChar8* name = found ? FcNameUnparse(found) : nullptr;
            const QString text = name ? QString::fromUtf8(reinterpret_cast<const char*>(name)) : QString();
            FcStrFree(name);
            if (found)
                FcPatternDestroy(found);
            FcPatternDestroy(asked);
            return text;
        };
        QVERIFY(!match(nullptr).isEmpty());
        QCOMPARE(match(nullptr), match(desktop.get()));
        int offeredOnly = 0;
        FcConfigFileInfoIter file;
        FcConfigFileInfoIterInit(nullptr, &file);
        do {
            FcBool enabled = FcTrue;
            if (FcConfigFileInfoIterGet(nullptr, &file, nullptr, nullptr, &enabled) && !enabled)
                ++offeredOnly;
        } while (FcConfigFileInfoIterNext(nullptr, &file));
        QCOMPARE(offeredOnly, 0);

        FcConfig* const current = FcConfigGetCurrent();
        FontsAhead::begin().reset();
        QCOMPARE(FcConfigGetCurrent(), current);
    }

    // A prompt thread's future hands on the work's result; left unasked, it still waits for the work to
    // end when it goes, as the start's check relies on at the program's end.
    void promptThreadsFutureWaitsForItsWork() {
        QCOMPARE(PromptThread::async([] { return 7; }).get(), 7);
        std::promise<void> release;
        const std::shared_future<void> released = release.get_future().share();
        std::atomic<bool> ended = false;
        {
            const std::future<void> unasked = PromptThread::async([&] {
                released.wait();
                ended = true;
            });
            release.set_value();
        }
        QVERIFY(ended);
    }
};

int main(int argc, char** argv) {
    ApplicationSetup::prepareEnvironment();
    qunsetenv("DESKTOP_STARTUP_ID");
    qunsetenv("XDG_ACTIVATION_TOKEN");
    std::unique_ptr<FontsAhead> fonts = FontsAhead::begin();
    QApplication app(argc, argv);
    QTranslator translator;
    ApplicationSetup::apply(translator);
    fonts.reset();
    ApplicationSetupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ApplicationSetupTest.moc"
