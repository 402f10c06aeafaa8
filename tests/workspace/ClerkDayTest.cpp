#include "BookingListModel.h"
#include "DayNumber.h"
#include "InvoiceView.h"
#include "PrintExportFixture.h"
#include "QPainterPrintEngine.h"
#include "QtDialogs.h"
#include "Reports.h"
#include "WorkspaceFixture.h"

#include <functional>
#include <QAccessible>
#include <QApplication>
#include <QChartView>
#include <QDialogButtonBox>
#include <QGraphicsTextItem>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

// A clerk's day on a 1600 × 1200 screen: messages that show outside texts as they are, e-invoices booked
// for companies created on the way, corrections that can be cancelled and say what is true, lists whose
// columns all show, and what a screen reader says.
class ClerkDayTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // The workspace with the trades and cost groups of the presets.
    struct Day : WorkspaceFixture {
        Day() {
            db.exec("INSERT INTO tblGewerk (Gewerk) VALUES ('Rohbau'), ('Elektro')");
            db.exec("INSERT INTO tblKostengruppe (Kostengruppe) VALUES ('300 Bauwerk'), ('400 Technik')");
        }
        // The company "Seller GmbH" with the bank account its invoices name, so that they ask nothing.
        void seller() {
            db.exec("INSERT INTO tblFirma (Name, GewerkID) VALUES ('Seller GmbH', 'Rohbau')");
            db.exec("INSERT INTO tblBankverbindung (FirmaID, IBAN) SELECT ID, 'DE79000000001234567890' FROM "
                    "tblFirma WHERE Name = 'Seller GmbH'");
        }
        bool correcting() { return !find<QLabel>("lblBearbeitungsmodus")->isHidden(); }
        QString banner() { return find<QLabel>("lblBearbeitungsmodus")->text(); }
    };

    // The test invoice 01.01a as CII, from the seller named.
    QString invoiceFrom(const QString& seller, const QString& fileName = "rechnung.xml") {
        QFile file(QStringLiteral(ZLV_XRECHNUNG_FIXTURES "/01.01a-INVOICE_uncefact.xml"));
        if (!file.open(QIODevice::ReadOnly))
            return QString();
        const QByteArray xml = file.readAll().replace("[Seller name]", seller.toHtmlEscaped().toUtf8());
        const QString path = m_dir.filePath(fileName);
        TestDatabase::writeFile(path, xml);
        return path;
    }
    // Reads the invoice through "E-Rechnung einlesen …" and takes it into the entry fields.
    static void takeInvoice(Day& day, const QString& path) {
        day.dialogs.files.enqueue(path);
        day.click("cmdERechnungEinlesen");
        auto* view = day.screen->findChild<InvoiceView*>();
        QVERIFY(view);
        WidgetDriver(view).click("cmdERechnungBuchen");
        QTRY_VERIFY(!day.screen->findChild<InvoiceView*>());
    }
    // Runs show, and meanwhile handle on the modal dialog it opens.
    static void whileModal(const std::function<void()>& show, const std::function<void(QWidget*)>& handle) {
        QTimer::singleShot(0, [handle] {
            QWidget* modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            handle(modal);
        });
        show();
    }

private slots:
    void initTestCase() {
        if (!QFile::exists(QStringLiteral(ZLV_XRECHNUNG_FIXTURES)) && qgetenv("CI") != "true")
            QSKIP("the XRechnung test invoices are not there (../shared/fixtures/xrechnung)");
    }

    void messagesShowOutsideTextAsItIs_data() {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"ask", "ask with cancel", "choose", "inform"})
            QTest::newRow(kind) << QString(kind);
    }
    void messagesShowOutsideTextAsItIs() {
        const QString text = QStringLiteral("Die Firma „<a href=\"x\">Klick</a>“ ist nicht im Register."
                                            "<span style=\"font-size:1px\">Soll sie angelegt werden?</span>");
        QFETCH(QString, kind);
        const QString& tag = kind;
        QtDialogs dialogs;
        QString shown;
        Qt::TextFormat format = Qt::RichText;
        whileModal(
            [&] {
                if (tag == "ask")
                    dialogs.ask(nullptr, "Frage", text, Dialogs::Icon::Question, Dialogs::Answer::No);
                else if (tag == "ask with cancel")
                    dialogs.askWithCancel(nullptr, "Frage", text, Dialogs::Icon::Question,
                                          Dialogs::Answer::No);
                else if (tag == "choose")
                    dialogs.choose(nullptr, "Frage", text, Dialogs::Icon::Question, {"Anlegen", "Abbrechen"});
                else
                    dialogs.inform(nullptr, "Hinweis", text, Dialogs::Icon::Information);
            },
            [&](QWidget* box) {
                const auto* label = box->findChild<QLabel*>("qt_msgbox_label");
                shown = label->text();
                format = label->textFormat();
                static_cast<QDialog*>(box)->reject();
            });
        QCOMPARE(shown, text);
        QCOMPARE(format, Qt::PlainText);
    }

    void companyFromAnInvoiceIsCreatedWithTradeAndCostGroup() {
        QtDialogs dialogs;
        QStringList chosen;
        bool okWithoutTrade = true;
        whileModal(
            [&] {
                chosen = dialogs.chooseFromLists(nullptr, "Firma anlegen", "<b>Bau</b>",
                                                 {"Gewerk:", "Kostengruppe:"},
                                                 {{"", "Rohbau", "Elektro"}, {"", "300 Bauwerk"}});
            },
            [&](QWidget* form) {
                auto* ok = form->findChild<QDialogButtonBox*>()->buttons().constFirst();
                okWithoutTrade = ok->isEnabled();
                form->findChild<QComboBox*>("cboAuswahl1")->setCurrentText("Elektro");
                form->findChild<QComboBox*>("cboAuswahl2")->setCurrentText("300 Bauwerk");
                QTest::mouseClick(ok, Qt::LeftButton);
            });
        QCOMPARE(chosen.join('|') + (okWithoutTrade ? " OK without trade" : ""), "Elektro|300 Bauwerk");

        Day day;
        day.open();
        day.dialogs.choices.enqueue(0);
        day.dialogs.picks.enqueue({"Elektro", "400 Technik"});
        // The new company's bank account is asked about, taken over and not stored.
        day.dialogs.answers << Dialogs::Answer::Yes << Dialogs::Answer::No;
        takeInvoice(day, invoiceFrom("Neue Elektro GmbH"));
        const auto form =
            std::find_if(day.dialogs.shown.crbegin(), day.dialogs.shown.crend(), [](const auto& shown) {
                return shown.kind == ScriptedDialogs::Shown::Kind::ChooseFromLists;
            });
        QVERIFY(form != day.dialogs.shown.crend());
        const QString asked = form->text;
        QVERIFY2(
            asked.startsWith("Die Firma „Neue Elektro GmbH“ wird angelegt. Bitte wählen Sie ihr Gewerk und "
                             "ihre Kostengruppe.|&Gewerk: /") &&
                asked.contains("/Elektro/") && asked.contains("|&Kostengruppe: /") &&
                asked.contains("/400 Technik"),
            qPrintable(asked));
        QCOMPARE(day.text("txtGewerk") + '|' + day.text("txtKostengruppe"), "Elektro|400 Technik");
        day.find<QComboBox>("cboZahlungsart")->setCurrentText("Rückhalt");
        day.click("cmdBuchen");
        QCOMPARE(day.stored("Firma || '|' || Gewerk || '|' || Kostengruppe"),
                 "Neue Elektro GmbH|Elektro|400 Technik");
        QCOMPARE(day.db.scalar("SELECT COUNT(*) FROM tblRechnungsdatei"), "1");
    }

    void leavingWithAnEntryNotBookedAsks_data() {
        QTest::addColumn<bool>("fromInvoice");
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<QString>("after");
        QTest::newRow("typed, cancelled") << false << Dialogs::Answer::Cancel << "open|";
        QTest::newRow("typed, discarded") << false << Dialogs::Answer::No << "closed|";
        QTest::newRow("from an invoice, booked") << true << Dialogs::Answer::Yes << "closed|336.9";
    }
    void leavingWithAnEntryNotBookedAsks() {
        QFETCH(bool, fromInvoice);
        QFETCH(Dialogs::Answer, answer);
        QFETCH(QString, after);
        Day day;
        day.seller();
        day.open();
        if (fromInvoice)
            takeInvoice(day, invoiceFrom("Seller GmbH"));
        else
            day.type("txtBetrag", "12,50");
        day.find<QComboBox>("cboZahlungsart")->setCurrentText("Rückhalt");
        day.dialogs.answers.enqueue(answer);
        day.screen->close();
        QVERIFY(!day.dialogs.shown.isEmpty());
        const ScriptedDialogs::Shown asked = day.dialogs.shown.constLast();
        QCOMPARE(asked.title, "Eingabe nicht gebucht");
        QCOMPARE(asked.defaultButton, Dialogs::Answer::Cancel);
        QVERIFY2(
            asked.text.contains(fromInvoice ? "aus der E-Rechnung „rechnung.xml“" : "noch nicht gebucht"),
            qPrintable(asked.text));
        QCOMPARE(QString(day.screen->isVisible() ? "open|" : "closed|") + day.stored("Betrag"), after);
    }

    void choosingTheCompanyYourselfClearsTheOnesBefore() {
        Day day;
        day.open();
        day.chooseCompany("Hochbau Nord");
        QCOMPARE(day.text("txtGewerk"), "Rohbau");
        day.dialogs.choices.enqueue(1);
        takeInvoice(day, invoiceFrom("Unbekannt AG"));
        QCOMPARE(day.find<QComboBox>("cboFirma")->currentText() + '|' + day.text("txtGewerk") + '|' +
                     day.text("txtKostengruppe") + '|' + day.find<QLabel>("lblSitz")->text(),
                 "|||");
    }

    // An invoice booked before is asked about once, when it is taken again; booking it asks no more.
    void invoiceBookedBeforeIsAskedOnce() {
        Day day;
        day.seller();
        day.open();
        for (const qsizetype asked : {0, 1}) {
            const qsizetype before = day.dialogs.shown.size();
            if (asked)
                day.dialogs.answers.enqueue(Dialogs::Answer::Yes);
            takeInvoice(day, invoiceFrom("Seller GmbH"));
            day.find<QComboBox>("cboZahlungsart")->setCurrentText("Rückhalt");
            day.click("cmdBuchen");
            // The file chosen, and the question whether it is booked already.
            QCOMPARE(day.dialogs.shown.size() - before, 1 + asked);
        }
        QCOMPARE(day.db.scalar("SELECT COUNT(*) FROM tblBuchung"), "2");
    }

    void deletingABookingKeepsItsInvoice() {
        Day day;
        day.seller();
        day.open();
        takeInvoice(day, invoiceFrom("Seller GmbH"));
        day.find<QComboBox>("cboZahlungsart")->setCurrentText("Rückhalt");
        day.click("cmdBuchen");
        day.showTab(Workspace::BookingsTabIndex);
        day.selectRow("ListView1", 0);
        day.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        const qsizetype before = day.dialogs.shown.size();
        day.click("cmdBuchungLoeschen");
        QCOMPARE(day.dialogs.shown.size() - before, 1);
        QCOMPARE(day.dialogs.shown.constLast().text, "LfdNr. '001' löschen?          ");
        QCOMPARE(day.db.scalar("SELECT COUNT(*) FROM tblBuchung") + '|' +
                     day.db.scalar("SELECT COUNT(*) FROM tblRechnungsdatei WHERE BuchungID IS NULL"),
                 "0|1");
    }

    void correctionCanBeCancelledAndSaysWhatIsTrue_data() {
        QTest::addColumn<QString>("elsewhere");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("after");
        QTest::newRow("Escape") << ""
                                << "escape"
                                << "|Buchungen: 1|5:100.0";
        QTest::newRow("button") << ""
                                << "button"
                                << "|Buchungen: 1|5:100.0";
        QTest::newRow("changed elsewhere, Escape") << "changed"
                                                   << "escape"
                                                   << "|Buchungen: 1|5:99.0";
        QTest::newRow("gone elsewhere, Escape") << "gone"
                                                << "escape"
                                                << "|Buchungen: 0|";
        QTest::newRow("gone elsewhere, leaving") << "gone"
                                                 << "leave"
                                                 << "";
    }
    void correctionCanBeCancelledAndSaysWhatIsTrue() {
        QFETCH(QString, elsewhere);
        QFETCH(QString, how);
        QFETCH(QString, after);
        Day day;
        day.db.exec(
            "INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Zahlungsart, Betrag) VALUES "
            "(5, '1', 'Schule', 'Hochbau Nord', 'Rohbau', 'Rückhalt', 100)");
        day.open();
        day.takeBack(false);
        QVERIFY2(day.correcting() &&
                     day.banner().contains("LfdNr. 005 wird korrigiert; sie bleibt unverändert") &&
                     day.banner().contains("nächsten laufenden Nummer"),
                 qPrintable(day.banner()));
        day.type("txtBetrag", "120");
        if (!elsewhere.isEmpty()) {
            day.db.exec(elsewhere == "gone" ? "DELETE FROM tblBuchung" : "UPDATE tblBuchung SET Betrag = 99");
            day.click("cmdBuchen");
            const QString banner = day.banner();
            QVERIFY2(elsewhere == "gone"
                         ? banner.startsWith("LfdNr. 005 ist nicht mehr gespeichert")
                         : banner.contains("wurde inzwischen an einem anderen Arbeitsplatz geändert"),
                     qPrintable(banner));
            QVERIFY2(!banner.contains("unverändert"), qPrintable(banner));
        }
        QVERIFY(!day.find<QPushButton>("cmdKorrekturAbbrechen")->isHidden());
        if (how == "escape")
            QTest::keyClick(day.find<QLineEdit>("txtBetrag"), Qt::Key_Escape);
        else if (how == "button")
            day.click("cmdKorrekturAbbrechen");
        else
            day.screen->close();
        if (how == "leave") {
            QVERIFY2(!day.dialogs.lastText().contains("wie sie vorher war") &&
                         day.dialogs.lastText().contains("verworfen"),
                     qPrintable(day.dialogs.lastText()));
            return;
        }
        QCOMPARE(QString(day.correcting() ? "correcting" : "") + day.text("txtBetrag") + '|' + day.status() +
                     '|' + day.stored("PID || ':' || Betrag"),
                 after);
    }

    void incompleteEntryPutsTheFocusOnWhatIsMissing_data() {
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("focus");
        QTest::newRow("no kind") << "Hochbau Nord"
                                 << ""
                                 << "5"
                                 << "cboZahlungsart";
        QTest::newRow("no amount") << "Hochbau Nord"
                                   << "Rückhalt"
                                   << ""
                                   << "txtBetrag";
        QTest::newRow("partial amount") << "Hochbau Nord"
                                        << "Rückhalt"
                                        << "-"
                                        << "txtBetrag";
        QTest::newRow("no trade") << "Ohne Gewerk"
                                  << "Rückhalt"
                                  << "5"
                                  << "cboFirma";
    }
    void incompleteEntryPutsTheFocusOnWhatIsMissing() {
        QFETCH(QString, company);
        QFETCH(QString, kind);
        QFETCH(QString, amount);
        QFETCH(QString, focus);
        Day day;
        day.open();
        day.find<QLineEdit>("txtBemerkungen")->setFocus();
        day.book(company, kind, amount);
        QVERIFY(day.dialogs.lastText().startsWith("Angaben unvollständig!\n"));
        QCOMPARE(day.screen->focusWidget()->objectName(), focus);
    }

    void everyColumnShowsAtFirstStart_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QList<int>>("amounts");
        QTest::newRow("bookings") << int(Workspace::BookingsTabIndex) << "ListView1" << QList<int>{8};
        QTest::newRow("estimates and orders")
            << int(Workspace::CompanyTabIndex) << "ListView2" << QList<int>{2, 6};
        QTest::newRow("evaluation") << int(Workspace::EvaluationTabIndex) << "ListView3" << QList<int>{7};
        QTest::newRow("cost report") << int(Workspace::CostReportTabIndex) << "ListView4"
                                     << QList<int>{4, 5, 6, 7, 8, 9, 10};
    }
    void everyColumnShowsAtFirstStart() {
        QFETCH(int, tab);
        QFETCH(QString, list);
        QFETCH(QList<int>, amounts);
        Day day;
        const QString company = "Öffentliche Erschließung Nordwest GmbH & Co. KG, Niederlassung Süd";
        day.db.exec(
            "INSERT INTO tblFirma (Name, GewerkID, KostengruppeID) VALUES (?, ?, ?)",
            {company, "Beton- und Stahlbetonarbeiten, Mauerarbeiten", "300 Bauwerk – Baukonstruktionen"});
        for (int i = 1; i <= 30; ++i) {
            day.db.exec(
                "INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, AnweisungVom, "
                "RechnungVom, RechnungsNr, Zahlungsart, Bemerkungen, Betrag) VALUES (?, '1', 'Schule', ?, "
                "'Beton- und Stahlbetonarbeiten, Mauerarbeiten', '300 Bauwerk – Baukonstruktionen', 45000, "
                "45001, 'RE-2024-000123-A', '12. Abschlagszahlung', ?, ?)",
                {i, company, "Abschlag laut Prüfvermerk des Architekten vom 12.03.2024, Skonto nicht gezogen",
                 1234567.89 * i});
            day.db.exec(
                "INSERT INTO tblNachtrag (NID, ProjektID, Projekt, Firma, ArchitektDatum, ArchitektKosten, "
                "NachtragDatum, NachtragArt, NachtragKosten) VALUES (?, '1', 'Schule', ?, 45000, 98765432.1, "
                "45001, ?, 87654321.09)",
                {i, company, i == 1 ? QString("Auftrag vom") : QString("%1. Nachtr. Auftrag").arg(i - 1)});
        }
        day.open();
        day.showTab(tab);
        if (tab == Workspace::CompanyTabIndex)
            day.choose("cboFirmaFirma", company);
        QTreeView* view = day.list(list);
        QVERIFY(view->model()->rowCount() > 0);
        QHeaderView* header = view->header();
        const int margin = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
        // At first start every column shows; in a window as narrow as it goes, the columns give way, but
        // still no amount is cut.
        int wideColumns = 0;
        for (const bool narrow : {false, true}) {
            if (narrow) {
                day.screen->resize(day.screen->minimumWidth(), 700);
                QTRY_COMPARE(day.screen->width(), day.screen->minimumWidth());
            }
            QStringList cut;
            int columns = 0;
            for (int column = 0; column < header->count(); ++column) {
                if (header->isSectionHidden(column))
                    continue;
                columns += header->sectionSize(column);
                if (!narrow && header->sectionViewportPosition(column) + header->sectionSize(column) >
                                   view->viewport()->width())
                    cut.append(view->model()->headerData(column, Qt::Horizontal).toString() +
                               " off the list");
                for (int row = 0; amounts.contains(column) && row < view->model()->rowCount(); ++row) {
                    const QString text = view->model()->index(row, column).data().toString();
                    if (view->fontMetrics().horizontalAdvance(text) + margin > header->sectionSize(column))
                        cut.append(text + " cut");
                }
            }
            QVERIFY2(cut.isEmpty(), qPrintable(cut.join(", ")));
            if (narrow)
                QVERIFY(columns < wideColumns);
            wideColumns = columns;
        }
    }

    void chartLabelsAreWholeOnScreenAndPaper() {
        Day day;
        QStringList companies;
        for (int i = 1; i <= 17; ++i)
            companies.append(QString("Dachdeckerei und Bauklempnerei Müller %1 GmbH & Co. KG").arg(i));
        companies[0] = "<a href=\"x\">Klick</a> Bau";
        for (int month = 0; month < 60; ++month)
            day.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, AnweisungVom, Betrag) VALUES (?, "
                        "'1', ?, ?, ?)",
                        {month + 1, companies.at(month % companies.size()),
                         DayNumber::fromDate(QDate(2020, 1, 15).addMonths(month)), 1000.0 * (month + 1)});
        day.open();
        day.showTab(Workspace::ChartsTabIndex);
        QCoreApplication::processEvents();
        QStringList drawn;
        for (const char* name : {"chtKostenbericht", "chtMittelabfluss"}) {
            auto* view = day.find<QChartView>(name);
            for (const QGraphicsItem* item : view->scene()->items())
                if (const auto* text = dynamic_cast<const QGraphicsTextItem*>(item);
                    text && text->isVisible())
                    drawn.append(text->toPlainText().replace(QChar::LineSeparator, ' ').replace('\n', ' '));
        }
        QStringList elided = drawn.filter(QRegularExpression("(…|\\.\\.\\.)$"));
        const qsizetype named = std::count_if(drawn.cbegin(), drawn.cend(),
                                              [&](const QString& text) { return companies.contains(text); });
        if (named != 15 || !drawn.contains(companies.first()))
            elided.append(QString("%1 companies named").arg(named));
        QVERIFY2(elided.isEmpty() && drawn.contains("Jan 20"), qPrintable(elided.join(", ")));

        QPainterPrintEngine engine;
        engine.SelectPrinter(QPainterPrintEngine::pdfTargetName());
        engine.SetOrientation(PrintEngine::Landscape);
        engine.SetPaperSize(PrintEngine::PaperA4);
        engine.SetPrintDirect(true);
        const QString pdf = day.dir.filePath("Diagramme.pdf");
        engine.setPdfFilePath(pdf);
        buildReport(engine, day.screen->snapshot(), {"Bauamt", "Hochbau", "97070", "Würzburg"});
        engine.EndTable();
        engine.EndDocument();
        QCOMPARE(engine.ShowDocument(), PrintEngine::Outcome::Done);
        const QString text = PrintExport::pdfText(pdf);
        QVERIFY2(!text.contains("…") && !text.contains("...") && text.contains("Jan 20") &&
                     text.contains("<a href=\"x\">Klick</a> Bau"),
                 qPrintable(text));
    }

    void screenReadersSayTheLabels() {
        Day day;
        day.open();
        QStringList tabs;
        QAccessibleInterface* bar =
            QAccessible::queryAccessibleInterface(day.find<QTabBar>("qt_tabwidget_tabbar"));
        for (int i = 0; i < day.find<QTabBar>("qt_tabwidget_tabbar")->count(); ++i)
            tabs.append(bar->child(i)->text(QAccessible::Name));
        QCOMPARE(tabs.join('|'), "Eingabe|Zelvora|Firma|Auswertung / Filter|Kostenbericht|Diagramme");
        day.find<QComboBox>("cboZahlungsart")->setCurrentText("Rückhalt");
        QAccessibleInterface* kind =
            QAccessible::queryAccessibleInterface(day.find<QComboBox>("cboZahlungsart"));
        QCOMPARE(kind->text(QAccessible::Name) + '|' + kind->text(QAccessible::Value),
                 "Zahlungsart|Rückhalt");
    }
};

int main(int argc, char** argv) {
    // A screen of 1600 × 1200, as in the office.
    QTemporaryDir configFolder;
    const QString config = configFolder.filePath(QStringLiteral("screens.json"));
    if (!TestDatabase::writeFile(config,
                                 QByteArrayLiteral("{\"screens\": [{\"name\": \"Bildschirm\", \"x\": 0, "
                                                   "\"y\": 0, \"width\": 1600, \"height\": 1200, "
                                                   "\"logicalDpi\": 96}]}")))
        return 1;
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
    QApplication app(argc, argv);
    ClerkDayTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ClerkDayTest.moc"
