#include "InvoiceReadCommand.h"

#include "InvoiceReader.h"

#include <QFile>

#include <cstdio>
#include <cstring>

bool InvoiceReadCommand::isRequested(int argc, char** argv) {
    return argc > 1 && std::strcmp(argv[1], kOption) == 0;
}

int InvoiceReadCommand::run(const QStringList& arguments) {
    if (arguments.size() != 3) {
        std::fprintf(stderr, "Aufruf: Zlv %s <Rechnungsdatei>\n", kOption);
        return 2;
    }
    QFile file(arguments.at(2));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "Die Datei %s lässt sich nicht öffnen.\n", qPrintable(arguments.at(2)));
        return 1;
    }
    // The size is checked before the file is read.
    const InvoiceReader::Result result =
        file.size() > InvoiceReader::kMaxBytes
            ? InvoiceReader::Result{std::nullopt, InvoiceReader::Refusal::TooLarge,
                                    InvoiceReader::tooLarge(file.size())}
            : InvoiceReader::read(file.readAll());
    if (!result.invoice) {
        std::fprintf(stderr, "%s\n", qPrintable(result.reason));
        return 1;
    }
    std::printf("Rechnung %s von %s: %s EUR\n", qPrintable(result.invoice->number),
                qPrintable(result.invoice->seller.name),
                qPrintable(result.invoice->bookingAmount().toGerman()));
    return 0;
}
