#include "PrintDispatch.h"

#include "Dialogs.h"

#include <QDir>
#include <QProgressDialog>

namespace {
const QString kPdfDialogTitle = QStringLiteral("Als PDF-Datei speichern");
const QString kPdfFilter = QStringLiteral("PDF-Dateien (*.pdf)");
// A run that takes longer than this shows its progress.
constexpr int kProgressDelayMs = 400;
} // namespace

PrintDispatch::PrintDispatch(Dialogs& dialogs, QWidget* parent)
    : m_dialogs(dialogs), m_parent(parent), m_makeEngine([](QWidget* previewParent) {
          return std::make_unique<QPainterPrintEngine>(previewParent);
      }) {}

int PrintDispatch::paperCode(int paperIndex) {
    return paperIndex == 0 ? PrintEngine::PaperA4 : 0;
}

void PrintDispatch::refuse(const QString& title, const QString& text) {
    m_dialogs.inform(m_parent, title, text, Dialogs::Icon::Warning);
}

bool PrintDispatch::prepare(QPainterPrintEngine& engine, const Choice& choice, ListSnapshot::Kind kind) {
    if (choice.printer.isEmpty()) {
        refuse(QStringLiteral("Kein Drucker gewählt"),
               QStringLiteral("Bitte wählen Sie einen Drucker oder „%1“.")
                   .arg(QPainterPrintEngine::pdfTargetName()));
        return false;
    }
    if (engine.SelectPrinter(choice.printer) != choice.printer) {
        refuse(QStringLiteral("Drucker nicht verfügbar"),
               QStringLiteral("Der Drucker „%1“ kann nicht verwendet werden. Bitte wählen Sie einen anderen "
                              "Drucker oder „%2“.")
                   .arg(choice.printer, QPainterPrintEngine::pdfTargetName()));
        return false;
    }
    engine.SetOrientation(kind == ListSnapshot::Kind::CompanyList || kind == ListSnapshot::Kind::Invoice ||
                                  kind == ListSnapshot::Kind::PaymentOrder ||
                                  kind == ListSnapshot::Kind::WithholdingStatement
                              ? PrintEngine::Portrait
                              : PrintEngine::Landscape);
    if (choice.draft)
        engine.SetDraftQuality(-1);
    const int paper = paperCode(choice.paperIndex);
    if (engine.SetPaperSize(paper) != paper) {
        refuse(QStringLiteral("Papiergröße nicht möglich"),
               QStringLiteral("Der Drucker „%1“ kann auf der Papiergröße „Din A4“ nicht drucken.")
                   .arg(choice.printer));
        return false;
    }
    engine.SetPrintDirect(choice.direct);
    engine.setMargins(choice.topMargin, choice.leftMargin);
    return true;
}

QString PrintDispatch::choosePdfFile(ListSnapshot::Kind kind) {
    return m_dialogs.chooseFileToSave(m_parent, kPdfDialogTitle, proposedPdfFileName(kind), kPdfFilter);
}

PrintEngine::Outcome PrintDispatch::run(const Choice& choice, const ListSnapshot& snapshot,
                                        const ReportFooter& footer) {
    const std::unique_ptr<QPainterPrintEngine> made = m_makeEngine(m_parent);
    QPainterPrintEngine& engine = *made;
    if (!prepare(engine, choice, snapshot.kind))
        return PrintEngine::Outcome::Cancelled;
    if (choice.direct && engine.printsToPdfFile()) {
        const QString path = choosePdfFile(snapshot.kind);
        if (path.isEmpty())
            return PrintEngine::Outcome::Cancelled;
        engine.setPdfFilePath(path);
    } else {
        // What the preview's own print button proposes.
        engine.setPdfFilePath(QDir(m_dialogs.saveFolder()).filePath(proposedPdfFileName(snapshot.kind)));
    }

    QProgressDialog progress(m_parent);
    progress.setWindowTitle(choice.direct ? QStringLiteral("Drucken") : QStringLiteral("Druckvorschau"));
    progress.setCancelButtonText(QStringLiteral("Abbrechen"));
    // Nothing else may change or close while the pages are painted.
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(kProgressDelayMs);
    progress.reset();
    engine.setProgressHook([&progress](int page, int pageCount) {
        progress.setMaximum(pageCount);
        progress.setLabelText(QStringLiteral("Seite %1 von %2").arg(page).arg(pageCount));
        progress.setValue(page - 1);
        const bool goOn = !progress.wasCanceled();
        // The preview shows its pages once they are painted: no progress may stay or pop up over it.
        if (page == pageCount)
            progress.reset();
        return goOn;
    });

    buildReport(engine, snapshot, footer);
    engine.EndTable();
    engine.EndDocument();
    const PrintEngine::Outcome outcome = engine.ShowDocument();
    progress.hide();
    if (outcome == PrintEngine::Outcome::Failed)
        refuse(choice.direct ? QStringLiteral("Drucken nicht möglich")
                             : QStringLiteral("Vorschau nicht möglich"),
               engine.failureText());
    return outcome;
}
