#include "PrinterAccess.h"

#include <QCoreApplication>
#include <QLibrary>

namespace {

const QString kModule = QStringLiteral("zlvprint");

} // namespace

const PrinterAccess* PrinterAccess::module(QString* words) {
    using Access = const PrinterAccess* (*)();
    static const PrinterAccess* const access = [] {
        static QLibrary library(QCoreApplication::applicationDirPath() + u'/' + kModule);
        const auto resolved = reinterpret_cast<Access>(library.resolve("zlvPrinterAccess"));
        return resolved ? resolved() : nullptr;
    }();
    if (!access && words)
        *words =
            QStringLiteral("Drucker lassen sich an diesem Arbeitsplatz nicht erreichen: der Programmteil "
                           "„%1“ fehlt neben dem Programm im Ordner %2 oder ist beschädigt. Bitte "
                           "installieren Sie Zelvora neu.")
                .arg(kModule, QCoreApplication::applicationDirPath());
    return access;
}
