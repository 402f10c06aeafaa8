#pragma once

#include <QStringList>

// "Zlv --rechnung-lesen <datei>": reads an e-invoice (XML, or a PDF through the PDF module beside the
// program) without windows and prints its number, seller and amount due, or the German reason it is
// refused. For the installation check; the exit code is 0 only when the invoice was read.
class InvoiceReadCommand {
public:
    static constexpr const char* kOption = "--rechnung-lesen";
    static bool isRequested(int argc, char** argv);
    // arguments: the program's arguments, the program's name first.
    static int run(const QStringList& arguments);
};
