#pragma once

#include "EditSession.h"
#include "NameEntryRepository.h"

#include <QString>
#include <QWidget>

class Database;
class Dialogs;
class ReportListView;
class NameEntryListModel;
class QLineEdit;
class QPushButton;

// One list tab of the presets: the trades or the cost groups, with their own edit mode and loaded name.
class NameEntryTab : public QWidget, private EditableRecords {
    Q_OBJECT
public:
    // The object names of the tab's controls and its captions.
    struct Names {
        QString list;
        QString field;
        QString add;
        QString edit;
        QString remove;
        QString heading;        // heading of the name column
        QString fieldLabel;     // label of the name field
        QString deleteTitle;    // title of the delete question
        QString renameTitle;    // title of the question before a rename onto an existing name
        QString renameQuestion; // its text; %1 is the new name
    };

    NameEntryTab(NameEntryRepository::Table table, const Names& names, Dialogs& dialogs,
                 QWidget* parent = nullptr);

    // The open database, or null when it could not be opened (the tab stays empty and inactive).
    void setDatabase(Database* database);
    void EINLESEN();

private:
    void loadForEditing();
    void removeSelected();

    Database* database() const override;
    std::optional<bool> loadIntoFields(qint64 id) override;
    std::optional<bool> exists(qint64 id) override;
    std::optional<bool> hasNamesake(qint64 id, const QString& newName) override;
    bool sameName(const QString& oldName, const QString& newName) const override;
    QString renameTitle() const override;
    QString renameQuestion(const QString& newName) const override;
    bool add() override;
    QString table() const override;
    bool store(qint64 id, const QString& oldName, const QString& loadedStamp) override;
    bool remove(qint64 id) override;
    void clearFields() override;
    void refill() override;

    NameEntryRepository::Table m_table;
    Names m_names;
    Dialogs& m_dialogs;
    Database* m_db = nullptr;
    NameEntryListModel* m_model = nullptr;
    ReportListView* m_list = nullptr;
    QLineEdit* m_name = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_remove = nullptr;
    EditSession* m_editing = nullptr;
};
