#include "PrinterAccess.h"

#include "ProgramPart.h"

namespace {

const QString kModule = QStringLiteral("zlvprint");

} // namespace

const PrinterAccess* PrinterAccess::module(QString* words) {
    using Access = const PrinterAccess* (*)();
    static const PrinterAccess* const access = [] {
        const auto resolved = reinterpret_cast<Access>(ProgramPart::resolve(kModule, "zlvPrinterAccess"));
        return resolved ? resolved() : nullptr;
    }();
    if (!access && words)
        *words = ProgramPart::missingText(
            QStringLiteral("Drucker lassen sich an diesem Arbeitsplatz nicht erreichen"), kModule);
    return access;
}
