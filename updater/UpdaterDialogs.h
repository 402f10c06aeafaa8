#pragma once

#include <QString>

class QWidget;

// The message boxes and the file dialog of the updater. The program shows Qt's dialogs; tests answer
// them from a script.
class UpdaterDialogs {
public:
    enum class Icon { Information, Question, Warning, Critical };

    virtual ~UpdaterDialogs();
    // A notice with an OK button.
    virtual void inform(QWidget* parent, const QString& title, const QString& text, Icon icon) = 0;
    // A question with Yes and No, No the default; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
    // A file-open dialog starting in folder; the chosen file's full path, empty when cancelled.
    virtual QString chooseFile(QWidget* parent, const QString& title, const QString& folder,
                               const QString& filter) = 0;
};

// The updater's dialogs as Qt's message boxes and file dialog.
class QtUpdaterDialogs : public UpdaterDialogs {
public:
    void inform(QWidget* parent, const QString& title, const QString& text, Icon icon) override;
    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;
    QString chooseFile(QWidget* parent, const QString& title, const QString& folder,
                       const QString& filter) override;
};
