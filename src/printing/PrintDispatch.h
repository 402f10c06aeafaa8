#pragma once

#include "ListSnapshot.h"
#include "QPainterPrintEngine.h"
#include "Reports.h"

#include <functional>
#include <memory>
#include <QString>

class Dialogs;
class QWidget;

// One print run of the print settings screen: prepares a print engine with the screen's choices, builds
// the report of the snapshot on it and prints it, writes it as a PDF file or shows it in the preview. A
// printer or paper size the engine refuses, and a document that cannot be printed or written, are said
// in a German message; a long run shows its progress page by page and can be cancelled.
class PrintDispatch {
public:
    struct Choice {
        QString printer;
        int paperIndex = 0;
        bool draft = false;
        // True: to the printer or the PDF file; false: to the preview.
        bool direct = true;
        // Millimetres from the paper's top and left edges to the page's content.
        double topMargin = QPainterPrintEngine::defaultMargin();
        double leftMargin = QPainterPrintEngine::defaultMargin();
    };

    // Makes the engine of one run; previews open over previewParent.
    using EngineFactory = std::function<std::unique_ptr<QPainterPrintEngine>(QWidget* previewParent)>;

    PrintDispatch(Dialogs& dialogs, QWidget* parent);

    // Replaces the engine of the next runs (tests watch the set-up with it).
    void setEngineFactory(EngineFactory factory) { m_makeEngine = std::move(factory); }

    // The paper code of the paper list's entry (its only entry "Din A4" is A4).
    static int paperCode(int paperIndex);
    // Runs the report of snapshot; the outcome of the engine, Cancelled also when the run stopped before
    // the document was built (printer or paper refused, no file chosen).
    PrintEngine::Outcome run(const Choice& choice, const ListSnapshot& snapshot, const ReportFooter& footer);

private:
    bool prepare(QPainterPrintEngine& engine, const Choice& choice, ListSnapshot::Kind kind);
    QString choosePdfFile(ListSnapshot::Kind kind);
    void refuse(const QString& title, const QString& text);

    Dialogs& m_dialogs;
    QWidget* m_parent;
    EngineFactory m_makeEngine;
};
