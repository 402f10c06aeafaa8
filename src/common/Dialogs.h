#pragma once

#include <QString>

class QWidget;

// The one way screens ask, inform and choose files. The program uses Qt's dialogs (QtDialogs);
// tests plug in an answerer.
class Dialogs {
public:
    enum class Icon { None, Information, Question, Warning, Critical };
    enum class Answer { Yes, No, Cancel };

    virtual ~Dialogs();

    // A question with the buttons Yes and No; returns the answer (closing the box answers No).
    virtual Answer ask(QWidget* parent, const QString& title, const QString& text, Icon icon,
                       Answer defaultButton) = 0;
    // A question with the buttons Yes, No and "Abbrechen"; closing the box answers Cancel. Where no
    // such box is offered, the question is asked with Yes and No.
    virtual Answer askWithCancel(QWidget* parent, const QString& title, const QString& text, Icon icon,
                                 Answer defaultButton) {
        return ask(parent, title, text, icon, defaultButton);
    }
    // A notice with an OK button only.
    virtual void inform(QWidget* parent, const QString& title, const QString& text, Icon icon) = 0;
    // A file-open dialog; returns the chosen file's full path, or an empty text when cancelled.
    // filter is in Qt's form: "ZLV- Datenbank (ZLV.MDB)".
    virtual QString chooseFileToOpen(QWidget* parent, const QString& title, const QString& folder,
                                     const QString& filter) = 0;
    // A file-save dialog; returns the chosen full path, or an empty text when cancelled.
    virtual QString chooseFileToSave(QWidget* parent, const QString& title, const QString& suggestedPath,
                                     const QString& filter) = 0;
};
