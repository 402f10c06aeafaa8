// The module "zlvprint": the only code that uses Qt's print support, loaded by PrinterAccess when a
// printer is first listed or used, so that the program starts without it.

#include "PrinterAccess.h"

#include <QAction>
#include <QGraphicsView>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPrintPreviewDialog>
#include <QScrollBar>
#include <QTimer>

namespace {

class SystemPrinters final : public PrinterAccess {
public:
    QStringList installed() const override { return QPrinterInfo::availablePrinterNames(); }

    QString defaultPrinter() const override { return QPrinterInfo::defaultPrinterName(); }

    PrintEngine::Outcome print(const QString& name, int dotsPerInch, const QPageLayout& layout,
                               const Pages& pages) const override {
        QPrinter printer(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
        if (dotsPerInch > 0)
            printer.setResolution(dotsPerInch);
        printer.setFullPage(true);
        printer.setPageLayout(layout);
        QPainter painter;
        if (!printer.isValid() || !painter.begin(&printer))
            return PrintEngine::Outcome::Failed;
        if (!pages(painter, printer)) {
            printer.abort();
            painter.end();
            return PrintEngine::Outcome::Cancelled;
        }
        painter.end();
        return PrintEngine::Outcome::Done;
    }

    PrintEngine::Outcome preview(const QString& name, const QPageLayout& layout, const QString& documentName,
                                 const QString& outputFile, QWidget* parent, const Pages& pages,
                                 const PreviewPresenter& presenter) const override {
        QPrinter printer(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
        printer.setFullPage(true);
        printer.setPageLayout(layout);
        printer.setDocName(documentName);
        if (!outputFile.isEmpty())
            printer.setOutputFileName(outputFile);
        QPrintPreviewDialog dialog(&printer, parent);
        dialog.setWindowTitle(QStringLiteral("Druckervorschau"));
        // Readable at once: the whole screen, the page at its width.
        dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
        if (auto* fitWidth = dialog.findChild<QAction*>(QStringLiteral("fitWidthAction")))
            fitWidth->trigger();
        // The first page from its top, where it stays while the window takes its size.
        if (auto* view = dialog.findChild<QGraphicsView*>()) {
            view->setTransformationAnchor(QGraphicsView::NoAnchor);
            QTimer::singleShot(0, view, [view] {
                view->verticalScrollBar()->setValue(view->verticalScrollBar()->minimum());
            });
        }
        bool cancelled = false;
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
            QPainter painter(target);
            cancelled = !pages(painter, *target);
        });
        if (presenter)
            presenter(dialog);
        else
            dialog.exec();
        return cancelled ? PrintEngine::Outcome::Cancelled : PrintEngine::Outcome::Done;
    }

    void printText(QPlainTextEdit& text, QWidget* parent) const override {
        QPrinter printer(QPrinter::HighResolution);
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() == QDialog::Accepted)
            text.print(&printer);
    }
};

} // namespace

extern "C" Q_DECL_EXPORT const PrinterAccess* zlvPrinterAccess() {
    static const SystemPrinters printers;
    return &printers;
}
