#pragma once

#include "PrintEngine.h"

#include <QRegularExpression>
#include <QStringList>
#include <QVariant>

// A print engine that writes down every call as one line "Name values: text". Its page is A4 landscape
// unless set to portrait; a text line is four tenths of a millimetre per point high.
class RecordingEngine : public PrintEngine {
public:
    QStringList calls;
    int fontSize = 10;
    bool portrait = false;

    void log(std::initializer_list<QVariant> values, const QString& text = QString()) {
        QStringList parts;
        for (const QVariant& value : values)
            parts << value.toString();
        calls << parts.join(' ') + (text.isNull() ? QString() : ": " + text);
    }
    static QString hex(quint32 colour) { return QString("%1").arg(colour, 6, 16, QChar('0')); }

    QString SelectPrinter(const QString& name) override { return name; }
    void SetOrientation(int orientation) override { portrait = orientation == Portrait; }
    void SetDraftQuality(int) override {}
    int SetPaperSize(int code) override { return code; }
    void SetPrintDirect(bool) override {}
    PageSize GetPageSize() const override {
        return portrait ? PageSize{0, 0, 2970, 2100} : PageSize{0, 0, 2100, 2970};
    }
    int GetTextHeight() const override { return fontSize * 4; }
    void SetFont(const QString& name, int size, bool bold, bool italic, bool underline) override {
        fontSize = size;
        log({"SetFont", name, size, int(bold), int(italic), int(underline)});
    }
    void PrintText(const QString& text, int x, int y, int mode) override {
        log({"PrintText", x, y, mode}, text);
    }
    void SetTableOption1(bool on) override { log({"TableOption1", int(on)}); }
    void SetTableOption2(bool on) override { log({"TableOption2", int(on)}); }
    void SetTableColor1(quint32 bgr) override { log({"TableColor1", hex(bgr)}); }
    void SetTableColor2(quint32 bgr) override { log({"TableColor2", hex(bgr)}); }
    void SetTableStyle(int style) override { log({"SetTableStyle", style}); }
    void SetTableFrame(bool framed) override { log({"SetTableFrame", int(framed)}); }
    void StartTable(const QString& heading, int left, int top, int headingHeight, int reserved, quint32 fill,
                    const QList<int>& widths, bool shadow, bool frame, bool lines) override {
        QStringList w;
        for (int width : widths)
            w << QString::number(width);
        log({"StartTable", left, top, headingHeight, reserved, hex(fill), w.join(','), int(shadow),
             int(frame), int(lines)},
            heading);
    }
    void AddTableRow(const QString& row, int height, quint32 fill, bool shadow, bool frame,
                     bool lines) override {
        log({"AddTableRow", height, hex(fill), int(shadow), int(frame), int(lines)}, row);
    }
    void EndTable() override { calls << "EndTable"; }
    void NewPage() override { calls << "NewPage"; }
    void EndDocument() override {}
    Outcome ShowDocument() override { return Outcome::Done; }
    void CloseEngine() override {}
    QString failureText() const override { return QString(); }

    // The calls between NewPage calls.
    QList<QStringList> pages() const {
        QList<QStringList> result{{}};
        for (const QString& call : calls) {
            if (call == "NewPage")
                result.append(QStringList());
            else
                result.last().append(call);
        }
        return result;
    }
    QStringList callsStartingWith(const QString& prefix, int page) const {
        return pages().at(page).filter(QRegularExpression("^" + QRegularExpression::escape(prefix)));
    }
};
