#pragma once

#include <QList>
#include <QPicture>
#include <QString>

// The table-printing component every report is built on: it lays out text lines and tables on pages,
// then prints or previews them. Lengths are tenths of a millimetre from the page's top left corner, font
// sizes points, colours 0xBBGGRR. Calls come one at a time from the user-interface thread, first the
// set-up (SelectPrinter, SetOrientation, SetDraftQuality, SetPaperSize, SetPrintDirect), then the
// document (fonts, texts, tables, pages), then EndDocument and ShowDocument.
//
// Cell notation of StartTable and AddTableRow: one text holds a whole row, cells separated by "|". Each
// cell begins with a one-letter code, the rest is its text: "m" centres, "L" left-aligns, "R" and "r"
// right-align ("r" in a totals row). A blank right after the code is not printed. An empty cell ("||")
// is an empty heading. A carriage return (character 13) inside a heading cell breaks its line.
class PrintEngine {
public:
    // GetPageSize's four numbers; the reports use the height and the width.
    struct PageSize {
        float left = 0;
        float top = 0;
        float height = 0;
        float width = 0;
    };

    // PrintText's mode: the text is centred on x (the only mode the reports use).
    static constexpr int CentredOnX = 6;
    static constexpr int Portrait = 1;
    static constexpr int Landscape = 2;
    static constexpr int PaperA4 = 9;

    enum class Outcome {
        Done,      // printed, written or previewed
        Cancelled, // the user stopped it (progress hook, preview closed without anything to do is Done)
        Failed     // the printer or file could not take the document; failureText() says why
    };

    virtual ~PrintEngine() = default;

    // Set-up.
    // Takes the printer by its name; returns the name of the printer now in use, the empty text when
    // no printer of that name exists.
    virtual QString SelectPrinter(const QString& name) = 0;
    // Portrait or Landscape; applies to the document built afterwards.
    virtual void SetOrientation(int orientation) = 0;
    // -1 switches draft quality on (a lower print resolution); other values switch it off.
    virtual void SetDraftQuality(int draft) = 0;
    // Asks for a paper code (PaperA4); returns the code now in effect, which differs when refused.
    virtual int SetPaperSize(int paperCode) = 0;
    // True: ShowDocument sends the document to the printer (or the PDF file); false: to a preview.
    virtual void SetPrintDirect(bool direct) = 0;

    // Document building.
    virtual PageSize GetPageSize() const = 0;
    // Height of a text line in the current font.
    virtual int GetTextHeight() const = 0;
    // Font for the following output. The third flag is underline (the reports never set it).
    virtual void SetFont(const QString& name, int size, bool bold, bool italic, bool underline) = 0;
    virtual void PrintText(const QString& text, int x, int y, int mode) = 0;
    // Draws a picture (a chart) scaled into the rectangle, keeping its proportions, centred in it.
    virtual void PrintPicture(const QPicture& picture, int left, int top, int width, int height) = 0;

    // Table styling, set before StartTable: options 1 and 2 (false in every report, no effect), the
    // colour of the cells' background (TableColor1) and of the table's frame and lines (TableColor2).
    virtual void SetTableOption1(bool on) = 0;
    virtual void SetTableOption2(bool on) = 0;
    virtual void SetTableColor1(quint32 bgr) = 0;
    virtual void SetTableColor2(quint32 bgr) = 0;
    // Style 0 is the only one: plain cells.
    virtual void SetTableStyle(int style) = 0;
    // True: the table gets an outer frame in TableColor2.
    virtual void SetTableFrame(bool framed) = 0;

    // Draws the heading row (in the current font) at left, top and fixes the columns by their widths.
    // reserved is always 0. shadow draws nothing (always false); frame and lines draw the row's outline
    // and the lines between its cells in TableColor2.
    virtual void StartTable(const QString& heading, int left, int top, int headingHeight, int reserved,
                            quint32 headingFill, const QList<int>& columnWidths, bool shadow, bool frame,
                            bool lines) = 0;
    // Draws one row below the previous one, in the current font.
    virtual void AddTableRow(const QString& row, int height, quint32 fill, bool shadow, bool frame,
                             bool lines) = 0;
    // Closes the current table (draws its outer frame).
    virtual void EndTable() = 0;
    virtual void NewPage() = 0;
    // Closes the document; nothing is added afterwards.
    virtual void EndDocument() = 0;
    // Prints, writes or previews the document as SetPrintDirect chose.
    virtual Outcome ShowDocument() = 0;
    // Drops whatever was built; called when the print screen is cancelled.
    virtual void CloseEngine() = 0;

    // After ShowDocument returned Failed: a German sentence saying what went wrong.
    virtual QString failureText() const = 0;
};
