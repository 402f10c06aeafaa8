#pragma once

#include "AuditIndex.h"

#include <QDialog>

class Dialogs;
class QComboBox;
class QLineEdit;
class QRadioButton;
class Session;
class Settings;

// "Export für die Prüfung" (frmPruefexport): the whole database or one project, a period (both ends may
// stay empty) and a folder, then the data handover for the auditors into that folder.
class AuditExportWindow : public QDialog {
    Q_OBJECT
public:
    AuditExportWindow(Session& session, Dialogs& dialogs, const Settings& settings,
                      QWidget* parent = nullptr);

    // The authority's details of the presets, as the supplier of the data.
    static AuditIndex::Supplier supplier(const Settings& settings);
    // Chooses the project, as when the workspace of that project opens the window.
    void chooseProject(qint64 projectId);
    // Checks the entries, asks before replacing an earlier export and writes; true when it was written.
    bool exportNow();

private:
    void chooseFolder();
    // The date typed into field, invalid when empty; false (after telling the user) when it is no date.
    bool readDay(QLineEdit* field, const QString& label, QDate& day);

    Session& m_session;
    Dialogs& m_dialogs;
    const Settings& m_settings;
    QRadioButton* m_whole = nullptr;
    QRadioButton* m_oneProject = nullptr;
    QComboBox* m_project = nullptr;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QLineEdit* m_folder = nullptr;
};
