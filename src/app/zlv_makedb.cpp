// Build tool: places a new, empty database at the given path unless a database file of that name
// (in any letter case) lies there already. An existing file is never touched.

#include "Database.h"

#include <cstdio>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: zlv_makedb <path of ZLV.mdb>\n");
        return 2;
    }
    const QFileInfo target(args.at(1));
    const QStringList present = QDir(target.absolutePath()).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : present) {
        if (name.compare(target.fileName(), Qt::CaseInsensitive) == 0)
            return 0;
    }
    QString message;
    if (!Database::create(target.absoluteFilePath(), &message)) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return 1;
    }
    return 0;
}
