#pragma once

#include "EditSession.h"
#include "NameList.h"

#include <QString>
#include <QWidget>

class ChangeWatch;
class Dialogs;
class ReportListView;
class NameEntryListModel;
class QLineEdit;
class QPushButton;
class Session;

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

    // watch: the presets window's.
    NameEntryTab(Session& session, NameList list, const Names& names, ChangeWatch& watch, Dialogs& dialogs,
                 QWidget* parent = nullptr);

    void EINLESEN();

private:
    void removeSelected();

    qint64 idAt(int row) const override;
    Reading<std::optional<AsLoaded>> loadIntoFields(qint64 id) override;
    Reading<bool> exists(qint64 id) override;
    Reading<bool> hasNamesake(qint64 id, const QString& newName) override;
    bool sameName(const QString& oldName, const QString& newName) const override;
    QString renameTitle() const override;
    QString renameQuestion(const QString& newName) const override;
    Outcome add() override;
    Outcome store(qint64 id, const QString& oldName, const AsLoaded& loaded) override;
    Outcome remove(qint64 id) override;
    void clearFields() override;
    void refill() override;

    Session& m_session;
    NameList m_list;
    Names m_names;
    Dialogs& m_dialogs;
    NameEntryListModel* m_model = nullptr;
    ReportListView* m_view = nullptr;
    QLineEdit* m_name = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_remove = nullptr;
    EditSession* m_editing = nullptr;
};
