#include "ProgramPart.h"

#include <QCoreApplication>
#include <QLibrary>

QFunctionPointer ProgramPart::resolve(const QString& name, const char* symbol) {
    return QLibrary::resolve(QCoreApplication::applicationDirPath() + u'/' + name, symbol);
}

QString ProgramPart::missingText(const QString& consequence, const QString& name) {
    return consequence +
           QStringLiteral(
               ": der Programmteil „%1“ fehlt neben dem Programm im Ordner %2 oder ist beschädigt. "
               "Bitte installieren Sie Zelvora neu.")
               .arg(name, QCoreApplication::applicationDirPath());
}
