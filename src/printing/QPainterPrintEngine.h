#pragma once

#include "PrintEngine.h"
#include "PrinterAccess.h"

#include <functional>
#include <memory>
#include <QStringList>

class QWidget;
class RecordedDocument;

// The print engine on QPainter: records the document as page commands, then paints them on a
// QPrinter: a printer of the system, a PDF file, or the pages of a QPrintPreviewDialog.
//
// Targets: SelectPrinter takes one of printerNames(), the installed printers plus the PDF file target
// pdfTargetName(). With SetPrintDirect(true) ShowDocument prints to the printer, or writes the file set
// by setPdfFilePath when the PDF target is selected; with SetPrintDirect(false) it shows the preview.
// A PDF is written to a temporary file beside the chosen one and renamed when complete, so a failed or
// cancelled run leaves no file under the chosen name (and an older file of that name untouched).
//
// The reports are laid out on the whole paper; the engine places what they draw inside the margins: the
// top left corner of the content at the top and left margins, scaled down (never up) where needed so
// that it keeps at least leastMargin() from the right and bottom edges.
class QPainterPrintEngine : public PrintEngine {
public:
    // Called before each page is painted, with its number and the page count; false cancels the run.
    using ProgressHook = std::function<bool(int page, int pageCount)>;
    using PreviewPresenter = PrinterAccess::PreviewPresenter;

    // "PDF-Datei": the target that writes a PDF file; always available.
    static QString pdfTargetName();
    // The installed printers in the system's order, then the PDF target.
    static QStringList printerNames();
    // The system's default printer; the PDF target when the system has none.
    static QString defaultPrinterName();

    explicit QPainterPrintEngine(QWidget* previewParent = nullptr);
    ~QPainterPrintEngine() override;

    // 15 mm, as the print settings propose.
    static constexpr qreal defaultMargin() { return 15.0; }
    // 5 mm: what the content keeps from the right and bottom edges, inside what printers can reach.
    static constexpr qreal leastMargin() { return 5.0; }
    // The top and left margins in millimetres.
    virtual void setMargins(qreal top, qreal left);
    void setPdfFilePath(const QString& path);
    QString pdfFilePath() const;
    bool printsToPdfFile() const;
    void setProgressHook(ProgressHook hook);
    void setPreviewPresenter(PreviewPresenter presenter);
    // Pages built so far.
    int pageCount() const;

    QString SelectPrinter(const QString& name) override;
    void SetOrientation(int orientation) override;
    void SetDraftQuality(int draft) override;
    int SetPaperSize(int paperCode) override;
    void SetPrintDirect(bool direct) override;

    PageSize GetPageSize() const override;
    int GetTextHeight() const override;
    void SetFont(const QString& name, int size, bool bold, bool italic, bool underline) override;
    void PrintText(const QString& text, int x, int y, int mode) override;
    void PrintPicture(const QPicture& picture, int left, int top, int width, int height) override;
    void SetTableOption1(bool on) override;
    void SetTableOption2(bool on) override;
    void SetTableColor1(quint32 bgr) override;
    void SetTableColor2(quint32 bgr) override;
    void SetTableStyle(int style) override;
    void SetTableFrame(bool framed) override;
    void StartTable(const QString& heading, int left, int top, int headingHeight, int reserved,
                    quint32 headingFill, const QList<int>& columnWidths, bool shadow, bool frame,
                    bool lines) override;
    void AddTableRow(const QString& row, int height, quint32 fill, bool shadow, bool frame,
                     bool lines) override;
    void EndTable() override;
    void NewPage() override;
    void EndDocument() override;
    Outcome ShowDocument() override;
    void CloseEngine() override;
    QString failureText() const override;

private:
    struct State;
    std::unique_ptr<State> m_state;
};
