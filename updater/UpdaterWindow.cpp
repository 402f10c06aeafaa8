#include "UpdaterWindow.h"

#include "FileInstaller.h"
#include "FileOperations.h"
#include "InstalledFiles.h"
#include "RunningProgram.h"
#include "UpdaterDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kProgramOpen = QStringLiteral(
    "Wenn die Talbrin Zelvora geöffnet ist, kann eine Aktualisierung nicht durchgeführt werden!");
const QString kCloseAndRepeat =
    QStringLiteral("Beenden Sie bitte die Talbrin Zelvora und führen Sie das Update noch einmal aus.");
const QString kNotDone = QStringLiteral("Die Akualisierung wurde nicht durchgeführt!");

QString quoted(const QString& path) {
    return QStringLiteral("„%1“").arg(QDir::toNativeSeparators(path));
}
} // namespace

QString UpdaterWindow::warningText() {
    return QStringLiteral("Bitte beachten!") + QLatin1Char('\n') +
           QStringLiteral("Folgende Talbrin Programme werden für die Aktualisierung automatisch geschlossen "
                          "falls diese geöffnet oder aktiv sind! ") +
           QStringLiteral("\n\n") + QStringLiteral("- Talbrin Zelvora");
}

UpdaterWindow::UpdaterWindow(const QString& sourceFolder, UpdaterDialogs& dialogs, RunningProgram& program,
                             FileOperations& files, QWidget* parent)
    : QWidget(parent), m_sourceFolder(sourceFolder), m_dialogs(dialogs), m_program(program), m_files(files) {
    setObjectName(QStringLiteral("frmUpdate"));
    setWindowTitle(caption());

    auto* label = new QLabel(QStringLiteral("Die Talbrin Zelvora wurde im folgenden Ordner gefunden."), this);
    label->setObjectName(QStringLiteral("Label1"));
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("Text1"));
    m_folder->setMinimumWidth(360);
    label->setBuddy(m_folder);
    auto* browseButton = new QToolButton(this);
    browseButton->setObjectName(QStringLiteral("Command3"));
    browseButton->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    browseButton->setToolTip(QStringLiteral("Ordner wählen"));
    browseButton->setAccessibleName(QStringLiteral("Ordner wählen"));
    m_warning = new QLabel(this);
    m_warning->setObjectName(QStringLiteral("Label3"));
    m_warning->setWordWrap(true);
    m_start = new QPushButton(QStringLiteral("&Aktualisierung starten"), this);
    m_start->setObjectName(QStringLiteral("Command1"));
    m_start->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("A&bbrechen"), this);
    m_cancel->setObjectName(QStringLiteral("Command2"));

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(browseButton);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_start);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(folderRow);
    layout->addSpacing(8);
    layout->addWidget(m_warning);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(browseButton, &QToolButton::clicked, this, &UpdaterWindow::browse);
    connect(m_start, &QPushButton::clicked, this, &UpdaterWindow::update);
    connect(m_cancel, &QPushButton::clicked, this, &UpdaterWindow::cancel);
}

void UpdaterWindow::start(const QString& recordedFolder) {
    m_warning->setText(warningText());
    adjustSize();
    if (recordedFolder.isEmpty())
        browse();
    else
        m_folder->setText(recordedFolder);
}

void UpdaterWindow::browse() {
    const QString chosen =
        m_dialogs.chooseFile(this, browseTitle(), m_folder->text(),
                             QStringLiteral("Talbrin Zelvora (%1)").arg(InstalledFiles::program()));
    if (chosen.isEmpty())
        return;
    m_folder->setText(QDir::toNativeSeparators(QFileInfo(chosen).absolutePath()));
}

void UpdaterWindow::inform(const QString& text, UpdaterDialogs::Icon icon) {
    m_dialogs.inform(this, caption(), text, icon);
}

bool UpdaterWindow::checkTargetFolder() {
    const QString folder = m_folder->text();
    if (folder.trimmed().isEmpty()) {
        inform(QStringLiteral("Bitte geben Sie den Ordner an, in dem die Talbrin Zelvora installiert ist."),
               UpdaterDialogs::Icon::Warning);
        return false;
    }
    if (!QFileInfo(QDir(folder).filePath(InstalledFiles::program())).isFile()) {
        inform(QStringLiteral("Im Ordner %1 wurde die Talbrin Zelvora nicht gefunden.").arg(quoted(folder)) +
                   QLatin1Char('\n') +
                   QStringLiteral("Bitte wählen Sie den Ordner, in dem das Programm „%1“ liegt.")
                       .arg(InstalledFiles::program()),
               UpdaterDialogs::Icon::Warning);
        return false;
    }
    if (QFileInfo(folder).canonicalFilePath() == QFileInfo(m_sourceFolder).canonicalFilePath()) {
        inform(QStringLiteral("Der Ordner %1 ist der Ordner der Aktualisierung selbst.").arg(quoted(folder)) +
                   QLatin1Char('\n') +
                   QStringLiteral("Bitte wählen Sie den Ordner, in dem die Talbrin Zelvora installiert ist."),
               UpdaterDialogs::Icon::Warning);
        return false;
    }
    return true;
}

bool UpdaterWindow::checkSources() {
    if (FileInstaller(m_files, m_sourceFolder, m_folder->text()).sourcesPresent())
        return true;
    inform(QStringLiteral("Im Ordner %1 liegen die neuen Dateien „%2“ und „%3“ nicht (mehr); "
                          "die Aktualisierung wurde vielleicht schon durchgeführt.")
                   .arg(quoted(m_sourceFolder), InstalledFiles::program(), InstalledFiles::help()) +
               QStringLiteral("\n\n") + kNotDone,
           UpdaterDialogs::Icon::Warning);
    return false;
}

bool UpdaterWindow::closeProgram() {
    switch (m_program.close()) {
    case RunningProgram::Result::Closed:
        return true;
    case RunningProgram::Result::StillOpen:
        reportFailure(QString());
        return false;
    case RunningProgram::Result::NoDisplay:
        return m_dialogs.askYesNo(
            this, caption(),
            QStringLiteral(
                "Ohne X11-Anzeige kann nicht geprüft werden, ob die Talbrin Zelvora geöffnet ist.") +
                QLatin1Char('\n') + QStringLiteral("Beenden Sie die Talbrin Zelvora, bevor Sie fortfahren.") +
                QStringLiteral("\n\n") + QStringLiteral("Möchten Sie die Dateien trotzdem kopieren?"));
    }
    return false;
}

void UpdaterWindow::reportFailure(const QString& cause) {
    QString text = kProgramOpen + QLatin1Char('\n') + kCloseAndRepeat + QStringLiteral("\n\n") + kNotDone;
    if (!cause.isEmpty())
        text += QStringLiteral("\n\n") + cause;
    inform(text, UpdaterDialogs::Icon::Critical);
}

void UpdaterWindow::update() {
    if (!checkTargetFolder() || !checkSources())
        return;
    m_start->setEnabled(false);
    m_cancel->setEnabled(false);
    const bool closed = closeProgram();
    m_start->setEnabled(true);
    m_cancel->setEnabled(true);
    if (!closed)
        return;

    const FileInstaller::Outcome outcome = FileInstaller(m_files, m_sourceFolder, m_folder->text()).install();
    if (!outcome.installed) {
        reportFailure(outcome.failure);
        return;
    }
    inform(QStringLiteral("Das Update wurde erfolgreich durchgeführt."), UpdaterDialogs::Icon::Information);
    if (!outcome.leftInSource.isEmpty()) {
        QStringList files;
        for (const QString& path : outcome.leftInSource)
            files << quoted(path);
        inform(QStringLiteral("Die Datei(en) %1 im Ordner der Aktualisierung konnten nicht gelöscht werden.")
                   .arg(files.join(QStringLiteral(", "))),
               UpdaterDialogs::Icon::Warning);
    }
    close();
}

void UpdaterWindow::cancel() {
    inform(QStringLiteral("Das Update wurde nicht durchgeführt."), UpdaterDialogs::Icon::Information);
    close();
}
