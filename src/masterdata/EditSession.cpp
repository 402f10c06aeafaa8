#include "EditSession.h"

#include "ChangeWatch.h"
#include "Dialogs.h"
#include "Outcome.h"
#include "ReportListView.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

namespace {
const QString kReadFailedTitle = QStringLiteral("Lesefehler");
const QString kWriteFailedTitle = QStringLiteral("Speichern nicht möglich");
const QString kVanished =
    QStringLiteral("Der bearbeitete Eintrag ist nicht mehr vorhanden; er wurde inzwischen "
                   "gelöscht. Es wurde nichts gespeichert.\nIhre Eingaben bleiben "
                   "erhalten: „Hinzufügen“ legt sie als neuen Eintrag an.");

const QString kChanged = QStringLiteral(
    "Der bearbeitete Eintrag wurde inzwischen an einem anderen Arbeitsplatz geändert. Ihre "
    "Änderung wurde nicht gespeichert, damit diese Änderung nicht verloren geht.\n\nSoll der "
    "aktuelle Stand geladen werden? Ihre Eingaben werden dabei ersetzt.\n\nNein: Ihre Eingaben "
    "bleiben erhalten.");

void keepPlaceWhenHidden(QWidget& widget) {
    QSizePolicy policy = widget.sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget.setSizePolicy(policy);
}
} // namespace

EditableRecords::~EditableRecords() = default;

EditSession::EditSession(QWidget& screen, QWidget& entryArea, QLineEdit& nameField, QPushButton& addButton,
                         ReportListView& list, EditableRecords& records, ChangeWatch& watch, Dialogs& dialogs)
    : QObject(&screen), m_screen(screen), m_nameField(nameField), m_add(addButton), m_list(list),
      m_records(records), m_watch(watch), m_dialogs(dialogs) {
    m_notice = new QLabel(QStringLiteral("Bearbeitungsmodus"), &entryArea);
    m_notice->setObjectName(QStringLiteral("lblBearbeitungsmodus"));
    m_notice->setToolTip(QStringLiteral("Ein vorhandener Eintrag ist geladen: „Hinzufügen“ speichert die "
                                        "Änderung an ihm. Esc bricht die Bearbeitung ab."));
    QFont bold = m_notice->font();
    bold.setBold(true);
    m_notice->setFont(bold);
    QPalette palette = m_notice->palette();
    palette.setColor(QPalette::Window, QColor(0xff, 0xf0, 0xb3));
    palette.setColor(QPalette::WindowText, QColor(0x5c, 0x3d, 0x00));
    m_notice->setPalette(palette);
    m_notice->setAutoFillBackground(true);
    m_notice->setMargin(3);
    keepPlaceWhenHidden(*m_notice);

    m_cancel = new QPushButton(QStringLiteral("Bearbeitung abbrechen"), &entryArea);
    m_cancel->setObjectName(QStringLiteral("cmdBearbeitungAbbrechen"));
    m_cancel->setToolTip(QStringLiteral("Verwirft die Änderungen und leert die Felder (Esc)"));
    keepPlaceWhenHidden(*m_cancel);

    m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), &entryArea, nullptr, nullptr,
                             Qt::WidgetWithChildrenShortcut);
    connect(m_escape, &QShortcut::activated, this, &EditSession::cancel);
    connect(m_cancel, &QPushButton::clicked, this, &EditSession::cancel);
    submitOnEnter(nameField);
    setEditing(false);
}

void EditSession::submitOnEnter(QLineEdit& field) {
    connect(&field, &QLineEdit::returnPressed, &m_add, [this] {
        if (m_add.isEnabled())
            m_add.click();
    });
}

void EditSession::setEditing(bool editing) {
    m_editing = editing;
    m_notice->setVisible(editing);
    m_cancel->setVisible(editing);
    m_escape->setEnabled(editing);
}

void EditSession::loadSelected() {
    const int row = m_list.selectedRow();
    if (row >= 0)
        load(m_records.idAt(row));
}

void EditSession::load(qint64 id) {
    const Reading<std::optional<AsLoaded>> loaded = m_records.loadIntoFields(id);
    if (!loaded.ok) {
        reportReadFailure(loaded.failure);
        return;
    }
    if (!loaded.value) {
        setEditing(false);
        return;
    }
    m_loadedId = id;
    m_loadedName = m_nameField.text();
    m_asLoaded = *loaded.value;
    setEditing(true);
}

void EditSession::save() {
    const QString name = m_nameField.text();
    if (name.isEmpty() || !m_records.entryComplete())
        return;
    if (m_editing) {
        const Reading<bool> stillThere = m_records.exists(m_loadedId);
        if (!stillThere.ok) {
            reportReadFailure(stillThere.failure);
            return;
        }
        if (!stillThere.value) {
            setEditing(false);
            m_dialogs.inform(&m_screen, kWriteFailedTitle, kVanished, Dialogs::Icon::Warning);
            return;
        }
        if (!m_records.sameName(m_loadedName, name)) {
            const Reading<bool> namesake = m_records.hasNamesake(m_loadedId, name);
            if (!namesake.ok) {
                reportReadFailure(namesake.failure);
                return;
            }
            if (namesake.value &&
                m_dialogs.ask(&m_screen, m_records.renameTitle(), m_records.renameQuestion(name),
                              Dialogs::Icon::Warning, Dialogs::Answer::No) != Dialogs::Answer::Yes)
                return;
        }
        const Outcome stored = m_records.store(m_loadedId, m_loadedName, m_asLoaded);
        if (!stored.ok()) {
            if (stored.kind() == Outcome::Kind::Changed) {
                if (m_dialogs.ask(&m_screen, kWriteFailedTitle, kChanged, Dialogs::Icon::Warning,
                                  Dialogs::Answer::Yes) == Dialogs::Answer::Yes)
                    load(m_loadedId);
                refill();
            } else if (stored.kind() == Outcome::Kind::Gone) {
                setEditing(false);
                m_dialogs.inform(&m_screen, kWriteFailedTitle, kVanished, Dialogs::Icon::Warning);
                refill();
            } else {
                reportWriteFailure(stored.text());
            }
            return;
        }
        setEditing(false);
    } else if (const Outcome added = m_records.add(); !added.ok()) {
        reportWriteFailure(added.text());
        return;
    }
    m_records.clearFields();
    refill();
}

void EditSession::removeSelected(const std::function<bool(qint64, int)>& confirm) {
    const int row = m_list.selectedRow();
    if (row < 0)
        return;
    const qint64 id = m_records.idAt(row);
    const Reading<bool> stillThere = m_records.exists(id);
    if (!stillThere.ok) {
        reportReadFailure(stillThere.failure);
        return;
    }
    if (!stillThere.value || !confirm(id, row))
        return;
    if (const Outcome removed = m_records.remove(id); !removed.ok())
        reportWriteFailure(removed.text());
    else if (m_editing && id == m_loadedId)
        cancel();
    refill();
}

void EditSession::cancel() {
    if (!m_editing)
        return;
    setEditing(false);
    m_records.clearFields();
}

void EditSession::refill() {
    m_records.refill();
    m_watch.caughtUp();
}

void EditSession::reportReadFailure(const QString& failure) {
    m_dialogs.inform(&m_screen, kReadFailedTitle, failure, Dialogs::Icon::Warning);
}

void EditSession::reportWriteFailure(const QString& failure) {
    m_dialogs.inform(&m_screen, kWriteFailedTitle, failure, Dialogs::Icon::Warning);
}
