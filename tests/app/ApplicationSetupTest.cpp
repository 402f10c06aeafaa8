#include "ApplicationSetup.h"
#include "QtDialogs.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>

namespace {
// The texts of the open or save dialog's detail view: the headings and the row of fileName, read while the
// dialog is open; the dialog is then cancelled.
struct DetailTexts {
    QStringList headings;
    QStringList row;
    QStringList cutOff; // the texts of row that are wider than their column
};

DetailTexts detailTextsOfFileDialog(bool save, const QString& folder, const QString& fileName) {
    DetailTexts texts;
    QElapsedTimer waited;
    waited.start();
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        const QAbstractItemModel* model = view ? view->model() : nullptr;
        if (model) {
            for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
                if (model->index(row, 0, view->rootIndex()).data().toString() != fileName)
                    continue;
                QStringList cells;
                for (int column = 0; column < model->columnCount(view->rootIndex()); ++column)
                    cells.append(model->index(row, column, view->rootIndex()).data().toString());
                if (cells.value(3).isEmpty())
                    break; // the details are still being read
                texts.row = cells;
                const QFontMetrics metrics(view->font());
                for (int column = 0; column < cells.size(); ++column) {
                    if (metrics.horizontalAdvance(cells.at(column)) >= view->header()->sectionSize(column))
                        texts.cutOff.append(cells.at(column));
                }
                for (int column = 0; column < model->columnCount(view->rootIndex()); ++column)
                    texts.headings.append(model->headerData(column, Qt::Horizontal).toString());
            }
        }
        if (!texts.row.isEmpty() || waited.elapsed() > 10000)
            dialog->reject();
    });
    poll.start();
    QtDialogs dialogs;
    const QString title = QStringLiteral("Pfad zur Zelvora-Datenbank 'ZLV.MDB'");
    const QString filter = QStringLiteral("ZLV- Datenbank (ZLV.MDB)");
    if (save)
        dialogs.chooseFileToSave(nullptr, title, folder + QStringLiteral("/Neu.mdb"), filter);
    else
        dialogs.chooseFileToOpen(nullptr, title, folder, filter);
    return texts;
}
} // namespace

// The program speaks German throughout, Qt's own dialogs included, whatever the desktop's language.
class ApplicationSetupTest : public QObject {
    Q_OBJECT

private slots:
    void systemLocaleIsGerman() {
        QCOMPARE(QLocale::system().language(), QLocale::German);
        QCOMPARE(QLocale().language(), QLocale::German);
        QCOMPARE(QLocale().territory(), QLocale::Germany);
    }

    // The same proportional face on every machine, whatever the system's "sans-serif" resolves to.
    void interfaceFontIsLiberationSans() {
        QCOMPARE(QApplication::font().family(), "Liberation Sans");
        QCOMPARE(QApplication::font().pointSize(), 9);
        const QFontInfo drawn(QLabel().font());
        QVERIFY2(drawn.family() == "Liberation Sans" || drawn.family() == "DejaVu Sans",
                 qPrintable(drawn.family()));
        QVERIFY(!drawn.fixedPitch());
    }

    void fileDialogShowsGermanDatesAndSizesInFull_data() {
        QTest::addColumn<bool>("save");
        QTest::newRow("open") << false;
        QTest::newRow("save") << true;
    }

    void fileDialogShowsGermanDatesAndSizesInFull() {
        QFETCH(bool, save);
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("ZLV.mdb")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(QByteArray(1048575, 'x')), 1048575);
        QVERIFY(file.flush());
        QVERIFY(file.setFileTime(QDateTime(QDate(2026, 12, 5), QTime(14, 30)),
                                 QFileDevice::FileModificationTime));
        file.close();

        const DetailTexts texts = detailTextsOfFileDialog(save, folder.path(), QStringLiteral("ZLV.mdb"));
        QCOMPARE(texts.headings, (QStringList{"Name", "Größe", "Typ", "Änderungsdatum"}));
        QCOMPARE(texts.row.size(), 4); // the type in between comes from the desktop's file type names
        QCOMPARE(texts.row.at(1), QStringLiteral("1.024,00 KiB"));
        QCOMPARE(texts.row.at(3), QStringLiteral("05.12.26 14:30"));
        QCOMPARE(texts.cutOff, QStringList());
    }
};

int main(int argc, char** argv) {
    // Qt's file dialog keeps its column widths in the user's configuration; the test starts afresh.
    QTemporaryDir configFolder;
    qputenv("XDG_CONFIG_HOME", configFolder.path().toUtf8());
    ApplicationSetup::prepareEnvironment();
    QApplication app(argc, argv);
    QTranslator translator;
    ApplicationSetup::apply(translator);
    ApplicationSetupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ApplicationSetupTest.moc"
