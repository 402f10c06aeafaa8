#include "StartMenu.h"
#include "AppController.h"
#include "AppTestFiles.h"
#include "AppTestWindows.h"
#include "Database.h"
#include "ProductLogo.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "ToolbarIconPainter.h"

#include <QApplication>
#include <QDate>
#include <QFontInfo>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {
// The pixels that are dark enough to be the logo's ink, as the rectangle around them and their count.
struct Ink {
    QRect bounds;
    int count = 0;
};

Ink inkIn(const QImage& image, const QRect& area) {
    Ink ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                ink.bounds |= QRect(x, y, 1, 1);
                ++ink.count;
            }
    return ink;
}

template <typename T> void click(QWidget* window, const QString& name) {
    auto* button = window ? window->findChild<T*>(name) : nullptr;
    QVERIFY2(button, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
    settle();
}
} // namespace

// The start menu and the hand-overs between the screens, driven through the real widgets.
class StartMenuTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_program;
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<AppController> m_app;

    QString dbPath() const { return m_program->filePath(QStringLiteral("ZLV.mdb")); }
    void clickTool(const QString& name) { click<QToolButton>(m_app->startMenu(), name); }

private slots:
    void init() {
        m_program = std::make_unique<QTemporaryDir>();
        m_settings = std::make_unique<Settings>(m_program->filePath(QStringLiteral("TalbrinZlv.ini")));
        m_dialogs = std::make_unique<ScriptedDialogs>();
        QVERIFY(Database::create(dbPath()));
        m_app = std::make_unique<AppController>(m_program->path(), *m_dialogs, *m_settings);
    }

    void cleanup() {
        m_app.reset();
        settle();
        QCOMPARE(visibleWindows(), QStringList());
    }

    void toolbarButtonsFromLeftToRight_data() {
        QTest::addColumn<int>("place");
        QTest::addColumn<QStringList>("nameTextTip");
        QTest::addColumn<int>("kind");
        using Kind = ToolbarIcons::Kind;
        int place = 0;
        const auto row = [&](const char* name, const char* text, const char* tip, Kind kind) {
            QTest::newRow(name) << place++ << QStringList{name, text, tip} << int(kind);
        };
        row("tbrEinstellungen", " Einstellungen ", "Voreinstellungen", Kind::Settings);
        row("tbrFirma", " Firma anlegen ", "Firma anlegen", Kind::Company);
        row("tbrDBSicherung2", "DB sichern", "Datenbank sichern  (Nur sofort nach Start möglich)",
            Kind::Backup);
        row("tbrInfo", "Info", "Info", Kind::Info);
        row("tbrHilfe", "Hilfe", "Hilfe", Kind::Help);
        row("tbrBeenden", "Beenden", "Beenden", Kind::Quit);
    }

    void toolbarButtonsFromLeftToRight() {
        QFETCH(int, place);
        QFETCH(QStringList, nameTextTip);
        QFETCH(int, kind);
        QVERIFY(m_app->start());
        QCOMPARE(m_app->startMenu()->windowTitle(), QStringLiteral("Talbrin Zelvora V1.0.1  -  Startmenü"));
        QCOMPARE(m_app->databaseFilePath(), dbPath());
        QList<QToolButton*> buttons = m_app->startMenu()->findChildren<QToolButton*>();
        std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
        QCOMPARE(buttons.size(), 6);
        const QToolButton* tool = buttons.at(place);
        QCOMPARE((QStringList{tool->objectName(), tool->text(), tool->toolTip()}), nameTextTip);
        QCOMPARE(tool->icon()
                     .pixmap(tool->iconSize())
                     .toImage()
                     .convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 ToolbarIconPainter::image(static_cast<ToolbarIcons::Kind>(kind)));
    }

    // The start menu comes back from the project manager where the user had put it.
    void projectButtonClosesTheOthersAndReturnShowsPlainTitle() {
        QVERIFY(m_app->start());
        m_app->startMenu()->move(150, 120);
        clickTool(QStringLiteral("tbrEinstellungen"));
        clickTool(QStringLiteral("tbrFirma"));
        QCOMPARE(visibleWindows(), (QStringList{"frmFirma", "frmMenü", "frmVoreinstellung"}));

        click<QPushButton>(m_app->startMenu(), QStringLiteral("cmdProjekt"));
        QCOMPARE(visibleWindows(), QStringList{"frmProjekt"});
        QVERIFY(!m_app->startMenu() && !m_app->presets() && !m_app->companyRegister());

        click<QToolButton>(m_app->projectManager(), QStringLiteral("cmdBeenden"));
        QCOMPARE(visibleWindows(), QStringList{"frmMenü"});
        QCOMPARE(m_app->startMenu()->windowTitle(), QStringLiteral("Talbrin Zelvora  - Startmenü "));
        QCOMPARE(m_app->startMenu()->pos(), QPoint(150, 120));
    }

    void screenThatCannotOpenTheDatabaseIsNotShown_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("presets") << "tbrEinstellungen";
        QTest::newRow("company register") << "tbrFirma";
        QTest::newRow("project manager") << "cmdProjekt";
    }

    void screenThatCannotOpenTheDatabaseIsNotShown() {
        QFETCH(QString, button);
        QVERIFY(m_app->start());
        settle();
        QVERIFY(QFile::remove(dbPath()));
        QVERIFY(writeFile(dbPath(), "Dies ist keine Datenbank.\n"));

        if (button.startsWith(QLatin1String("tbr")))
            clickTool(button);
        else
            click<QPushButton>(m_app->startMenu(), button);

        QCOMPARE(visibleWindows(), QStringList{"frmMenü"});
        QVERIFY(!m_app->presets() && !m_app->companyRegister() && !m_app->projectManager());
        QCOMPARE(m_dialogs->shown.size(), 1);
        QCOMPARE(m_dialogs->shown.at(0).icon, Dialogs::Icon::Critical);
    }

    void quitClosesEveryWindow() {
        QVERIFY(m_app->start());
        clickTool(QStringLiteral("tbrEinstellungen"));
        clickTool(QStringLiteral("tbrFirma"));
        clickTool(QStringLiteral("tbrInfo"));
        QCOMPARE(visibleWindows().size(), 4);
        clickTool(QStringLiteral("tbrBeenden"));
        QCOMPARE(visibleWindows(), QStringList());
    }

    void backupButtonMakesTheBackup() {
        QVERIFY(m_app->start());
        clickTool(QStringLiteral("tbrDBSicherung2"));
        QVERIFY(QFile::exists(m_program->filePath(
            QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")) + QStringLiteral("_ZLV.mdb"))));
        QCOMPARE(m_dialogs->shown.size(), 1);
    }

    void cancelledDatabaseChoiceOpensNothing() {
        QVERIFY(QFile::remove(dbPath()));
        QVERIFY(!m_app->start());
        QCOMPARE(m_dialogs->shown.size(), 2);
        QCOMPARE(visibleWindows(), QStringList());
    }

    void unusableDatabaseEndsTheProgramAfterTheStartMenuShows_data() {
        QTest::addColumn<bool>("openPresetsAtOnce");
        QTest::newRow("checked once events are processed") << false;
        QTest::newRow("checked before the presets open") << true;
    }

    void unusableDatabaseEndsTheProgramAfterTheStartMenuShows() {
        QFETCH(bool, openPresetsAtOnce);
        QVERIFY(writeFile(dbPath(), "Dies ist keine Datenbank.\n"));
        const QString iniPath = m_program->filePath(QStringLiteral("PfadZurDatenbank.ini"));
        const QByteArray ini = (m_program->path() + QStringLiteral("/\n")).toUtf8();
        QVERIFY(writeFile(iniPath, ini));

        QVERIFY(m_app->start());
        QVERIFY(m_app->startMenu()->isVisible());
        QVERIFY(m_dialogs->shown.isEmpty());
        if (openPresetsAtOnce) {
            m_app->openPresets();
            QVERIFY(!m_app->presets());
        }
        settle();
        settle(); // the start menu closed by the check is deleted on the next round of events

        QCOMPARE(m_dialogs->shown.size(), 1);
        QCOMPARE(m_dialogs->shown.at(0).title, QStringLiteral("Ladefehler!"));
        QVERIFY2(m_dialogs->lastText().contains(QStringLiteral("ZLV.mdb")),
                 qPrintable(m_dialogs->lastText()));
        QCOMPARE(visibleWindows(), QStringList());
        QVERIFY(m_app->databaseFilePath().isEmpty());
        QCOMPARE(readFile(dbPath()), QByteArray("Dies ist keine Datenbank.\n"));
        QCOMPARE(readFile(iniPath), ini);
    }

    // The word is filled from outlines traced when the program is built; it has to cover what the font
    // itself would draw there, at the size and place the logo always gave it.
    void logoWordLiesWhereTheFontDrawsIt_data() {
        QTest::addColumn<int>("side");
        // At the about box's size the edges are one or two pixels wide and their grey falls either side
        // of the ink threshold, so there the pixels are compared loosely and the bounds decide.
        QTest::addColumn<int>("percentDiffering");
        QTest::newRow("about box") << 7 << 35;
        QTest::newRow("start menu") << 12 << 6;
    }

    void logoWordLiesWhereTheFontDrawsIt() {
        QFETCH(int, side);
        QFETCH(int, percentDiffering);
        const QSize size(26 * side, 17 * side);
        const QRect wordBand(side, 11 * side, 24 * side, 5 * side);

        QImage logo(size, QImage::Format_RGB32);
        logo.fill(Qt::white);
        QPainter logoPainter(&logo);
        ProductLogo::paint(logoPainter, QRectF(QPointF(0, 0), size));
        logoPainter.end();

        QFont font(QStringLiteral("Liberation Sans"));
        font.setBold(true);
        font.setPixelSize(qRound(side * 3.4));
        font.setLetterSpacing(QFont::PercentageSpacing, 108);
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
        QImage text(size, QImage::Format_RGB32);
        text.fill(Qt::white);
        QPainter textPainter(&text);
        textPainter.setRenderHint(QPainter::Antialiasing);
        textPainter.setFont(font);
        textPainter.setPen(Qt::black);
        textPainter.drawText(QRectF(0, 11 * side, 26 * side, 4.6 * side), Qt::AlignCenter,
                             QStringLiteral("Zelvora"));
        textPainter.end();

        const Ink drawn = inkIn(logo, wordBand);
        const Ink expected = inkIn(text, wordBand);
        QVERIFY(expected.count > 0);
        const QMargins offset(
            drawn.bounds.left() - expected.bounds.left(), drawn.bounds.top() - expected.bounds.top(),
            drawn.bounds.right() - expected.bounds.right(), drawn.bounds.bottom() - expected.bounds.bottom());
        QVERIFY(qAbs(offset.left()) <= 1 && qAbs(offset.top()) <= 1 && qAbs(offset.right()) <= 1 &&
                qAbs(offset.bottom()) <= 1);
        int differing = 0;
        for (int y = wordBand.top(); y <= wordBand.bottom(); ++y)
            for (int x = wordBand.left(); x <= wordBand.right(); ++x)
                differing += (qGray(logo.pixel(x, y)) < 128) != (qGray(text.pixel(x, y)) < 128);
        QVERIFY2(differing * 100 <= expected.count * percentDiffering,
                 qPrintable(QStringLiteral("%1 of %2 ink pixels differ").arg(differing).arg(expected.count)));
    }
};

QTEST_MAIN(StartMenuTest)
#include "StartMenuTest.moc"
