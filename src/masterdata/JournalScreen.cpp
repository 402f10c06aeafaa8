#include "JournalScreen.h"

#include "ChangeWatch.h"
#include "Dialogs.h"
#include "ExportScreen.h"
#include "FollowedScreen.h"
#include "JournalListModel.h"
#include "JournalReading.h"
#include "Registers.h"
#include "ReportListView.h"
#include "RestoreOperation.h"
#include "Session.h"
#include "Twips.h"
#include "WindowPlacement.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("Änderungsprotokoll");
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

QString chosen(const QComboBox& box) {
    return box.currentIndex() > 0 ? box.currentText() : QString();
}

void fillChoices(QComboBox& box, const QString& all, const QStringList& values) {
    const QString kept = chosen(box);
    const QSignalBlocker blocker(&box);
    box.clear();
    box.addItem(all);
    box.addItems(values);
    box.setCurrentIndex(qMax(0, box.findText(kept)));
}
} // namespace

JournalScreen::JournalScreen(Session& session, Dialogs& dialogs, const QString& projectId, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session), m_dialogs(dialogs), m_watch(session.watch(this)) {
    setObjectName(QStringLiteral("frmProtokoll"));
    setWindowTitle(kTitle);
    buildUi();
    WindowPlacement::fitIntoScreen(*this, Twips::toPixels(19600, 9000, *this));
    fillProjects();
    {
        const QSignalBlocker blocker(m_project);
        m_project->setCurrentIndex(qMax(0, m_project->findData(projectId.trimmed())));
    }
    fillPickers();
    refill();
    FollowedScreen::follow(*m_watch, *this, [this] {
        fillPickers();
        refill();
    });
}

JournalScreen::~JournalScreen() = default;

void JournalScreen::buildUi() {
    auto* grid = new QGridLayout;
    const auto labelled = [this, grid](QWidget* field, const QString& name, const QString& caption,
                                       int column) {
        field->setObjectName(name);
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        grid->addWidget(label, 0, column);
        grid->addWidget(field, 1, column);
    };
    m_project = new QComboBox(this);
    labelled(m_project, QStringLiteral("cboProjekt"), QStringLiteral("&Projekt"), 0);
    m_table = new QComboBox(this);
    labelled(m_table, QStringLiteral("cboTabelle"), QStringLiteral("&Tabelle"), 1);
    m_user = new QComboBox(this);
    labelled(m_user, QStringLiteral("cboBenutzer"), QStringLiteral("&Benutzer"), 2);
    m_from = new QLineEdit(this);
    labelled(m_from, QStringLiteral("txtVon"), QStringLiteral("&Von"), 3);
    m_to = new QLineEdit(this);
    labelled(m_to, QStringLiteral("txtBis"), QStringLiteral("B&is"), 4);
    for (QLineEdit* day : {m_from, m_to}) {
        day->setPlaceholderText(QStringLiteral("TT.MM.JJJJ"));
        day->setToolTip(QStringLiteral("Tag im Format TT.MM.JJJJ; leer: ohne Grenze"));
    }
    m_text = new QLineEdit(this);
    m_text->setToolTip(
        QStringLiteral("Sucht in alten und neuen Werten, Zeile und Vorgang (* und ? als Platzhalter)"));
    labelled(m_text, QStringLiteral("txtSuche"), QStringLiteral("&Suchtext"), 5);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(5, 2);

    const auto button = [this](const QString& name, const QString& caption) {
        auto* made = new QPushButton(caption, this);
        made->setObjectName(name);
        return made;
    };
    m_show = button(QStringLiteral("cmdAnzeigen"), QStringLiteral("&Anzeigen"));
    grid->addWidget(m_show, 1, 6);
    m_check = button(QStringLiteral("cmdPruefen"), QStringLiteral("Protokoll p&rüfen"));
    m_restore = button(QStringLiteral("cmdWiederherstellen"), QStringLiteral("&Wiederherstellen"));
    m_restore->setToolTip(
        QStringLiteral("Stellt den gelöschten Datensatz des gewählten Eintrags wieder her"));
    m_print = button(QStringLiteral("cmdDrucken"), QStringLiteral("&Drucken"));
    m_export = button(QStringLiteral("cmdExport"), QStringLiteral("&Exportieren"));
    m_close = button(QStringLiteral("cmdBeenden"), QStringLiteral("S&chließen"));

    m_list = new ReportListView(QStringLiteral("lvwProtokoll"), this);
    m_model = new JournalListModel(this);
    m_list->setModel(m_model);
    m_list->setAccessibleName(kTitle);
    m_list->setColumnWidthsInTwips(
        {800, 2000, 1300, 1300, 1300, 700, 700, 1300, 1300, 700, 1500, 2500, 2500});
    m_list->header()->setSectionsClickable(true);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblAnzahl"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_count);
    buttons->addStretch();
    for (QPushButton* each : {m_check, m_restore, m_print, m_export, m_close})
        buttons->addWidget(each);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(m_project, &QComboBox::currentIndexChanged, this, [this] {
        fillPickers();
        refill();
    });
    for (QComboBox* box : {m_table, m_user})
        connect(box, &QComboBox::currentIndexChanged, this, &JournalScreen::refill);
    for (QLineEdit* field : {m_from, m_to, m_text})
        connect(field, &QLineEdit::returnPressed, this, &JournalScreen::refill);
    connect(m_show, &QPushButton::clicked, this, &JournalScreen::refill);
    connect(m_check, &QPushButton::clicked, this, &JournalScreen::checkChain);
    connect(m_restore, &QPushButton::clicked, this, &JournalScreen::restoreSelected);
    connect(m_print, &QPushButton::clicked, this, &JournalScreen::printRequested);
    connect(m_export, &QPushButton::clicked, this, &JournalScreen::openExport);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, &JournalScreen::sortByHeading);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &JournalScreen::updateRestore);
    connect(m_model, &QAbstractItemModel::modelReset, this, &JournalScreen::updateRestore);
}

void JournalScreen::fillProjects() {
    const auto projects = Registers(m_session).projects();
    const QSignalBlocker blocker(m_project);
    m_project->clear();
    m_project->addItem(QStringLiteral("Alle Projekte"), QString());
    for (const Project& project : projects.value.projects)
        m_project->addItem(QString::number(project.id) + QStringLiteral(" - ") + project.name,
                           QString::number(project.id));
    if (!projects.ok)
        m_dialogs.inform(this, kTitle, projects.failure, Dialogs::Icon::Critical);
}

void JournalScreen::setProject(const QString& projectId) {
    const int index = m_project->findData(projectId.trimmed());
    m_project->setCurrentIndex(qMax(0, index));
}

void JournalScreen::fillPickers() {
    JournalReading reading(m_session);
    const QString projectId = m_project->currentData().toString();
    const auto tables = reading.tables(projectId);
    const auto users = reading.users(projectId);
    fillChoices(*m_table, QStringLiteral("Alle Tabellen"), tables.value);
    fillChoices(*m_user, QStringLiteral("Alle Benutzer"), users.value);
}

bool JournalScreen::refill() {
    JournalReading::Filter filter;
    filter.projectId = m_project->currentData().toString();
    filter.table = chosen(*m_table);
    filter.user = chosen(*m_user);
    filter.text = m_text->text().trimmed();
    for (QLineEdit* field : {m_from, m_to}) {
        const QString text = field->text().trimmed();
        if (text.isEmpty())
            continue;
        const QDate day = QDate::fromString(text, kDateFormat);
        if (!day.isValid()) {
            m_dialogs.inform(this, kTitle,
                             QStringLiteral("Bitte geben Sie den Tag als TT.MM.JJJJ ein, z. B. 01.03.2025."),
                             Dialogs::Icon::Warning);
            field->setFocus();
            return false;
        }
        (field == m_from ? filter.from : filter.to) =
            JournalReading::utcStartOf(field == m_from ? day : day.addDays(1));
    }
    m_model->clear();
    const auto read =
        JournalReading(m_session).entries(filter, [this](const JournalEntry& entry) { m_model->add(entry); });
    m_list->setOutdated(!read.ok);
    if (!read.ok) {
        m_model->clear();
        m_dialogs.inform(this, kTitle, read.failure, Dialogs::Icon::Critical);
        return false;
    }
    m_model->show();
    m_count->setText(QStringLiteral("%1 Zeilen").arg(m_model->rowCount()));
    return true;
}

void JournalScreen::sortByHeading(int column) {
    m_order =
        column == m_sortColumn && m_order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_sortColumn = column;
    m_model->keepSorted(column, m_order);
    m_list->setSortArrow(column, m_order);
}

void JournalScreen::updateRestore() {
    const JournalEntry* entry = m_model->entryAt(m_list->selectedRow());
    m_restore->setEnabled(entry && entry->action == u"Gelöscht" &&
                          RestoreOperation(m_session).restorable(entry->id));
}

void JournalScreen::checkChain() {
    const JournalCheck::Result result = JournalReading(m_session).check();
    m_dialogs.inform(this, QStringLiteral("Protokoll prüfen"), result.text,
                     result.whole ? Dialogs::Icon::Information : Dialogs::Icon::Warning);
}

void JournalScreen::restoreSelected() {
    const JournalEntry* entry = m_model->entryAt(m_list->selectedRow());
    if (!entry)
        return;
    const qint64 id = entry->id;
    QString notice;
    const Outcome outcome = RestoreOperation(m_session).restore(id, &notice);
    if (!outcome.ok()) {
        m_dialogs.inform(this, QStringLiteral("Wiederherstellen"), outcome.text(), Dialogs::Icon::Critical);
        return;
    }
    m_dialogs.inform(this, QStringLiteral("Wiederherstellen"),
                     notice.isEmpty() ? QStringLiteral("Der Eintrag Nr. %1 wurde wiederhergestellt.").arg(id)
                                      : notice,
                     Dialogs::Icon::Information);
    fillPickers();
    refill();
}

QString JournalScreen::filterText() const {
    QStringList parts;
    if (m_project->currentIndex() > 0)
        parts += QStringLiteral("Projekt ") + m_project->currentText();
    if (!chosen(*m_table).isEmpty())
        parts += QStringLiteral("Tabelle ") + chosen(*m_table);
    if (!chosen(*m_user).isEmpty())
        parts += QStringLiteral("Benutzer ") + chosen(*m_user);
    if (!m_from->text().trimmed().isEmpty())
        parts += QStringLiteral("von ") + m_from->text().trimmed();
    if (!m_to->text().trimmed().isEmpty())
        parts += QStringLiteral("bis ") + m_to->text().trimmed();
    if (!m_text->text().trimmed().isEmpty())
        parts += QStringLiteral("Suchtext '") + m_text->text().trimmed() + QLatin1Char('\'');
    return parts.isEmpty() ? QStringLiteral("Kein Filter") : parts.join(QStringLiteral(", "));
}

ListSnapshot JournalScreen::snapshot() const {
    ListSnapshot snapshot;
    snapshot.kind = ListSnapshot::Kind::Journal;
    snapshot.headings = JournalListModel::headings();
    snapshot.rightAligned = {int(JournalListModel::Column::Number), int(JournalListModel::Column::Row),
                             int(JournalListModel::Column::Project), int(JournalListModel::Column::Count)};
    snapshot.values = {{QStringLiteral("Filter"), filterText()}};
    snapshot.rows = m_model->shownRows(JournalListModel::kColumnCount);
    return snapshot;
}

void JournalScreen::openExport() {
    ExportScreen::showFor(
        m_exportScreen, this, [this]() -> std::optional<ListSnapshot> { return snapshot(); }, m_dialogs);
}
