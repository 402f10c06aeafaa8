#pragma once

#include "NameEntryRepository.h"

#include <QString>
#include <QWidget>

class Database;
class Dialogs;
class MasterListView;
class NameEntryListModel;
class QLineEdit;
class QPushButton;

// One list tab of the presets: the trades or the cost groups, with their own edit mode and loaded name.
class NameEntryTab : public QWidget {
    Q_OBJECT
public:
    // The object names of the tab's controls and its captions.
    struct Names {
        QString list;
        QString field;
        QString add;
        QString edit;
        QString remove;
        QString heading;     // heading of the name column
        QString fieldLabel;  // label of the name field
        QString deleteTitle; // title of the delete question
    };

    NameEntryTab(NameEntryRepository::Table table, const Names& names, Dialogs& dialogs,
                 QWidget* parent = nullptr);

    // The open database, or null when it could not be opened (the tab stays empty and inactive).
    void setDatabase(Database* database);
    void refill();

private:
    void save();
    void loadForEditing();
    void removeSelected();
    bool store(const NameEntry& changed);

    NameEntryRepository::Table m_table;
    QString m_deleteTitle;
    Dialogs& m_dialogs;
    Database* m_db = nullptr;
    NameEntryListModel* m_model = nullptr;
    MasterListView* m_list = nullptr;
    QLineEdit* m_name = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_remove = nullptr;

    bool m_editMode = false;
    qint64 m_editId = 0;
    QString m_loadedName;
};
