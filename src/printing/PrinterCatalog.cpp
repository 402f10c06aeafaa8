#include "PrinterCatalog.h"

#include "PrinterAccess.h"

PrinterCatalog PrinterCatalog::ofSystem() {
    const PrinterAccess* printers = PrinterAccess::module(nullptr);
    return printers ? PrinterCatalog{printers->installed(), printers->defaultPrinter()} : PrinterCatalog{};
}
