#pragma once

#include <memory>
#include <QString>
#include <QWidget>

class ChangeWatch;
class Session;
class Dialogs;
class NameEntryTab;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class Settings;

// The presets (frmVoreinstellung): the trades, the cost groups, the authority's own details, how bookings
// are signed off and the base rate of interest (both kept in the database, changed by a login with the
// right "verwalten").
class Presets : public QWidget {
    Q_OBJECT
public:
    Presets(Session& session, Dialogs& dialogs, Settings& settings, QWidget* parent = nullptr);
    ~Presets() override;

    // Refills both name lists from the database.
    void EINLESEN();

signals:
    // "Daten einer älteren Installation übernehmen …" was pressed.
    void importRequested();
    // "Auf Datenbankserver übertragen …" was pressed.
    void transferRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildAuthorityTab();
    void loadAuthorityDetails();
    void storeAuthorityDetailsAndClose();
    QWidget* buildSignOffTab();
    void loadSignOffRules();
    // Saves the rules when they were changed; false when they could not be saved (the user was told).
    bool storeSignOffRules();
    QWidget* buildBaseRateGroup(QWidget* page);
    void loadBaseRate();
    // Saves the base rate when it was changed; false when it is not valid or could not be saved (the
    // user was told).
    bool storeBaseRate();

    Session& m_session;
    Dialogs& m_dialogs;
    Settings& m_settings;
    ChangeWatch* m_watch = nullptr;
    QTabWidget* m_tabs = nullptr;
    NameEntryTab* m_trades = nullptr;
    NameEntryTab* m_costGroups = nullptr;
    QList<QLineEdit*> m_authority;
    QPushButton* m_import = nullptr;
    QPushButton* m_ok = nullptr;
    QCheckBox* m_fourEyes = nullptr;
    QCheckBox* m_twoStep = nullptr;
    QLineEdit* m_baseRate = nullptr;
    QLineEdit* m_baseRateSince = nullptr;
};
