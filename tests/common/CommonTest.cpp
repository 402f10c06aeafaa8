#include "DayNumber.h"
#include "GermanCollator.h"
#include "Iban.h"
#include "Money.h"
#include "Percent.h"
#include "ProgramPart.h"
#include "QtDialogs.h"
#include "Settings.h"
#include "SystemErrorText.h"

#include <cerrno>
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

// Amounts, days, names, settings, system failures and Qt's dialogs as the program reads and shows them.
class CommonTest : public QObject {
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
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
            QTest::keyClick(dialog->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
        });
        return dialogs.chooseFileToSave(nullptr, "Daten exportieren...", "Zelvora",
                                        "Export CSV-Dateien (*.csv);;Export Textdateien (*.txt)");
    }

private slots:
    // A QString is typed German text, a QByteArray a field's stored text, a double a REAL field, a qint64 an
    // INTEGER field; an empty expectation means refused.
    void amountIsReadToTheCentAndShownInGermanNotation_data() {
        QTest::addColumn<QVariant>("input");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* name, const QVariant& input, const char* shown) {
            QTest::newRow(name) << input << QString::fromUtf8(shown);
        };
        row("one decimal", u"1234,5"_s, "1.234,50");
        row("negative", u"-5.000,00"_s, "-5.000,00");
        row("cents only", u",05"_s, "0,05");
        row("negative, 3 whole digits", u"-123"_s, "-123,00");
        row("9 whole digits", u"123456789"_s, "123.456.789,00");
        row("surrounding blanks", u" 7,1 "_s, "7,10");
        for (const char* refused : {"12a", "1,234", "12.34,00", "1,234.50", "-"})
            row(refused, QString::fromLatin1(refused), "");
        row("just below a cent boundary", QByteArray("19.99"), "19,99");
        row("german comma from an old file", QByteArray("12,5"), "12,50");
        row("german notation typed into the file", QByteArray(" 1.234,50"), "1.234,50");
        for (const char* refused : {"n/a", "1e308", ""})
            row(refused, QByteArray(refused), "");
        row("half a cent rounds away from zero", -0.125, "-0,13");
        row("real at the limit", 9.0e13, "90.000.000.000.000,00");
        row("real beyond the limit", 9.0e13 + 1, "");
        row("real infinite", qInf(), "");
        row("integer is whole euros", qint64(-12), "-12,00");
        row("integer beyond the limit", qint64(90000000000001), "");
        row("integer below the limit", qint64(-90000000000001), "");
    }
    void amountIsReadToTheCentAndShownInGermanNotation() {
        QFETCH(QVariant, input);
        const std::optional<Money> read =
            input.typeId() == QMetaType::QString ? Money::parseGerman(input.toString())
            : input.typeId() == QMetaType::QByteArray
                ? Money::parseStored(QString::fromUtf8(input.toByteArray()))
            : input.typeId() == QMetaType::Double ? Money::fromStoredReal(input.toDouble())
                                                  : Money::fromStoredInteger(input.toLongLong());
        QTEST(read ? read->toGerman() : QString(), "shown");
    }

    // A percentage typed, shown again and applied to an amount in cents; an empty "shown" means refused.
    void percentageIsReadAndAppliedToTheCent_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<qint64>("share");
        const auto row = [](const char* typed, const char* shown, qint64 cents, qint64 share) {
            QTest::newRow(typed) << QString::fromUtf8(typed) << QString::fromUtf8(shown) << cents << share;
        };
        row("2", "2,00", 123457, 2469);
        row("2,5", "2,50", 123457, 3086);
        row("2,50", "2,50", 10000, 250);
        row("2,5 %", "2,50", -123457, -3086);
        row("3%", "3,00", 50, 2);
        row("1,5", "1,50", 100, 2);
        row("1,5 ", "1,50", -100, -2);
        row("0,01", "0,01", 4999, 0);
        row("0,01 ", "0,01", 5000, 1);
        row("2.5", "2,50", 9000000000000000, 225000000000000);
        row("10", "10,00", 9000000000000099, 900000000000010);
        for (const char* refused : {"2,555", "-2", "zwei", "", "2,5,0", "1000"})
            row(refused, "", 0, 0);
    }
    void percentageIsReadAndAppliedToTheCent() {
        QFETCH(QString, typed);
        QFETCH(qint64, cents);
        const std::optional<int> read = parsePercent(typed);
        QTEST(read ? percentText(*read) : QString(), "shown");
        QTEST(read ? percentOf(Money::fromCents(cents), *read).cents() : 0, "share");
    }

    // Days are counted since 30.12.1899. A QDate is a day picked, a QString a field's text, a double a REAL
    // field, a qint64 an INTEGER field; an empty expectation means no date.
    void storedDayIsReadAsADateOrAsNone_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("picked leap day") << QVariant(QDate(2024, 2, 29)) << "45351";
        QTest::newRow("integer text") << QVariant("38353") << "01.01.2005";
        QTest::newRow("fraction is a time of day") << QVariant("45292.9999") << "01.01.2024";
        QTest::newRow("surrounding blanks") << QVariant(" 45292 ") << "01.01.2024";
        QTest::newRow("empty is no date, not 30.12.1899") << QVariant("") << "";
        QTest::newRow("foreign text") << QVariant("gestern") << "";
        QTest::newRow("real with a fraction") << QVariant(45292.75) << "01.01.2024";
        QTest::newRow("real beyond any date") << QVariant(3.0e6 + 1) << "";
        QTest::newRow("real not a number") << QVariant(qQNaN()) << "";
        QTest::newRow("integer beyond int") << QVariant(qint64(2147483648)) << "";
        QTest::newRow("integer below int") << QVariant(qint64(-2147483649)) << "";
    }
    void storedDayIsReadAsADateOrAsNone() {
        QFETCH(QVariant, stored);
        const std::optional<int> read =
            stored.typeId() == QMetaType::QString  ? DayNumber::parseStored(stored.toString())
            : stored.typeId() == QMetaType::Double ? DayNumber::fromStoredReal(stored.toDouble())
                                                   : DayNumber::fromStoredInteger(stored.toLongLong());
        QTEST(stored.typeId() == QMetaType::QDate ? QString::number(DayNumber::fromDate(stored.toDate()))
                                                  : DayNumber::format(read),
              "shown");
    }

    void namesAreInGermanAlphabeticalOrderIgnoringCase() {
        QStringList names{"Mutter", "2 Fachlos", "Müller", "Abbruch", "10 Fachlos", "abbruch"};
        std::stable_sort(names.begin(), names.end(), GermanCollator::make());
        QCOMPARE(names, (QStringList{"10 Fachlos", "2 Fachlos", "Abbruch", "abbruch", "Müller", "Mutter"}));
    }

    void settingsAreFoundInTheirSectionWhateverItsCase() {
        QTemporaryDir dir;
        const QString file = dir.filePath("TalbrinZlv.ini"), text = "Landratsamt Wernholm, \"Bauamt\"; Zi. 3";
        const SettingKey<int> width{"frmAusgabe", "PFensterWidth", 10275};
        Settings(file).setValue(SettingKey<QString>{"SETTING", "NameBehörde", {}}, text);
        Settings(file).setValue(SettingKey<QString>{"FRMAUSGABE", width.key, {}}, QString());
        Settings reopened(file);
        QCOMPARE(reopened.value(SettingKey<QString>{"Setting", "NameBehörde", "leer"}), text);
        QCOMPARE(reopened.value(width), 10275);
    }

    // An IBAN as typed: valid ones of several countries, shown in groups of four, and each fault with
    // its German reason (an empty reason: valid).
    void ibanIsCheckedAndShownInGroupsOfFour_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("shown");
        const QString valid;
        QTest::newRow("DE") << "DE89370400440532013000" << valid << "DE89 3704 0044 0532 0130 00";
        QTest::newRow("DE blanks, small")
            << " de89 3704 0044\t0532 0130 00 " << valid << "DE89 3704 0044 0532 0130 00";
        QTest::newRow("AT") << "AT611904300234573201" << valid << "AT61 1904 3002 3457 3201";
        QTest::newRow("CH") << "CH9300762011623852957" << valid << "CH93 0076 2011 6238 5295 7";
        QTest::newRow("NL") << "nl91abna0417164300" << valid << "NL91 ABNA 0417 1643 00";
        QTest::newRow("FR") << "FR1420041010050500013M02606" << valid << "FR14 2004 1010 0505 0001 3M02 606";
        QTest::newRow("IT") << "IT60X0542811101000000123456" << valid << "IT60 X054 2811 1010 0000 0123 456";
        QTest::newRow("ES") << "ES9121000418450200051332" << valid << "ES91 2100 0418 4502 0005 1332";
        QTest::newRow("BE") << "BE68539007547034" << valid << "BE68 5390 0754 7034";
        QTest::newRow("LU") << "LU280019400644750000" << valid << "LU28 0019 4006 4475 0000";
        QTest::newRow("GB") << "GB29NWBK60161331926819" << valid << "GB29 NWBK 6016 1331 9268 19";
        QTest::newRow("PL") << "PL61109010140000071219812874" << valid
                            << "PL61 1090 1014 0000 0712 1981 2874";
        QTest::newRow("NO") << "NO9386011117947" << valid << "NO93 8601 1117 947";
        QTest::newRow("MT") << "MT84MALT011000012345MTLCAST001S" << valid
                            << "MT84 MALT 0110 0001 2345 MTLC AST0 01S";
        const QString checkDigits =
            "Die Prüfziffern der IBAN stimmen nicht: ein Zeichen ist falsch oder zwei "
            "sind vertauscht.";
        QTest::newRow("last digit wrong")
            << "DE89370400440532013001" << checkDigits << "DE89 3704 0044 0532 0130 01";
        QTest::newRow("check digits swapped")
            << "DE98370400440532013000" << checkDigits << "DE98 3704 0044 0532 0130 00";
        QTest::newRow("two digits swapped")
            << "AT611904300234573210" << checkDigits << "AT61 1904 3002 3457 3210";
        QTest::newRow("too short DE") << "DE8937040044053201300"
                                      << "Die IBAN ist mit 21 Stellen zu kurz für Deutschland (22 Stellen)."
                                      << "DE89 3704 0044 0532 0130 0";
        QTest::newRow("too long NL")
            << "NL91ABNA04171643001"
            << "Die IBAN ist mit 19 Stellen zu lang für die Niederlande (18 Stellen)."
            << "NL91 ABNA 0417 1643 001";
        QTest::newRow("unknown country") << "XY89370400440532013000"
                                         << "„XY“ ist kein Länderkürzel, unter dem IBANs vergeben werden."
                                         << "XY89 3704 0044 0532 0130 00";
        QTest::newRow("no country") << "8937040044053201300022"
                                    << "Eine IBAN beginnt mit dem Kürzel ihres Landes aus zwei Buchstaben "
                                       "(etwa DE)."
                                    << "8937 0400 4405 3201 3000 22";
        QTest::newRow("letter in check digits")
            << "DEA9370400440532013000"
            << "Auf das Länderkürzel folgen zwei Prüfziffern; „A9“ sind keine Ziffern."
            << "DEA9 3704 0044 0532 0130 00";
        QTest::newRow("letter in DE account")
            << "DE8937040044053201300O"
            << "An Stelle 22 der IBAN steht „O“; für Deutschland gehört dort "
               "eine Ziffer hin."
            << "DE89 3704 0044 0532 0130 0O";
        QTest::newRow("digit in NL bank")
            << "NL91ABN10417164300"
            << "An Stelle 8 der IBAN steht „1“; für die Niederlande gehört dort "
               "ein Buchstabe hin."
            << "NL91 ABN1 0417 1643 00";
        QTest::newRow("dash") << "DE89-3704-0044-0532-0130-00"
                              << "Die IBAN enthält „-“; erlaubt sind nur Buchstaben und Ziffern."
                              << "DE89 -370 4-00 44-0 532- 0130 -00";
        QTest::newRow("empty") << "  "
                               << "Die IBAN fehlt."
                               << "";
    }
    void ibanIsCheckedAndShownInGroupsOfFour() {
        QFETCH(QString, typed);
        QTEST(Iban::problem(typed), "problem");
        QTEST(Iban::grouped(typed), "shown");
    }

    // A BIC has 8 or 11 places, six letters first; none at all is allowed.
    void bicIsChecked_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("problem");
        QTest::newRow("8") << "COBADEFF"
                           << "";
        QTest::newRow("11, small") << "cobadeff370"
                                   << "";
        QTest::newRow("none") << ""
                              << "";
        QTest::newRow("9") << "COBADEFF3"
                           << "Die BIC hat 8 oder 11 Stellen, nicht 9.";
        QTest::newRow("digit in bank")
            << "C0BADEFF"
            << "Die BIC beginnt mit sechs Buchstaben (Bank und Land); an Stelle 2 steht „0“.";
        QTest::newRow("dash") << "COBADEF-"
                              << "Die BIC enthält „-“; erlaubt sind nur Buchstaben und Ziffern.";
    }
    void bicIsChecked() {
        QFETCH(QString, typed);
        QTEST(Iban::bicProblem(typed), "problem");
    }

    // An int is an errno value; a text a file to write: refused even to root, in a missing folder, a folder.
    void systemFailureInGerman_data() {
        QTest::addColumn<QVariant>("failure");
        QTest::addColumn<QString>("text");
        QTest::newRow("not permitted") << QVariant(EPERM) << "Zugriff verweigert";
        QTest::newRow("disk full") << QVariant(ENOSPC) << "Kein Speicherplatz mehr auf dem Datenträger";
        QTest::newRow("read-only disk") << QVariant(EROFS) << "Der Datenträger ist schreibgeschützt";
        QTest::newRow("unknown") << QVariant(4711) << "Fehler 4711 des Betriebssystems";
        QTest::newRow("refused file") << QVariant("/sys/zlv-export.csv") << "Zugriff verweigert";
        QTest::newRow("missing folder") << QVariant("fehlt/x.csv") << "Datei oder Ordner nicht vorhanden";
        QTest::newRow("folder") << QVariant(".") << "Der Name bezeichnet einen Ordner";
    }
    void systemFailureInGerman() {
        QFETCH(QVariant, failure);
        QTemporaryDir dir;
        const QString path = failure.toString();
        QSaveFile file(path.startsWith('/') ? path : dir.filePath(path));
        QVERIFY(failure.typeId() == QMetaType::Int || !file.open(QIODevice::WriteOnly));
        QTEST(failure.typeId() == QMetaType::Int
                  ? SystemErrorText::of(std::error_code(failure.toInt(), std::generic_category()))
                  : SystemErrorText::of(file),
              "text");
    }

    // The save dialog opens in the folder saved into last, also after a new start, and a name typed
    // without the chosen filter's extension gets it.
    void savesInTheLastFolderWithTheFiltersExtension_data() {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        QTest::newRow("the other filter, dots in the name")
            << 1 << u"Stand 01.02.2024"_s << "Stand 01.02.2024.txt";
        QTest::newRow("extension typed") << 0 << u"Liste.CSV"_s << "Liste.CSV";
    }
    void savesInTheLastFolderWithTheFiltersExtension() {
        QFETCH(int, filter);
        QFETCH(QString, typed);
        QTemporaryDir dir;
        const QString folder = dir.filePath("Berichte");
        QVERIFY(QDir().mkpath(folder));
        QString opened;
        QCOMPARE(save(dir.filePath("zlv.ini"), 0, folder + "/erste", &opened), folder + "/erste.csv");
        QVERIFY(opened != folder);
        QTEST(save(dir.filePath("zlv.ini"), filter, typed, &opened).mid(folder.size() + 1), "saved");
        QCOMPARE(opened, folder);
    }

    // A message box is wide enough for its title beside the window's icon and buttons; the three-way
    // question has "Abbrechen" as its escape.
    void messageBoxShowsItsTitleAndAbbrechen() {
        const QString title = u"Buchung bearbeiten oder ändern"_s;
        QString seen;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                poll.stop();
                QFont bold = box->font();
                bold.setBold(true);
                seen =
                    box->width() > QFontMetrics(bold).horizontalAdvance(title) + 100 ? "breit" : "zu schmal";
                seen += ' ' + box->button(QMessageBox::Cancel)->text();
                box->reject();
            }
        });
        poll.start(0);
        QCOMPARE(QtDialogs().askWithCancel(nullptr, title, "Nr. '1' bearbeiten?", Dialogs::Icon::Question,
                                           Dialogs::Answer::Yes),
                 Dialogs::Answer::Cancel);
        QCOMPARE(seen, "breit Abbrechen");
    }

    // The parts beside the program: a part is used only when its library lies in the program's folder and
    // exports the function; otherwise the user learns which part is missing where.
    void programPartIsFoundOnlyBesideTheProgram_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("symbol");
        QTest::addColumn<bool>("found");
        QTest::newRow("the PDF part") << u"zlvpdf"_s << "zlvReadPdfAttachmentsWithin"_ba << true;
        QTest::newRow("the charts part") << u"zlvcharts"_s << "zlvChartDrawing"_ba << true;
        QTest::newRow("a function it lacks") << u"zlvpdf"_s << "zlvChartDrawing"_ba << false;
        QTest::newRow("a part that is missing") << u"zlvnone"_s << "zlvChartDrawing"_ba << false;
        QTest::newRow("a library of the system, not beside the program")
            << u"pq"_s << "PQlibVersion"_ba << false;
    }
    void programPartIsFoundOnlyBesideTheProgram() {
        QFETCH(QString, name);
        QFETCH(QByteArray, symbol);
        QFETCH(bool, found);
        QCOMPARE(ProgramPart::resolve(name, symbol.constData()) != nullptr, found);
    }
    void missingProgramPartIsNamedWithItsFolder() {
        QCOMPARE(ProgramPart::missingText(u"Diagramme lassen sich nicht zeigen"_s, u"zlvcharts"_s),
                 u"Diagramme lassen sich nicht zeigen: der Programmteil „zlvcharts“ fehlt neben dem Programm "
                 u"im Ordner "_s +
                     QCoreApplication::applicationDirPath() +
                     u" oder ist beschädigt. Bitte installieren Sie Zelvora neu."_s);
    }
};

QTEST_MAIN(CommonTest)
#include "CommonTest.moc"
