#include "Dialogs.h"

#include "Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {
const QString kDetailsMark = QStringLiteral("\n\nDetails: ");
const SettingKey<QString> kSaveFolder{QStringLiteral("Setting"), QStringLiteral("PfadZumSpeichern"), {}};

QString documentsFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}
} // namespace

Dialogs::~Dialogs() = default;

QString Dialogs::withDetails(const QString& text, const QString& details) {
    QStringList lines = details.split(u'\n');
    for (QString& line : lines)
        line = line.simplified();
    lines.removeAll(QString());
    return lines.isEmpty() ? text : text + kDetailsMark + lines.join(u'\n');
}

std::pair<QString, QString> Dialogs::splitDetails(const QString& text) {
    const qsizetype mark = text.lastIndexOf(kDetailsMark);
    if (mark < 0)
        return {text, QString()};
    return {text.left(mark), text.mid(mark + kDetailsMark.size())};
}

void Dialogs::keepSaveFolderIn(Settings& settings) {
    m_settings = &settings;
}

QString Dialogs::saveFolder() const {
    const QString folder = m_settings ? m_settings->value(kSaveFolder) : m_saveFolder;
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : documentsFolder();
}

QString Dialogs::withFilterExtension(const QString& path, const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*(\\.[^\\s;)*?]+)"));
    QStringList extensions;
    for (auto match = pattern.globalMatch(filter); match.hasNext();)
        extensions.append(match.next().captured(1));
    if (extensions.isEmpty())
        return path;
    for (const QString& extension : extensions)
        if (path.endsWith(extension, Qt::CaseInsensitive))
            return path;
    return path + extensions.constFirst();
}

QString Dialogs::chooseFileToSave(QWidget* parent, const QString& title, const QString& fileName,
                                  const QString& filter) {
    QString chosenFilter = filter.section(QStringLiteral(";;"), 0, 0);
    const QString path =
        showSaveDialog(parent, title, QDir(saveFolder()).filePath(fileName), filter, chosenFilter);
    if (path.isEmpty())
        return path;
    const QString folder = QFileInfo(path).absolutePath();
    m_saveFolder = folder;
    if (m_settings) {
        m_settings->setValue(kSaveFolder, folder);
        m_settings->sync();
    }
    return withFilterExtension(path, chosenFilter);
}
