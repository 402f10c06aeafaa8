#include "QtDialogs.h"
#include "Settings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// Qt's dialogs as the program shows them: message boxes wide enough for their title, the three-way
// question with "Abbrechen" as its escape; the save dialog answered like a user: it opens in the folder saved
// into last, also after a new start, and a name typed without the chosen filter's extension gets it.
class QtDialogsTest : public QObject {
    Q_OBJECT

    // Saves with a new program start's dialogs: picks the filter by keyboard and types name; returns the
    // path chosen and sets opened to the folder the dialog showed first.
    static QString save(const QString& ini, int filterIndex, const QString& name, QString* opened) {
        Settings settings(ini);
        QtDialogs dialogs;
        dialogs.keepSaveFolderIn(settings);
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            *opened = dialog->directory().absolutePath();
            auto* filters = dialog->findChild<QComboBox*>("fileTypeCombo");
            for (int i = 0; i < filterIndex; ++i)
                QTest::keyClick(filters, Qt::Key_Down);
            auto* field = dialog->findChild<QLineEdit*>("fileNameEdit");
            field->setText(name);
            QTest::keyClick(field, Qt::Key_Return);
        });
        return dialogs.chooseFileToSave(nullptr, "Daten exportieren...", "Zelvora",
                                        "Export CSV-Dateien (*.csv);;Export Textdateien (*.txt)");
    }

private slots:
    void savesInTheLastFolderWithTheFiltersExtension_data() {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        QTest::newRow("no extension") << 0 << "Liste"
                                      << "Liste.csv";
        QTest::newRow("the other filter") << 1 << "Liste"
                                          << "Liste.txt";
        QTest::newRow("dots in the name") << 1 << "Stand 01.02.2024"
                                          << "Stand 01.02.2024.txt";
        QTest::newRow("extension typed") << 0 << "Liste.CSV"
                                         << "Liste.CSV";
    }

    void savesInTheLastFolderWithTheFiltersExtension() {
        QFETCH(int, filter);
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        QTemporaryDir dir;
        const QString folder = dir.filePath("Berichte");
        QVERIFY(QDir().mkpath(folder));
        const QString ini = dir.filePath("zlv.ini");
        QString opened;
        QCOMPARE(save(ini, 0, folder + "/erste.csv", &opened), folder + "/erste.csv");
        QVERIFY(opened != folder);
        QCOMPARE(save(ini, filter, typed, &opened), folder + "/" + saved);
        QCOMPARE(opened, folder);
    }

    void messageBoxShowsItsTitle_data() {
        QTest::addColumn<bool>("withCancel");
        QTest::addColumn<QString>("buttons");
        QTest::newRow("question") << false << "";
        QTest::newRow("question with Abbrechen") << true << "Abbrechen";
    }
    void messageBoxShowsItsTitle() {
        QFETCH(bool, withCancel);
        QFETCH(QString, buttons);
        const QString title = QStringLiteral("Buchung bearbeiten oder ändern");
        int width = 0;
        int titleWidth = 0;
        QString cancel;
        QTimer poll;
        poll.setInterval(0);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            QFont bold = box->font();
            bold.setBold(true);
            titleWidth = QFontMetrics(bold).horizontalAdvance(box->windowTitle());
            width = box->width();
            if (QAbstractButton* button = box->button(QMessageBox::Cancel))
                cancel = button->text();
            box->reject();
        });
        poll.start();
        QtDialogs dialogs;
        const Dialogs::Answer answer =
            withCancel ? dialogs.askWithCancel(nullptr, title, "Nr. '1' bearbeiten?", Dialogs::Icon::Question,
                                               Dialogs::Answer::Yes)
                       : dialogs.ask(nullptr, title, "Nr. '1' bearbeiten?", Dialogs::Icon::Question,
                                     Dialogs::Answer::Yes);
        QCOMPARE(answer, withCancel ? Dialogs::Answer::Cancel : Dialogs::Answer::No);
        QCOMPARE(cancel, buttons);
        // The window system draws the title beside the window's icon and its buttons.
        QVERIFY2(width > titleWidth + 100, qPrintable(QStringLiteral("%1 <= %2").arg(width).arg(titleWidth)));
    }
};

QTEST_MAIN(QtDialogsTest)
#include "QtDialogsTest.moc"
