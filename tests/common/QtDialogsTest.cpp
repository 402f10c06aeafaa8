#include "QtDialogs.h"
#include "Settings.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// Qt's save dialog as the program shows it, answered like a user: it opens in the folder saved into last,
// also after a new start, and a name typed without the chosen filter's extension gets it.
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
};

QTEST_MAIN(QtDialogsTest)
#include "QtDialogsTest.moc"
