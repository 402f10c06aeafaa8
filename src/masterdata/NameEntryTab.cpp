#include "NameEntryTab.h"

#include "Database.h"
#include "Dialogs.h"
#include "MasterListView.h"
#include "NameCascade.h"
#include "NameEntryListModel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString writeFailedTitle = QStringLiteral("Speichern nicht möglich");
const QString readFailedTitle = QStringLiteral("Lesefehler");
} // namespace

NameEntryTab::NameEntryTab(NameEntryRepository::Table table, const Names& names, Dialogs& dialogs,
                           QWidget* parent)
    : QWidget(parent), m_table(table), m_deleteTitle(names.deleteTitle), m_dialogs(dialogs) {
    m_list = new MasterListView(names.list, this);
    m_model = new NameEntryListModel(names.heading, this);
    m_list->setModel(m_model);
    m_list->setColumnWidthsInTwips({1000, 5000});

    auto* label = new QLabel(names.fieldLabel, this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(names.field);
    label->setBuddy(m_name);

    auto makeButton = [this](const QString& name, const QString& caption) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        return button;
    };
    m_add = makeButton(names.add, QStringLiteral("Hinzufügen"));
    m_edit = makeButton(names.edit, QStringLiteral("Bearbeiten"));
    m_remove = makeButton(names.remove, QStringLiteral("Löschen"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_list, 0, 0, 1, 4);
    layout->addWidget(label, 1, 0, 1, 4);
    layout->addWidget(m_name, 2, 0);
    layout->addWidget(m_add, 2, 1);
    layout->addWidget(m_edit, 2, 2);
    layout->addWidget(m_remove, 2, 3);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(0, 1);

    setTabOrder(m_list, m_name);
    setTabOrder(m_name, m_add);
    setTabOrder(m_add, m_edit);
    setTabOrder(m_edit, m_remove);

    connect(m_add, &QPushButton::clicked, this, &NameEntryTab::save);
    connect(m_edit, &QPushButton::clicked, this, &NameEntryTab::loadForEditing);
    connect(m_remove, &QPushButton::clicked, this, &NameEntryTab::removeSelected);
    setDatabase(nullptr);
}

void NameEntryTab::setDatabase(Database* database) {
    m_db = database;
    for (QPushButton* button : {m_add, m_edit, m_remove})
        button->setEnabled(m_db != nullptr);
    refill();
}

void NameEntryTab::refill() {
    if (!m_db) {
        m_model->setEntries({});
        return;
    }
    bool ok = true;
    m_model->setEntries(NameEntryRepository(*m_db, m_table).byName(&ok));
    if (!ok)
        m_dialogs.inform(this, readFailedTitle, m_db->lastError(), Dialogs::Icon::Warning);
}

void NameEntryTab::save() {
    const QString name = m_name->text();
    if (!m_db || name.isEmpty())
        return;
    if (m_editMode) {
        bool ok = true;
        if (!NameEntryRepository(*m_db, m_table).find(m_editId, &ok)) {
            if (!ok)
                m_dialogs.inform(this, readFailedTitle, m_db->lastError(), Dialogs::Icon::Warning);
            return;
        }
        if (!store({m_editId, name}))
            return;
        m_editMode = false;
    } else if (!NameEntryRepository(*m_db, m_table).add(name)) {
        m_dialogs.inform(this, writeFailedTitle, m_db->lastError(), Dialogs::Icon::Warning);
        return;
    }
    m_name->clear();
    refill();
}

bool NameEntryTab::store(const NameEntry& changed) {
    NameCascade cascade(*m_db);
    const bool stored = m_table == NameEntryRepository::Table::Trades
                            ? cascade.changeTrade(changed, m_loadedName)
                            : cascade.changeCostGroup(changed, m_loadedName);
    if (!stored)
        m_dialogs.inform(this, writeFailedTitle, m_db->lastError(), Dialogs::Icon::Warning);
    return stored;
}

void NameEntryTab::loadForEditing() {
    const int row = m_list->selectedRow();
    if (!m_db || row < 0)
        return;
    bool ok = true;
    const std::optional<NameEntry> entry = NameEntryRepository(*m_db, m_table).find(m_model->idAt(row), &ok);
    if (!ok) {
        m_dialogs.inform(this, readFailedTitle, m_db->lastError(), Dialogs::Icon::Warning);
        return;
    }
    if (!entry) {
        m_editMode = false;
        return;
    }
    m_editMode = true;
    m_editId = entry->id;
    m_name->setText(entry->name);
    m_loadedName = m_name->text();
}

void NameEntryTab::removeSelected() {
    const int row = m_list->selectedRow();
    if (!m_db || row < 0)
        return;
    NameEntryRepository entries(*m_db, m_table);
    bool ok = true;
    const qint64 id = m_model->idAt(row);
    if (!entries.find(id, &ok)) {
        if (!ok)
            m_dialogs.inform(this, readFailedTitle, m_db->lastError(), Dialogs::Icon::Warning);
        return;
    }
    const QString question =
        QStringLiteral("LfdNr: ") + QString::number(id) + QStringLiteral(" löschen?          ");
    if (m_dialogs.ask(this, m_deleteTitle, question, Dialogs::Icon::Question, Dialogs::Answer::Yes) !=
        Dialogs::Answer::Yes)
        return;
    if (!entries.remove(id))
        m_dialogs.inform(this, writeFailedTitle, m_db->lastError(), Dialogs::Icon::Warning);
    refill();
}
