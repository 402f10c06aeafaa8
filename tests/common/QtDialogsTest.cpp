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

using namespace Qt::StringLiterals;

// Qt's dialogs as the program shows them, answered like a user.
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
            for (int i = 0; i < filterIndex; ++i)
                QTest::keyClick(dialog->findChild<QComboBox*>("fileTypeCombo"), Qt::Key_Down);
            auto* field = dialog->findChild<QLineEdit*>("fileNameEdit");
            field->setText(name);
            QTest::keyClick(field, Qt::Key_Return);
        });
        return dialogs.chooseFileToSave(nullptr, "Daten exportieren...", "Zelvora",
                                        "Export CSV-Dateien (*.csv);;Export Textdateien (*.txt)");
    }

private slots:
    // The save dialog opens in the folder saved into last, also after a new start, and a name typed
    // without the chosen filter's extension gets it.
    void savesInTheLastFolderWithTheFiltersExtension_data() {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        QTest::newRow("no extension") << 0 << u"Liste"_s << "Liste.csv";
        QTest::newRow("the other filter, dots in the name")
            << 1 << u"Stand 01.02.2024"_s << "Stand 01.02.2024.txt";
        QTest::newRow("extension typed") << 0 << u"Liste.CSV"_s << "Liste.CSV";
    }
    void savesInTheLastFolderWithTheFiltersExtension() {
        QFETCH(int, filter);
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        QTemporaryDir dir;
        const QString folder = dir.filePath("Berichte");
        QVERIFY(QDir().mkpath(folder));
        QString opened;
        QCOMPARE(save(dir.filePath("zlv.ini"), 0, folder + "/erste.csv", &opened), folder + "/erste.csv");
        QVERIFY(opened != folder);
        QCOMPARE(save(dir.filePath("zlv.ini"), filter, typed, &opened), folder + "/" + saved);
        QCOMPARE(opened, folder);
    }

    // A message box is wide enough for its title beside the window's icon and buttons; the three-way
    // question has "Abbrechen" as its escape.
    void messageBoxShowsItsTitle_data() {
        QTest::addColumn<bool>("withCancel");
        QTest::newRow("question") << false;
        QTest::newRow("question with Abbrechen") << true;
    }
    void messageBoxShowsItsTitle() {
        QFETCH(bool, withCancel);
        const QString title = u"Buchung bearbeiten oder ändern"_s;
        int width = 0, titleWidth = 0;
        QString cancel;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                poll.stop();
                QFont bold = box->font();
                bold.setBold(true);
                titleWidth = QFontMetrics(bold).horizontalAdvance(box->windowTitle());
                width = box->width();
                if (QAbstractButton* button = box->button(QMessageBox::Cancel))
                    cancel = button->text();
                box->reject();
            }
        });
        poll.start(0);
        QtDialogs dialogs;
        const auto ask = withCancel ? &QtDialogs::askWithCancel : &QtDialogs::ask;
        QCOMPARE((dialogs.*ask)(nullptr, title, "Nr. '1' bearbeiten?", Dialogs::Icon::Question,
                                Dialogs::Answer::Yes),
                 withCancel ? Dialogs::Answer::Cancel : Dialogs::Answer::No);
        QCOMPARE(cancel, withCancel ? "Abbrechen" : "");
        QVERIFY2(width > titleWidth + 100, qPrintable(u"%1 <= %2"_s.arg(width).arg(titleWidth)));
    }
};

QTEST_MAIN(QtDialogsTest)
#include "QtDialogsTest.moc"
