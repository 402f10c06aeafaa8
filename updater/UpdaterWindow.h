#pragma once

#include "UpdaterDialogs.h"

#include <QWidget>

class FileOperations;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class RunningProgram;

// The updater's one window: it names the installation folder, closes a running Zlv and puts the new
// program and help page of its own folder into the installation.
class UpdaterWindow : public QWidget {
    Q_OBJECT
public:
    static QString caption() { return QStringLiteral("Aktualisierung - Talbrin Zelvora "); }
    static QString warningText();
    static QString browseTitle() { return QStringLiteral("Ordner der Talbrin Zelvora wählen"); }

    UpdaterWindow(const QString& sourceFolder, UpdaterDialogs& dialogs, RunningProgram& program,
                  FileOperations& files, QWidget* parent = nullptr);

    // Fills the folder field from the folder Zlv recorded; without one the user picks it at once.
    void start(const QString& recordedFolder);
    void browse();
    void update();
    void cancel();

private:
    bool checkTargetFolder();
    bool checkSources();
    bool closeProgram();
    void reportFailure(const QString& cause);
    void inform(const QString& text, UpdaterDialogs::Icon icon);

    QString m_sourceFolder;
    UpdaterDialogs& m_dialogs;
    RunningProgram& m_program;
    FileOperations& m_files;
    QLineEdit* m_folder = nullptr;
    QLabel* m_warning = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_cancel = nullptr;
};
