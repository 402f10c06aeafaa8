#include "ApplicationSetup.h"
#include "QtDialogs.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>

namespace {
// The headings and the cells of fileName's row in the detail view of the open or save dialog, and the cells
// wider than their column, once the dialog has read the file's details; the dialog is then cancelled.
QStringList detailTextsOfFileDialog(bool save, const QString& folder, const QString& fileName) {
    QStringList texts;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* view = dialog ? dialog->findChild<QTreeView*>(QStringLiteral("treeView")) : nullptr;
        const auto cell = [&](int column) {
            const QModelIndexList found =
                view->model()->match(view->model()->index(0, 0, view->rootIndex()), Qt::DisplayRole, fileName,
                                     1, Qt::MatchExactly);
            return found.isEmpty() ? QString() : found[0].siblingAtColumn(column).data().toString();
        };
        if (view && QTest::qWaitFor([&] { return !cell(3).isEmpty(); }, 10000)) {
            const QFontMetrics metrics(view->font());
            for (int column = 0; column < 4; ++column)
                texts << view->model()->headerData(column, Qt::Horizontal).toString() + ": " + cell(column) +
                             (metrics.horizontalAdvance(cell(column)) < view->header()->sectionSize(column)
                                  ? QString()
                                  : QStringLiteral(" (abgeschnitten)"));
        }
        if (dialog)
            dialog->reject();
    });
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
    void localeIsGermanAndTheFaceLiberationSans() {
        QCOMPARE(QLocale::system().language(), QLocale::German);
        QCOMPARE(QLocale().territory(), QLocale::Germany);
        QCOMPARE(QApplication::font().family(), "Liberation Sans");
        QCOMPARE(QApplication::font().pointSize(), 9);
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
        QVERIFY(TestDatabase::writeFile(file.fileName(), QByteArray(1048575, 'x')) &&
                file.open(QIODevice::Append));
        QVERIFY(file.setFileTime(QDateTime(QDate(2026, 12, 5), QTime(14, 30)),
                                 QFileDevice::FileModificationTime));
        file.close();

        const QStringList texts = detailTextsOfFileDialog(save, folder.path(), QStringLiteral("ZLV.mdb"));

        QVERIFY2(texts.size() == 4 && !texts.join('\n').contains("abgeschnitten"),
                 qPrintable(texts.join('\n')));
        QCOMPARE(texts[0], QStringLiteral("Name: ZLV.mdb"));
        QCOMPARE(texts[1], QStringLiteral("Größe: 1.024,00 KiB"));
        QVERIFY(texts[2].startsWith(QStringLiteral("Typ: ")));
        QCOMPARE(texts[3], QStringLiteral("Änderungsdatum: 05.12.26 14:30"));
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
