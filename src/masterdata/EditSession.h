#pragma once

#include "AsLoaded.h"
#include "Reading.h"

#include <functional>
#include <optional>
#include <QObject>
#include <QString>

class ChangeWatch;
class Dialogs;
class Outcome;
class ReportListView;
class QLabel;
class QLineEdit;
class QPushButton;
class QShortcut;
class QWidget;

// What a master-data screen's records offer the shared entry flow of EditSession.
class EditableRecords {
public:
    virtual ~EditableRecords();

    // The record shown in row of the screen's list.
    virtual qint64 idAt(int row) const = 0;
    // Puts record id into the entry fields; gives what it was as loaded, none when it is not stored.
    virtual Reading<std::optional<AsLoaded>> loadIntoFields(qint64 id) = 0;
    // Whether record id is still stored.
    virtual Reading<bool> exists(qint64 id) = 0;
    // Whether another record than id already carries newName as the rename cascade matches names, so
    // that the rename would merge their copies.
    virtual Reading<bool> hasNamesake(qint64 id, const QString& newName) = 0;
    // Whether the cascade would match newName with oldName anyway (the name did not change for it).
    virtual bool sameName(const QString& oldName, const QString& newName) const = 0;
    // The rename question's title and text, when newName is carried by another record.
    virtual QString renameTitle() const = 0;
    virtual QString renameQuestion(const QString& newName) const = 0;
    // Whether the entry fields can be stored as they are; when not, says why in German and returns false.
    virtual bool entryComplete() { return true; }
    // Adds the entry fields as a new record.
    virtual Outcome add() = 0;
    // Stores the entry fields onto record id and carries the rename from oldName into the copies, when
    // the record is still as loaded.
    virtual Outcome store(qint64 id, const QString& oldName, const AsLoaded& loaded) = 0;
    virtual Outcome remove(qint64 id) = 0;
    virtual void clearFields() = 0;
    // Refills the screen's list.
    virtual void refill() = 0;
};

// The entry flow the master-data screens share. Loading a record puts it into the entry fields and the
// screen into edit mode, which a notice "Bearbeitungsmodus" beside the fields shows; "&Hinzufügen" then
// stores onto that record and carries its rename into the copies, otherwise it adds a new record.
// Escape or "Bearbeitung abbrechen" leaves edit mode, clears the fields and stores nothing; Enter in an
// entry field presses "&Hinzufügen". A failed read or write is said in German and loses no entry. After
// its own writes the screen refills its list and its watch counts the change as seen.
class EditSession : public QObject {
    Q_OBJECT
public:
    // screen parents the messages; entryArea is where Escape leaves edit mode; nameField is the field
    // whose text names the record (an empty one makes saving do nothing); list shows the records.
    EditSession(QWidget& screen, QWidget& entryArea, QLineEdit& nameField, QPushButton& addButton,
                ReportListView& list, EditableRecords& records, ChangeWatch& watch, Dialogs& dialogs);

    // The notice and the cancel button, for the screen's layout; both show only in edit mode.
    QLabel* notice() const { return m_notice; }
    QPushButton* cancelButton() const { return m_cancel; }
    // Lets Enter in field press "&Hinzufügen".
    void submitOnEnter(QLineEdit& field);

    bool isEditing() const { return m_editing; }
    qint64 loadedId() const { return m_loadedId; }
    // The name as it stood in the name field right after loading; the cascade looks for it.
    QString loadedName() const { return m_loadedName; }

    // "Bearbeiten": loads the selected record into the fields and enters edit mode.
    void loadSelected();
    // "&Hinzufügen".
    void save();
    // "Löschen" of the selected record: when it is still there and confirm(its number, its row) answers
    // true, deletes it and refills the list. Deleting the loaded record leaves edit mode and clears the
    // fields.
    void removeSelected(const std::function<bool(qint64, int)>& confirm);
    // Escape, "Bearbeitung abbrechen".
    void cancel();

    // The German message for a list or record that cannot be read: failure says why.
    void reportReadFailure(const QString& failure);

private:
    void load(qint64 id);
    void setEditing(bool editing);
    void reportWriteFailure(const QString& failure);
    void refill();

    QWidget& m_screen;
    QLineEdit& m_nameField;
    QPushButton& m_add;
    ReportListView& m_list;
    EditableRecords& m_records;
    ChangeWatch& m_watch;
    Dialogs& m_dialogs;
    QLabel* m_notice = nullptr;
    QPushButton* m_cancel = nullptr;
    QShortcut* m_escape = nullptr;
    bool m_editing = false;
    qint64 m_loadedId = 0;
    QString m_loadedName;
    AsLoaded m_asLoaded;
};
