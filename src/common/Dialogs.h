#pragma once

#include <QString>
#include <QStringList>
#include <utility>

class QWidget;
class Settings;

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
    // A message with buttons of the given texts, the first one the default; returns the index of the
    // button pressed, the last one when the box is closed.
    virtual int choose(QWidget* parent, const QString& title, const QString& text, Icon icon,
                       const QStringList& buttons) = 0;
    // "Anmeldung am Datenbankserver": asks for user and password (the user proposed); false when the
    // clerk cancels.
    virtual bool askLogin(QWidget* parent, const QString& server, QString& user, QString& password) = 0;
    // One line of text, asked for under label, text proposed and receiving the answer; false when the clerk
    // cancels. Where no such dialog is offered, it is cancelled.
    virtual bool askText(QWidget* /*parent*/, const QString& /*title*/, const QString& /*label*/,
                         QString& /*text*/) {
        return false;
    }
    // A form with one picker per list, each under its label, the first entry of each chosen at first;
    // "OK" needs a choice in the first list. Returns the texts chosen, one per list, or an empty list
    // when the clerk cancels.
    virtual QStringList chooseFromLists(QWidget* parent, const QString& title, const QString& text,
                                        const QStringList& labels, const QList<QStringList>& lists) = 0;
    // A notice with an OK button only.
    virtual void inform(QWidget* parent, const QString& title, const QString& text, Icon icon) = 0;
    // A file-open dialog; returns the chosen file's full path, or an empty text when cancelled.
    // filter is in Qt's form: "ZLV- Datenbank (ZLV.MDB)".
    virtual QString chooseFileToOpen(QWidget* parent, const QString& title, const QString& folder,
                                     const QString& filter) = 0;
    // A folder dialog that opens in folder; returns the chosen folder, or an empty text when cancelled.
    // Where no such dialog is offered, it is cancelled.
    virtual QString chooseFolder(QWidget* /*parent*/, const QString& /*title*/, const QString& /*folder*/) {
        return QString();
    }
    // A file-save dialog that opens in saveFolder() proposing fileName. Returns the chosen full path, an
    // empty text when cancelled; a name that ends in none of the extensions of the filter chosen gets its
    // first one. The chosen file's folder becomes saveFolder(). filter is in Qt's form, filters separated
    // by ";;": "Export CSV-Dateien (*.csv);;Export Textdateien (*.txt)".
    QString chooseFileToSave(QWidget* parent, const QString& title, const QString& fileName,
                             const QString& filter);
    // From now on the save folder is kept in these settings, so the next program start opens there too.
    void keepSaveFolderIn(Settings& settings);
    // Where the next save dialog opens: the folder last saved into, at first the documents folder.
    QString saveFolder() const;
    // A message with details (a server's own words) that the dialog shows behind its "Details" button;
    // whoever reads the text itself (a test, a log) reads both.
    static QString withDetails(const QString& text, const QString& details);
    // The message and its details apart; the details are empty when there are none.
    static std::pair<QString, QString> splitDetails(const QString& text);
    // path with the first extension of the filter appended unless it ends in one of the filter's.
    static QString withFilterExtension(const QString& path, const QString& filter);

protected:
    // Shows the save dialog on suggestedPath; returns the chosen path (empty when cancelled) and sets
    // chosenFilter, which comes in as the first filter, to the filter chosen in the dialog.
    virtual QString showSaveDialog(QWidget* parent, const QString& title, const QString& suggestedPath,
                                   const QString& filter, QString& chosenFilter) = 0;

private:
    Settings* m_settings = nullptr;
    QString m_saveFolder;
};
