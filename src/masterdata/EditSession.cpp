#include "EditSession.h"

#include "Database.h"
#include "Dialogs.h"

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

std::optional<QString> EditableRecords::stamp(qint64 id) {
    return database()->rowStamp(table(), QStringLiteral("ID"), id);
}

EditSession::EditSession(QWidget& screen, QWidget& entryArea, QLineEdit& nameField, QPushButton& addButton,
                         EditableRecords& records, Dialogs& dialogs)
    : QObject(&screen), m_screen(screen), m_nameField(nameField), m_add(addButton), m_records(records),
      m_dialogs(dialogs) {
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

void EditSession::load(qint64 id) {
    if (!m_records.database())
        return;
    // Read before the record, so that a change in between is caught when it is saved.
    const std::optional<QString> stamp = m_records.stamp(id);
    const std::optional<bool> found = stamp ? m_records.loadIntoFields(id) : std::nullopt;
    if (!found) {
        reportReadFailure();
        return;
    }
    if (!*found) {
        setEditing(false);
        return;
    }
    m_loadedId = id;
    m_loadedName = m_nameField.text();
    m_loadedStamp = *stamp;
    setEditing(true);
}

void EditSession::save() {
    const QString name = m_nameField.text();
    if (!m_records.database() || name.isEmpty() || !m_records.entryComplete())
        return;
    if (m_editing) {
        const std::optional<bool> stillThere = m_records.exists(m_loadedId);
        if (!stillThere) {
            reportReadFailure();
            return;
        }
        if (!*stillThere) {
            setEditing(false);
            m_dialogs.inform(&m_screen, kWriteFailedTitle, kVanished, Dialogs::Icon::Warning);
            return;
        }
        if (!m_records.sameName(m_loadedName, name)) {
            const std::optional<bool> namesake = m_records.hasNamesake(m_loadedId, name);
            if (!namesake) {
                reportReadFailure();
                return;
            }
            if (*namesake &&
                m_dialogs.ask(&m_screen, m_records.renameTitle(), m_records.renameQuestion(name),
                              Dialogs::Icon::Warning, Dialogs::Answer::No) != Dialogs::Answer::Yes)
                return;
        }
        if (!m_records.store(m_loadedId, m_loadedName, m_loadedStamp)) {
            const Database::Failure failure = m_records.database()->lastFailure();
            if (failure == Database::Failure::Changed) {
                if (m_dialogs.ask(&m_screen, kWriteFailedTitle, kChanged, Dialogs::Icon::Warning,
                                  Dialogs::Answer::Yes) == Dialogs::Answer::Yes)
                    load(m_loadedId);
                m_records.refill();
            } else if (failure == Database::Failure::RowGone) {
                setEditing(false);
                m_dialogs.inform(&m_screen, kWriteFailedTitle, kVanished, Dialogs::Icon::Warning);
                m_records.refill();
            } else {
                reportWriteFailure();
            }
            return;
        }
        setEditing(false);
    } else if (!m_records.add()) {
        reportWriteFailure();
        return;
    }
    m_records.clearFields();
    m_records.refill();
}

void EditSession::remove(qint64 id, const std::function<bool()>& confirm) {
    if (!m_records.database())
        return;
    const std::optional<bool> stillThere = m_records.exists(id);
    if (!stillThere) {
        reportReadFailure();
        return;
    }
    if (!*stillThere || !confirm())
        return;
    if (!m_records.remove(id))
        reportWriteFailure();
    else if (m_editing && id == m_loadedId)
        cancel();
    m_records.refill();
}

void EditSession::cancel() {
    if (!m_editing)
        return;
    setEditing(false);
    m_records.clearFields();
}

void EditSession::reportReadFailure() {
    m_dialogs.inform(&m_screen, kReadFailedTitle, m_records.database()->lastError(), Dialogs::Icon::Warning);
}

void EditSession::reportWriteFailure() {
    m_dialogs.inform(&m_screen, kWriteFailedTitle, m_records.database()->lastError(), Dialogs::Icon::Warning);
}
