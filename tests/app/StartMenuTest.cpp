#include "AppTestWindows.h"
#include "ProductLogo.h"
#include "ProgramFolderFixture.h"
#include "ToolbarIconPainter.h"

#include <QDate>
#include <QFontInfo>
#include <QPainter>
#include <QTest>
#include <QToolButton>

namespace {
void click(QWidget* window, const QString& name) {
    auto* button = window ? window->findChild<QAbstractButton*>(name) : nullptr;
    QVERIFY2(button, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
    settle();
}
} // namespace

// The start menu and the hand-overs between the screens, driven through the real widgets.
class StartMenuTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolder> f;
    std::unique_ptr<AppController> m_app;

private slots:
    void init() {
        f = std::make_unique<ProgramFolder>();
        m_app = f->app();
    }

    void cleanup() {
        m_app.reset();
        settle();
        QCOMPARE(visibleWindows(), QStringList());
    }

    void toolbarButtonsFromLeftToRight() {
        QVERIFY(m_app->start());

        QCOMPARE(m_app->startMenu()->windowTitle(), QStringLiteral("Talbrin Zelvora V1.0.1  -  Startmenü"));
        QCOMPARE(m_app->databaseFilePath(), f->data.path());
        QList<QToolButton*> buttons = m_app->startMenu()->findChildren<QToolButton*>();
        std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
        QStringList shown;
        for (const QToolButton* tool : buttons)
            shown << tool->objectName() + '|' + tool->text() + '|' + tool->toolTip();
        QCOMPARE(shown,
                 (QStringList{"tbrEinstellungen| Einstellungen |Voreinstellungen",
                              "tbrFirma| Firma anlegen |Firma anlegen",
                              "tbrDBSicherung2|DB sichern|Datenbank sichern  (Nur sofort nach Start möglich)",
                              "tbrInfo|Info|Info", "tbrHilfe|Hilfe|Hilfe", "tbrBeenden|Beenden|Beenden"}));
        using Kind = ToolbarIcons::Kind;
        const Kind kinds[] = {Kind::Settings, Kind::Company, Kind::Backup,
                              Kind::Info,     Kind::Help,    Kind::Quit};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(buttons[i]
                         ->icon()
                         .pixmap(buttons[i]->iconSize())
                         .toImage()
                         .convertToFormat(QImage::Format_ARGB32_Premultiplied),
                     ToolbarIconPainter::image(kinds[i]));
    }

    void projectManagerClosesTheOthersAndReturnsToTheStartMenuWhereItStoodUntilQuit() {
        QVERIFY(m_app->start());
        m_app->startMenu()->move(150, 120);
        click(m_app->startMenu(), QStringLiteral("tbrEinstellungen"));
        click(m_app->startMenu(), QStringLiteral("tbrFirma"));
        QCOMPARE(visibleWindows(), (QStringList{"frmFirma", "frmMenü", "frmVoreinstellung"}));

        click(m_app->startMenu(), QStringLiteral("cmdProjekt"));
        QCOMPARE(visibleWindows(), QStringList{"frmProjekt"});
        QVERIFY(!m_app->startMenu() && !m_app->presets() && !m_app->companyRegister());

        click(m_app->projectManager(), QStringLiteral("cmdBeenden"));
        QCOMPARE(visibleWindows(), QStringList{"frmMenü"});
        QCOMPARE(m_app->startMenu()->windowTitle(), QStringLiteral("Talbrin Zelvora  - Startmenü "));
        QCOMPARE(m_app->startMenu()->pos(), QPoint(150, 120));
        click(m_app->startMenu(), QStringLiteral("tbrEinstellungen"));
        click(m_app->startMenu(), QStringLiteral("tbrInfo"));
        QCOMPARE(visibleWindows().size(), 3);

        click(m_app->startMenu(), QStringLiteral("tbrBeenden"));

        QCOMPARE(visibleWindows(), QStringList());
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
        QVERIFY(QFile::remove(f->data.path()) && TestDatabase::writeFile(f->data.path(), "keine Datenbank"));

        click(m_app->startMenu(), button);

        QCOMPARE(visibleWindows(), QStringList{"frmMenü"});
        QVERIFY(!m_app->presets() && !m_app->companyRegister() && !m_app->projectManager());
        QCOMPARE(f->dialogs.shown.size(), 1);
        QCOMPARE(f->dialogs.shown.at(0).icon, Dialogs::Icon::Critical);
    }

    void backupButtonMakesTheBackup() {
        QVERIFY(m_app->start());

        click(m_app->startMenu(), QStringLiteral("tbrDBSicherung2"));

        QVERIFY(QFile::exists(f->filePath(QDate::currentDate().toString("dd.MM.yyyy") + "_ZLV.mdb")));
        QCOMPARE(f->dialogs.shown.size(), 1);
    }

    void cancelledDatabaseChoiceOpensNothing() {
        QVERIFY(QFile::remove(f->data.path()));

        QVERIFY(!m_app->start());

        QCOMPARE(f->dialogs.shown.size(), 2);
        QCOMPARE(visibleWindows(), QStringList());
    }

    void unusableDatabaseEndsTheProgramAfterTheStartMenuShows_data() {
        QTest::addColumn<bool>("openPresetsAtOnce");
        QTest::newRow("checked once events are processed") << false;
        QTest::newRow("checked before the presets open") << true;
    }

    void unusableDatabaseEndsTheProgramAfterTheStartMenuShows() {
        QFETCH(bool, openPresetsAtOnce);
        QVERIFY(QFile::remove(f->data.path()) && TestDatabase::writeFile(f->data.path(), "keine Datenbank"));
        const QByteArray ini = f->path().toUtf8() + "/\n";
        QVERIFY(TestDatabase::writeFile(f->ini(), ini));

        QVERIFY(m_app->start());
        QVERIFY(m_app->startMenu()->isVisible() && f->dialogs.shown.isEmpty());
        if (openPresetsAtOnce) {
            m_app->openPresets();
            QVERIFY(!m_app->presets());
        }
        settle();
        settle();

        QCOMPARE(f->dialogs.shown.size(), 1);
        QCOMPARE(f->dialogs.shown.at(0).title, QStringLiteral("Ladefehler!"));
        QVERIFY2(f->dialogs.lastText().contains(QStringLiteral("ZLV.mdb")),
                 qPrintable(f->dialogs.lastText()));
        QCOMPARE(visibleWindows(), QStringList());
        QVERIFY(m_app->databaseFilePath().isEmpty());
        QCOMPARE(ProgramFolder::read(f->data.path()), QByteArray("keine Datenbank"));
        QCOMPARE(ProgramFolder::read(f->ini()), ini);
    }

    // The word is filled from outlines traced when the program is built; it covers what the font itself
    // draws there, at the size and place the logo always gave it.
    void logoWordLiesWhereTheFontDrawsIt() {
        const int side = 12;
        const QRect word(side, 11 * side, 24 * side, 5 * side);
        QImage logo(26 * side, 17 * side, QImage::Format_RGB32), text = logo;
        logo.fill(Qt::white);
        text.fill(Qt::white);
        QPainter logoPainter(&logo);
        ProductLogo::paint(logoPainter, logo.rect());
        logoPainter.end();
        QFont font(QStringLiteral("Liberation Sans"));
        font.setBold(true);
        font.setPixelSize(qRound(side * 3.4));
        font.setLetterSpacing(QFont::PercentageSpacing, 108);
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
        QPainter textPainter(&text);
        textPainter.setRenderHint(QPainter::Antialiasing);
        textPainter.setFont(font);
        textPainter.drawText(QRectF(0, 11 * side, 26 * side, 4.6 * side), Qt::AlignCenter,
                             QStringLiteral("Zelvora"));
        textPainter.end();

        int ink = 0, differing = 0;
        for (int y = word.top(); y <= word.bottom(); ++y)
            for (int x = word.left(); x <= word.right(); ++x) {
                ink += qGray(text.pixel(x, y)) < 128;
                differing += (qGray(logo.pixel(x, y)) < 128) != (qGray(text.pixel(x, y)) < 128);
            }
        QVERIFY2(ink > 0 && differing * 100 <= ink * 6,
                 qPrintable(QStringLiteral("%1 of %2").arg(differing).arg(ink)));
    }
};

QTEST_MAIN(StartMenuTest)
#include "StartMenuTest.moc"
