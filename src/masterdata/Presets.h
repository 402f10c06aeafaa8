#pragma once

#include <memory>
#include <QString>
#include <QWidget>

class ChangeWatch;
class Session;
class Dialogs;
class NameEntryTab;
class QLineEdit;
class QPushButton;
class QTabWidget;
class Settings;

// The presets (frmVoreinstellung): the trades, the cost groups and the authority's own details.
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

    Dialogs& m_dialogs;
    Settings& m_settings;
    ChangeWatch* m_watch = nullptr;
    QTabWidget* m_tabs = nullptr;
    NameEntryTab* m_trades = nullptr;
    NameEntryTab* m_costGroups = nullptr;
    QList<QLineEdit*> m_authority;
    QPushButton* m_import = nullptr;
    QPushButton* m_ok = nullptr;
};
