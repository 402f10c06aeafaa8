#include "NewDatabase.h"

#include "DataLocation.h"
#include "TransferRepository.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Whether a file, a folder or a link (also one that leads nowhere) has the name path.
bool taken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool sameFile(const QString& a, const QString& b) {
    return QFileInfo(a).canonicalFilePath() == QFileInfo(b).canonicalFilePath();
}

} // namespace

std::unique_ptr<NewDatabase> NewDatabase::prepare(const QString& target, const QString& replaceable,
                                                  QString* germanMessage) {
    std::unique_ptr<NewDatabase> created(new NewDatabase());
    created->m_target = target;
    if (DataLocation::isServer(target)) {
        created->m_db = TransferRepository::openEmpty(target, germanMessage);
        return created->m_db ? std::move(created) : nullptr;
    }
    created->m_replaces = sameFile(target, replaceable);
    if (taken(target) && !created->m_replaces) {
        *germanMessage =
            QStringLiteral("Die Datei %1 gibt es bereits; übernommen wird nur in eine neue Datenbank.")
                .arg(QDir::toNativeSeparators(target));
        return nullptr;
    }
    QTemporaryDir& work = created->m_work.emplace(target + QStringLiteral(".neu-XXXXXX"));
    created->m_growing = QDir(work.path()).filePath(QFileInfo(target).fileName());
    if (!work.isValid()) {
        *germanMessage =
            QStringLiteral("Im Ordner %1 kann keine neue Datenbank angelegt werden (%2).")
                .arg(QDir::toNativeSeparators(QFileInfo(target).absolutePath()), work.errorString());
        return nullptr;
    }
    if (Database::create(created->m_growing, germanMessage))
        created->m_db = Database::open(created->m_growing, nullptr, germanMessage);
    return created->m_db ? std::move(created) : nullptr;
}

std::optional<QString> NewDatabase::folder() const {
    if (!m_work)
        return std::nullopt;
    return QFileInfo(m_target).absolutePath();
}

bool NewDatabase::putInPlace() {
    m_db.reset();
    return !m_work || QFile::rename(m_growing, m_target);
}
