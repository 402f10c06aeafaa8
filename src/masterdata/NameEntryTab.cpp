#include "NameEntryTab.h"

#include "Database.h"
#include "Dialogs.h"
#include "NameCascade.h"
#include "NameEntryListModel.h"
#include "ReportListView.h"

#include <algorithm>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

NameEntryTab::NameEntryTab(NameEntryRepository::Table table, const Names& names, Dialogs& dialogs,
                           QWidget* parent)
    : QWidget(parent), m_table(table), m_names(names), m_dialogs(dialogs) {
    m_list = new ReportListView(names.list, this);
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

    m_editing = new EditSession(*this, *this, *m_name, *m_add, *this, m_dialogs);
    auto* notice = new QHBoxLayout;
    notice->addWidget(label, 1);
    notice->addWidget(m_editing->notice());
    notice->addWidget(m_editing->cancelButton());

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_list, 0, 0, 1, 4);
    layout->addLayout(notice, 1, 0, 1, 4);
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
    setTabOrder(m_remove, m_editing->cancelButton());

    connect(m_add, &QPushButton::clicked, m_editing, &EditSession::save);
    connect(m_edit, &QPushButton::clicked, this, &NameEntryTab::loadForEditing);
    connect(m_remove, &QPushButton::clicked, this, &NameEntryTab::removeSelected);
    setDatabase(nullptr);
}

void NameEntryTab::setDatabase(Database* database) {
    m_db = database;
    for (QPushButton* button : {m_add, m_edit, m_remove})
        button->setEnabled(m_db != nullptr);
    EINLESEN();
}

void NameEntryTab::EINLESEN() {
    if (!m_db) {
        m_model->setEntries({});
        return;
    }
    bool ok = true;
    m_model->setEntries(NameEntryRepository(*m_db, m_table).byName(&ok));
    if (!ok)
        m_editing->reportReadFailure();
}

void NameEntryTab::loadForEditing() {
    const int row = m_list->selectedRow();
    if (row >= 0)
        m_editing->load(m_model->idAt(row));
}

void NameEntryTab::removeSelected() {
    const int row = m_list->selectedRow();
    if (row < 0)
        return;
    const qint64 id = m_model->idAt(row);
    m_editing->remove(id, [this, id] {
        const QString question =
            QStringLiteral("LfdNr: ") + QString::number(id) + QStringLiteral(" löschen?          ");
        return m_dialogs.ask(this, m_names.deleteTitle, question, Dialogs::Icon::Question,
                             Dialogs::Answer::Yes) == Dialogs::Answer::Yes;
    });
}

Database* NameEntryTab::database() const {
    return m_db;
}

std::optional<bool> NameEntryTab::loadIntoFields(qint64 id) {
    bool ok = true;
    const std::optional<NameEntry> entry = NameEntryRepository(*m_db, m_table).find(id, &ok);
    if (!ok)
        return std::nullopt;
    if (entry)
        m_name->setText(entry->name);
    return entry.has_value();
}

std::optional<bool> NameEntryTab::exists(qint64 id) {
    bool ok = true;
    const bool found = NameEntryRepository(*m_db, m_table).find(id, &ok).has_value();
    return ok ? std::optional<bool>(found) : std::nullopt;
}

std::optional<bool> NameEntryTab::hasNamesake(qint64 id, const QString& newName) {
    bool ok = true;
    const QList<NameEntry> entries = NameEntryRepository(*m_db, m_table).byId(&ok);
    if (!ok)
        return std::nullopt;
    return std::any_of(entries.cbegin(), entries.cend(),
                       [&](const NameEntry& entry) { return entry.id != id && entry.name == newName; });
}

// Trade and cost group copies follow a rename only where they match the old name exactly.
bool NameEntryTab::sameName(const QString& oldName, const QString& newName) const {
    return oldName == newName;
}

QString NameEntryTab::renameTitle() const {
    return m_names.renameTitle;
}

QString NameEntryTab::renameQuestion(const QString& newName) const {
    return m_names.renameQuestion.arg(newName);
}

bool NameEntryTab::add() {
    return NameEntryRepository(*m_db, m_table).add(m_name->text()).has_value();
}

QString NameEntryTab::table() const {
    return m_table == NameEntryRepository::Table::Trades ? QStringLiteral("tblGewerk")
                                                         : QStringLiteral("tblKostengruppe");
}

bool NameEntryTab::store(qint64 id, const QString& oldName, const QString& loadedStamp) {
    NameCascade cascade(*m_db, loadedStamp);
    const NameEntry changed{id, m_name->text()};
    return m_table == NameEntryRepository::Table::Trades ? cascade.changeTrade(changed, oldName)
                                                         : cascade.changeCostGroup(changed, oldName);
}

bool NameEntryTab::remove(qint64 id) {
    return NameEntryRepository(*m_db, m_table).remove(id);
}

void NameEntryTab::clearFields() {
    m_name->clear();
}

void NameEntryTab::refill() {
    EINLESEN();
}
