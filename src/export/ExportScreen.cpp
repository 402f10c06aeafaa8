#include "ExportScreen.h"

#include "Dialogs.h"
#include "ExportFormat.h"
#include "SystemErrorText.h"
#include "Windows1252.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("Daten exportieren");
const QString kDialogTitle = QStringLiteral("Daten exportieren...");
const QString kFilter = QStringLiteral("Export CSV-Dateien (*.csv);;Export Textdateien (*.txt)");

QString shown(const QString& path) {
    return QStringLiteral("„") + QDir::toNativeSeparators(path) + QStringLiteral("“");
}
} // namespace

ExportScreen::ExportScreen(SnapshotProvider provider, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_provider(std::move(provider)), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(kTitle);
    setModal(false);

    auto* intro = new QLabel(
        QStringLiteral("Daten werden aus der Talbrin Zelvora in eine TextDatei (*.csv) exportiert."), this);
    intro->setObjectName(QStringLiteral("Label2"));
    auto* readers = new QLabel(QStringLiteral("Dieser Dateityp kann von vielen Programmen (z.B. "
                                              "Tabellenkalkulation) direkt eingelesen werden."),
                               this);
    readers->setObjectName(QStringLiteral("Label1"));
    readers->setWordWrap(true);

    auto* frame = new QGroupBox(QStringLiteral("Ausgabeformat "), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    m_typedSeparator = new QRadioButton(QStringLiteral("Trennzeichen zwischen den Daten ="), frame);
    m_typedSeparator->setObjectName(QStringLiteral("Option1"));
    m_typedSeparator->setChecked(true);
    m_separatorText = new QLineEdit(ExportFormat::kDefaultSeparator, frame);
    m_separatorText->setObjectName(QStringLiteral("Text1"));
    m_separatorText->setMaxLength(1);
    m_separatorText->setFixedWidth(m_separatorText->fontMetrics().horizontalAdvance(QStringLiteral("MMM")) +
                                   12);
    m_separatorText->setAccessibleName(QStringLiteral("Trennzeichen zwischen den Daten"));
    auto* standard = new QLabel(QStringLiteral("(Standard =  ;  ) "), frame);
    standard->setObjectName(QStringLiteral("Label3"));
    m_tabSeparator = new QRadioButton(QStringLiteral("Trennzeichen =  Tabulator"), frame);
    m_tabSeparator->setObjectName(QStringLiteral("Option2"));
    // The lists hold plain texts: there is no formatting to keep.
    m_formatting = new QCheckBox(
        QStringLiteral("Formatierungen für 'Anschrift' und 'Notizen' behalten.  (RTF-Format) "), frame);
    m_formatting->setObjectName(QStringLiteral("Check1"));
    m_formatting->setEnabled(false);

    auto* grid = new QGridLayout(frame);
    grid->addWidget(m_typedSeparator, 0, 0);
    grid->addWidget(m_separatorText, 0, 1);
    grid->addWidget(standard, 0, 2);
    grid->addWidget(m_tabSeparator, 1, 0, 1, 3);
    grid->addWidget(m_formatting, 2, 0, 1, 3);
    grid->setColumnStretch(2, 1);

    auto* exportButton = new QPushButton(QStringLiteral("&Exportieren"), this);
    exportButton->setObjectName(QStringLiteral("Command1"));
    exportButton->setDefault(true);
    auto* closeButton = new QPushButton(QStringLiteral("&Abbrechen"), this);
    closeButton->setObjectName(QStringLiteral("Command2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(exportButton);
    buttons->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(readers);
    layout->addWidget(frame);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(m_typedSeparator, &QRadioButton::toggled, m_separatorText, &QLineEdit::setEnabled);
    connect(exportButton, &QPushButton::clicked, this, &ExportScreen::exportList);
    connect(closeButton, &QPushButton::clicked, this, &ExportScreen::close);
}

void ExportScreen::showFor(QPointer<ExportScreen>& screen, QWidget* owner, SnapshotProvider provider,
                           Dialogs& dialogs) {
    if (!screen) {
        screen = new ExportScreen(std::move(provider), dialogs, owner);
        screen->setAttribute(Qt::WA_DeleteOnClose);
    }
    screen->show();
    screen->raise();
    screen->activateWindow();
}

QString ExportScreen::separator() const {
    return m_tabSeparator->isChecked() ? ExportFormat::kTabSeparator : m_separatorText->text();
}

bool ExportScreen::checkSeparator() {
    const QString chosen = separator();
    QString problem;
    if (chosen.isEmpty())
        problem = QStringLiteral("Bitte geben Sie ein Trennzeichen ein.");
    else if (chosen == QStringLiteral("\""))
        problem = QStringLiteral("Das Anführungszeichen kann nicht als Trennzeichen dienen: Es umschließt "
                                 "Werte, die das Trennzeichen enthalten.");
    else if (Windows1252::byteOf(chosen.at(0).unicode()) < 0)
        problem = QStringLiteral("Das Trennzeichen „%1“ kann im Windows-Zeichensatz der Datei nicht "
                                 "geschrieben werden.")
                      .arg(chosen);
    if (problem.isEmpty())
        return true;
    m_dialogs.inform(this, kTitle, problem, Dialogs::Icon::Warning);
    m_separatorText->setFocus();
    m_separatorText->selectAll();
    return false;
}

void ExportScreen::exportList() {
    const std::optional<ListSnapshot> snapshot = m_provider ? m_provider() : std::nullopt;
    if (snapshot && snapshot->unreadable)
        return;
    if (!snapshot || !ExportFormat::isExported(snapshot->kind)) {
        close();
        return;
    }
    if (!checkSeparator())
        return;
    const QString path = m_dialogs.chooseFileToSave(this, kDialogTitle,
                                                    ExportFormat::proposedFileName(snapshot->kind), kFilter);
    if (path.isEmpty())
        return;
    qsizetype replaced = 0;
    const QByteArray bytes = Windows1252::encode(ExportFormat::text(*snapshot, separator()), &replaced);
    if (!writeFile(path, bytes))
        return;
    if (replaced > 0)
        m_dialogs.inform(
            this, kTitle,
            QStringLiteral("Die Datei %1 wurde geschrieben.\n%2 Zeichen der Liste kann der "
                           "Windows-Zeichensatz nicht darstellen; sie stehen in der Datei als „?“.")
                .arg(shown(path))
                .arg(replaced),
            Dialogs::Icon::Information);
    close();
}

bool ExportScreen::writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    // The buffer is flushed and checked before the commit: the commit itself renames a temporary file
    // whose last bytes failed to reach the disk as if it were complete.
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() && file.commit())
        return true;
    const QString reason = SystemErrorText::of(file);
    file.cancelWriting();
    m_dialogs.inform(this, kTitle,
                     QStringLiteral("Die Datei %1 konnte nicht geschrieben werden (%2).\nEine vorhandene "
                                    "Datei dieses Namens ist unverändert.")
                         .arg(shown(path), reason),
                     Dialogs::Icon::Critical);
    return false;
}
