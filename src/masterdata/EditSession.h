#pragma once

#include <functional>
#include <optional>
#include <QObject>
#include <QString>

class Database;
class Dialogs;
class QLabel;
class QLineEdit;
class QPushButton;
class QShortcut;
class QWidget;

// What a master-data screen's records offer the shared entry flow of EditSession.
class EditableRecords {
public:
    virtual ~EditableRecords();

    // The screen's open database, or null when it could not be opened.
    virtual Database* database() const = 0;
    // Puts record id into the entry fields. True when found; nullopt when the file could not be read.
    virtual std::optional<bool> loadIntoFields(qint64 id) = 0;
    // Whether record id is still stored; nullopt when the file could not be read.
    virtual std::optional<bool> exists(qint64 id) = 0;
    // Whether another record than id already carries newName as the rename cascade matches names, so
    // that the rename would merge their copies. nullopt when the file could not be read.
    virtual std::optional<bool> hasNamesake(qint64 id, const QString& newName) = 0;
    // Whether the cascade would match newName with oldName anyway (the name did not change for it).
    virtual bool sameName(const QString& oldName, const QString& newName) const = 0;
    // The rename question's title and text, when newName is carried by another record.
    virtual QString renameTitle() const = 0;
    virtual QString renameQuestion(const QString& newName) const = 0;
    // Whether the entry fields can be stored as they are; when not, says why in German and returns false.
    virtual bool entryComplete() { return true; }
    // Adds the entry fields as a new record.
    virtual bool add() = 0;
    // The table the records are kept in.
    virtual QString table() const = 0;
    // The record as stored, to tell later whether another workstation changed it (Database::rowStamp).
    virtual std::optional<QString> stamp(qint64 id);
    // Stores the entry fields onto record id and carries the rename from oldName into the copies, when
    // the record is still as loadedStamp (Database::rowStamp) says.
    virtual bool store(qint64 id, const QString& oldName, const QString& loadedStamp) = 0;
    virtual bool remove(qint64 id) = 0;
    virtual void clearFields() = 0;
    // Refills the screen's list.
    virtual void refill() = 0;
};

// The entry flow the master-data screens share. Loading a record puts it into the entry fields and the
// screen into edit mode, which a notice "Bearbeitungsmodus" beside the fields shows; "&Hinzufügen" then
// stores onto that record and carries its rename into the copies, otherwise it adds a new record.
// Escape or "Bearbeitung abbrechen" leaves edit mode, clears the fields and stores nothing; Enter in an
// entry field presses "&Hinzufügen". A failed read or write is said in German and loses no entry.
class EditSession : public QObject {
    Q_OBJECT
public:
    // screen parents the messages; entryArea is where Escape leaves edit mode; nameField is the field
    // whose text names the record (an empty one makes saving do nothing).
    EditSession(QWidget& screen, QWidget& entryArea, QLineEdit& nameField, QPushButton& addButton,
                EditableRecords& records, Dialogs& dialogs);

    // The notice and the cancel button, for the screen's layout; both show only in edit mode.
    QLabel* notice() const { return m_notice; }
    QPushButton* cancelButton() const { return m_cancel; }
    // Lets Enter in field press "&Hinzufügen".
    void submitOnEnter(QLineEdit& field);

    bool isEditing() const { return m_editing; }
    qint64 loadedId() const { return m_loadedId; }
    // The name as it stood in the name field right after loading; the cascade looks for it.
    QString loadedName() const { return m_loadedName; }

    // "Bearbeiten": loads record id into the fields and enters edit mode.
    void load(qint64 id);
    // "&Hinzufügen".
    void save();
    // "Löschen" of record id: when it is still there and confirm() answers true, deletes it and refills
    // the list. Deleting the loaded record leaves edit mode and clears the fields.
    void remove(qint64 id, const std::function<bool()>& confirm);
    // Escape, "Bearbeitung abbrechen".
    void cancel();

    // The German messages for a list or record that cannot be read and for a change not stored.
    void reportReadFailure();
    void reportWriteFailure();

private:
    void setEditing(bool editing);

    QWidget& m_screen;
    QLineEdit& m_nameField;
    QPushButton& m_add;
    EditableRecords& m_records;
    Dialogs& m_dialogs;
    QLabel* m_notice = nullptr;
    QPushButton* m_cancel = nullptr;
    QShortcut* m_escape = nullptr;
    bool m_editing = false;
    qint64 m_loadedId = 0;
    QString m_loadedName;
    QString m_loadedStamp;
};
