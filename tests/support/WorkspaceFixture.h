#pragma once

#include "ScriptedDialogs.h"
#include "Session.h"
#include "Settings.h"
#include "StoreFixture.h"
#include "WidgetDriver.h"
#include "Workspace.h"

#include <memory>
#include <QDateEdit>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>

// A file with three companies (one without a trade) and two projects named "Schule", and the workspace
// opened on project 1 with scripted dialogs and its own settings file.
struct WorkspaceFixture : WidgetDriver {
    TestDatabase db;
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    std::unique_ptr<Settings> settings = std::make_unique<Settings>(dir.filePath("zlv.ini"));
    std::unique_ptr<Session> session;
    std::unique_ptr<Workspace> screen;

    WorkspaceFixture() {
        // On the server the test's login (a superuser) holds every right once the rights' group roles
        // exist, as a database set up by the program has them.
        for (const char* right : {"lesen", "erfassen", "feststellen", "anordnen", "verwalten"})
            if (db.onServer())
                db.exec(
                    QString("DO $$BEGIN EXECUTE format('CREATE ROLE %I NOLOGIN', current_database() || "
                            "'_%1'); EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END$$")
                        .arg(right));
        db.exec("INSERT INTO tblFirma (Name, PLZ, Ort, GewerkID, KostengruppeID) VALUES ('Hochbau Nord', "
                "'97070', 'Würzburg', 'Rohbau', '300 Bauwerk'), ('O''Neill & Co_%', '40210', 'Düsseldorf', "
                "'Elektro', '400 Technik'), ('Ohne Gewerk', '10115', 'Berlin', NULL, NULL)");
        db.exec("INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (1, 'Schule', 45000), "
                "(2, 'Schule', 45001)");
    }
    ~WorkspaceFixture() {
        if (screen)
            screen->close();
    }
    Workspace& open() {
        session = Session::open(db.path());
        screen = std::make_unique<Workspace>(*session, dialogs, *settings);
        screen->setProject("1", "Schule");
        screen->show();
        activate();
        return *screen;
    }
    const QObject* root() const override { return screen.get(); }
    void activate() {
        QEvent activation(QEvent::WindowActivate);
        QCoreApplication::sendEvent(screen.get(), &activation);
    }
    void chooseCompany(const QString& name) { choose("cboFirma", name); }
    void book(const QString& company, const QString& kind, const QString& amount) {
        chooseCompany(company);
        find<QComboBox>("cboZahlungsart")->setCurrentText(kind);
        type("txtBetrag", amount);
        click("cmdBuchen");
    }
    void showTab(int tab) { find<QTabWidget>("SSTab1")->setCurrentIndex(tab); }
    QTreeView* list(const QString& name = "ListView1") { return find<QTreeView>(name); }
    // Takes back the list's row with "Bearbeiten", answering Yes: a booking, or an estimate row.
    void takeBack(bool estimate, int row = 0) {
        showTab(estimate ? Workspace::CompanyTabIndex : Workspace::BookingsTabIndex);
        selectRow(estimate ? "ListView2" : "ListView1", row);
        dialogs.answers.enqueue(Dialogs::Answer::Yes);
        click(estimate ? "cmdNachtragBearbeiten" : "cmdBuchungBearbeiten");
    }
    QString status() { return find<QLabel>("lblStatus")->text(); }
    QString total() { return text("txtGesamtsumme"); }
    // expression for each row of a table in the order the rows were written, joined by commas.
    QString stored(const QString& expression, const QString& table = "tblBuchung") {
        return StoreFixture::joined(db, table, expression);
    }
    // A field's value as the file holds it, a text quoted: a foreign file may hold a text in a day field.
    QString held(const QString& column, const QString& table) {
        return db.scalar((db.onServer() ? QStringLiteral("SELECT COALESCE(CAST(%1 AS TEXT), 'NULL') FROM %2")
                                        : QStringLiteral("SELECT quote(%1) FROM %2"))
                             .arg(column, table));
    }
    QString estimates(const QString& expression) { return stored(expression, "tblNachtrag"); }
    // On the company tab: books an estimate row for the company chosen there.
    void bookEstimate(const QString& kind, const QString& architect, const QString& order) {
        find<QComboBox>("cboAuftragsart")->setCurrentText(kind);
        type("txtArchitektBetrag", architect);
        type("txtAuftragBetrag", order);
        click("cmdNachtragBuchen");
    }
    QString sums() { return text("txtArchitektSumme") + '|' + text("txtAuftragSumme"); }
};
