#pragma once

#include "PrintEngine.h"

#include <functional>
#include <QPageLayout>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;
class QPainter;
class QPlainTextEdit;
class QPrintPreviewDialog;
class QWidget;

// The system's printers as Qt's print support reaches them, in the module "zlvprint" beside the program
// (PrintModule.cpp): loaded when a printer is first listed or used, so that the program starts without Qt's
// print support. PDF files are written without it.
class PrinterAccess {
public:
    // Paints the pages on the printer; false when the run was cancelled.
    using Pages = std::function<bool(QPainter& painter, QPagedPaintDevice& printer)>;
    // Shows the prepared preview dialog; by default dialog.exec().
    using PreviewPresenter = std::function<void(QPrintPreviewDialog& dialog)>;

    virtual ~PrinterAccess() = default;

    // The installed printers in the system's order, and the system's default printer (empty when none).
    virtual QStringList installed() const = 0;
    virtual QString defaultPrinter() const = 0;
    // Prints on the named printer at the given resolution (0: the printer's highest). Failed when the
    // printer cannot print.
    virtual PrintEngine::Outcome print(const QString& printer, int dotsPerInch, const QPageLayout& layout,
                                       const Pages& pages) const = 0;
    // Shows the pages in a maximised preview of the named printer; its own print button proposes the
    // document's name, or writes outputFile where one is given.
    virtual PrintEngine::Outcome preview(const QString& printer, const QPageLayout& layout,
                                         const QString& documentName, const QString& outputFile,
                                         QWidget* parent, const Pages& pages,
                                         const PreviewPresenter& presenter) const = 0;
    // Asks for a printer and prints the text on it.
    virtual void printText(QPlainTextEdit& text, QWidget* parent) const = 0;

    // The module's access, loaded once; nullptr when it is missing or damaged (words tell the user).
    static const PrinterAccess* module(QString* words);
};
