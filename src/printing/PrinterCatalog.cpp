#include "PrinterCatalog.h"

#include <QPrinterInfo>

PrinterCatalog PrinterCatalog::ofSystem() {
    return {QPrinterInfo::availablePrinterNames(), QPrinterInfo::defaultPrinterName()};
}
