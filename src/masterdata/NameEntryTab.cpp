#include "NameEntryTab.h"

#include "Dialogs.h"
#include "NameEntryListModel.h"
#include "Registers.h"
#include "RemoveNameEntry.h"
#include "ReportListView.h"
#include "RightMirror.h"
#include "SaveNameEntry.h"
#include "Session.h"

#include <algorithm>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

NameEntryTab::NameEntryTab(Session& session, NameList list, const Names& names, ChangeWatch& watch,
                           Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_session(session), m_list(list), m_names(names), m_dialogs(dialogs) {
    m_view = new ReportListView(names.list, this);
    m_model = new NameEntryListModel(names.heading, this);
    m_view->setModel(m_model);
    m_view->setColumnWidthsInTwips({1000, 5000});

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

    RightMirror::apply({m_add, m_edit, m_remove}, session.may(Right::Administer),
                       rightWord(Right::Administer));
    m_editing = new EditSession(*this, *this, *m_name, *m_add, *m_view, *this, watch, m_dialogs);
    auto* notice = new QHBoxLayout;
    notice->addWidget(label, 1);
    notice->addWidget(m_editing->notice());
    notice->addWidget(m_editing->cancelButton());

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_view, 0, 0, 1, 4);
    layout->addLayout(notice, 1, 0, 1, 4);
    layout->addWidget(m_name, 2, 0);
    layout->addWidget(m_add, 2, 1);
    layout->addWidget(m_edit, 2, 2);
    layout->addWidget(m_remove, 2, 3);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(0, 1);

    setTabOrder(m_view, m_name);
    setTabOrder(m_name, m_add);
    setTabOrder(m_add, m_edit);
    setTabOrder(m_edit, m_remove);
    setTabOrder(m_remove, m_editing->cancelButton());

    connect(m_add, &QPushButton::clicked, m_editing, &EditSession::save);
    connect(m_edit, &QPushButton::clicked, m_editing, &EditSession::loadSelected);
    connect(m_remove, &QPushButton::clicked, this, &NameEntryTab::removeSelected);
    EINLESEN();
}

void NameEntryTab::EINLESEN() {
    const Reading<QList<NameEntry>> entries = Registers(m_session).names(m_list);
    m_model->setEntries(entries.value);
    if (!entries.ok)
        m_editing->reportReadFailure(entries.failure);
}

void NameEntryTab::removeSelected() {
    m_editing->removeSelected([this](qint64 id, int) {
        const QString question =
            QStringLiteral("LfdNr: ") + QString::number(id) + QStringLiteral(" löschen?          ");
        return m_dialogs.ask(this, m_names.deleteTitle, question, Dialogs::Icon::Question,
                             Dialogs::Answer::Yes) == Dialogs::Answer::Yes;
    });
}

qint64 NameEntryTab::idAt(int row) const {
    return m_model->idAt(row);
}

Reading<std::optional<AsLoaded>> NameEntryTab::loadIntoFields(qint64 id) {
    const Reading<std::optional<Loaded<NameEntry>>> loaded = Registers(m_session).nameForEditing(m_list, id);
    if (!loaded.ok || !loaded.value)
        return {std::nullopt, loaded.ok, loaded.failure};
    m_name->setText(loaded.value->row.name);
    return {loaded.value->asLoaded};
}

Reading<bool> NameEntryTab::exists(qint64 id) {
    const Reading<std::optional<NameEntry>> entry = Registers(m_session).name(m_list, id);
    return {entry.value.has_value(), entry.ok, entry.failure};
}

Reading<bool> NameEntryTab::hasNamesake(qint64 id, const QString& newName) {
    const Reading<QList<NameEntry>> entries = Registers(m_session).namesInOrderOfEntry(m_list);
    return {std::any_of(entries.value.cbegin(), entries.value.cend(),
                        [&](const NameEntry& entry) { return entry.id != id && entry.name == newName; }),
            entries.ok, entries.failure};
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

Outcome NameEntryTab::add() {
    return SaveNameEntry(m_session, m_list).add(m_name->text());
}

Outcome NameEntryTab::store(qint64 id, const QString& oldName, const AsLoaded& loaded) {
    return SaveNameEntry(m_session, m_list).change({id, m_name->text()}, oldName, loaded);
}

Outcome NameEntryTab::remove(qint64 id) {
    return RemoveNameEntry(m_session, m_list).run(id);
}

void NameEntryTab::clearFields() {
    m_name->clear();
}

void NameEntryTab::refill() {
    EINLESEN();
}
