#include "AuditExportWindow.h"

#include "AuditExport.h"
#include "AuthorityDetails.h"
#include "Dialogs.h"
#include "Registers.h"

#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
const QString kTitle = QStringLiteral("Export für die Prüfung");

QLineEdit* dayField(const QString& name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setPlaceholderText(QStringLiteral("TT.MM.JJJJ"));
    return field;
}
} // namespace

AuditExportWindow::AuditExportWindow(Session& session, Dialogs& dialogs, const Settings& settings,
                                     QWidget* parent)
    : QDialog(parent), m_session(session), m_dialogs(dialogs), m_settings(settings) {
    setObjectName(QStringLiteral("frmPruefexport"));
    setWindowTitle(kTitle);
    auto* form = new QFormLayout(this);
    m_whole = new QRadioButton(QStringLiteral("&Ganze Datenbank"), this);
    m_whole->setObjectName(QStringLiteral("optGanz"));
    m_whole->setChecked(true);
    m_oneProject = new QRadioButton(QStringLiteral("Ein &Projekt:"), this);
    m_oneProject->setObjectName(QStringLiteral("optProjekt"));
    m_project = new QComboBox(this);
    m_project->setObjectName(QStringLiteral("cboProjekt"));
    m_project->setAccessibleName(QStringLiteral("Projekt"));
    const Reading<Registers::ProjectList> projects = Registers(session).projects();
    for (const Project& project : projects.value.projects)
        m_project->addItem(QStringLiteral("%1  %2").arg(project.id).arg(project.name), project.id);
    m_project->setEnabled(false);
    connect(m_oneProject, &QRadioButton::toggled, m_project, &QComboBox::setEnabled);
    form->addRow(m_whole);
    form->addRow(m_oneProject, m_project);

    m_from = dayField(QStringLiteral("txtVon"), this);
    m_to = dayField(QStringLiteral("txtBis"), this);
    form->addRow(QStringLiteral("&Von:"), m_from);
    form->addRow(QStringLiteral("&Bis:"), m_to);

    auto* folderRow = new QHBoxLayout;
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("txtOrdner"));
    auto* choose = new QPushButton(QStringLiteral("…"), this);
    choose->setObjectName(QStringLiteral("cmdOrdner"));
    choose->setToolTip(QStringLiteral("Ordner wählen"));
    choose->setAccessibleName(choose->toolTip());
    connect(choose, &QPushButton::clicked, this, &AuditExportWindow::chooseFolder);
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(choose);
    auto* folderLabel = new QLabel(QStringLiteral("&Ordner:"), this);
    folderLabel->setBuddy(m_folder);
    form->addRow(folderLabel, folderRow);

    auto* buttons = new QHBoxLayout;
    auto* run = new QPushButton(QStringLiteral("&Exportieren"), this);
    run->setObjectName(QStringLiteral("cmdExport"));
    run->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("&Schließen"), this);
    close->setObjectName(QStringLiteral("cmdSchliessen"));
    connect(run, &QPushButton::clicked, this, &AuditExportWindow::exportNow);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch(1);
    buttons->addWidget(run);
    buttons->addWidget(close);
    form->addRow(buttons);
    if (!projects.ok)
        m_dialogs.inform(this, kTitle, projects.failure, Dialogs::Icon::Warning);
}

AuditIndex::Supplier AuditExportWindow::supplier(const Settings& settings) {
    const auto joined = [](const QStringList& parts) {
        QStringList given;
        for (const QString& part : parts) {
            if (!part.trimmed().isEmpty())
                given += part.trimmed();
        }
        return given.join(QStringLiteral(", "));
    };
    const QString town = joined({settings.value(AuthorityDetails::postcode) + QLatin1Char(' ') +
                                 settings.value(AuthorityDetails::town)});
    return {
        joined({settings.value(AuthorityDetails::name), settings.value(AuthorityDetails::department)}),
        joined({town, settings.value(AuthorityDetails::district), settings.value(AuthorityDetails::region)}),
        QStringLiteral("Datenüberlassung nach GoBD (Datenzugriff Z3), erstellt mit Zelvora am %1")
            .arg(QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")))};
}

void AuditExportWindow::chooseProject(qint64 projectId) {
    const int index = m_project->findData(projectId);
    if (index < 0)
        return;
    m_project->setCurrentIndex(index);
    m_oneProject->setChecked(true);
}

void AuditExportWindow::chooseFolder() {
    const QString folder =
        m_dialogs.chooseFolder(this, QStringLiteral("Ordner für den Export"), m_folder->text());
    if (!folder.isEmpty())
        m_folder->setText(QDir::toNativeSeparators(folder));
}

bool AuditExportWindow::readDay(QLineEdit* field, const QString& label, QDate& day) {
    const QString text = field->text().trimmed();
    day = text.isEmpty() ? QDate() : QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
    if (text.isEmpty() || day.isValid())
        return true;
    m_dialogs.inform(
        this, kTitle,
        QStringLiteral("'%1' ist kein Datum. Bitte geben Sie das Datum %2 als TT.MM.JJJJ ein oder "
                       "lassen Sie das Feld leer.")
            .arg(text, label),
        Dialogs::Icon::Warning);
    field->setFocus();
    return false;
}

bool AuditExportWindow::exportNow() {
    AuditExport::Request request;
    if (!readDay(m_from, QStringLiteral("'Von'"), request.from) ||
        !readDay(m_to, QStringLiteral("'Bis'"), request.to))
        return false;
    if (request.from.isValid() && request.to.isValid() && request.to < request.from) {
        m_dialogs.inform(this, kTitle, QStringLiteral("Das Datum 'Bis' liegt vor dem Datum 'Von'."),
                         Dialogs::Icon::Warning);
        return false;
    }
    if (m_oneProject->isChecked()) {
        if (m_project->currentIndex() < 0) {
            m_dialogs.inform(this, kTitle, QStringLiteral("Bitte wählen Sie ein Projekt."),
                             Dialogs::Icon::Warning);
            return false;
        }
        request.projectId = QString::number(m_project->currentData().toLongLong());
        request.projectName = m_project->currentText().section(QStringLiteral("  "), 1);
    }
    request.folder = QDir::fromNativeSeparators(m_folder->text().trimmed());
    if (const QString problem = AuditExport::folderProblem(request.folder); !problem.isEmpty()) {
        m_dialogs.inform(this, kTitle, problem, Dialogs::Icon::Warning);
        return false;
    }
    if (const QStringList existing = AuditExport::existingFiles(request.folder); !existing.isEmpty()) {
        const auto answer = m_dialogs.ask(
            this, kTitle,
            QStringLiteral("Der Ordner '%1' enthält schon Dateien dieses Exports:\n%2\n\nSollen sie "
                           "ersetzt werden?")
                .arg(QDir::toNativeSeparators(request.folder), existing.join(QStringLiteral(", "))),
            Dialogs::Icon::Warning, Dialogs::Answer::No);
        if (answer != Dialogs::Answer::Yes)
            return false;
    }
    request.supplier = supplier(m_settings);
    AuditExport exporter(m_session);
    QString message;
    if (!exporter.run(request, &message)) {
        m_dialogs.inform(this, kTitle,
                         message +
                             QStringLiteral("\n\nEs wurden keine Dateien des Exports in den Ordner gelegt."),
                         Dialogs::Icon::Critical);
        return false;
    }
    QStringList counts;
    for (const auto& [table, rows] : exporter.counts())
        counts += QStringLiteral("%1: %2 Zeilen").arg(table).arg(rows);
    m_dialogs.inform(this, kTitle,
                     QStringLiteral("Der Export für die Prüfung wurde in den Ordner '%1' geschrieben.\n\n%2")
                         .arg(QDir::toNativeSeparators(request.folder), counts.join(QLatin1Char('\n'))),
                     Dialogs::Icon::Information);
    return true;
}
