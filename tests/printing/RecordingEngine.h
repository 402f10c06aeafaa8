#pragma once

#include "PrintEngine.h"

#include <QStringList>

// A print engine that writes down every call as one line of text, for tests of the reports. Its page is
// A4 landscape unless set to portrait; a text line is four tenths of a millimetre per point high.
class RecordingEngine : public PrintEngine {
public:
    QStringList calls;
    int fontSize = 10;
    bool portrait = false;

    QString SelectPrinter(const QString& name) override {
        calls << "SelectPrinter " + name;
        return name;
    }
    void SetOrientation(int orientation) override {
        portrait = orientation == Portrait;
        calls << QString("SetOrientation %1").arg(orientation);
    }
    void SetDraftQuality(int draft) override { calls << QString("SetDraftQuality %1").arg(draft); }
    int SetPaperSize(int code) override {
        calls << QString("SetPaperSize %1").arg(code);
        return code;
    }
    void SetPrintDirect(bool direct) override { calls << QString("SetPrintDirect %1").arg(direct); }
    PageSize GetPageSize() const override {
        return portrait ? PageSize{0, 0, 2970, 2100} : PageSize{0, 0, 2100, 2970};
    }
    int GetTextHeight() const override { return fontSize * 4; }
    void SetFont(const QString& name, int size, bool bold, bool italic, bool underline) override {
        fontSize = size;
        calls << QString("SetFont %1 %2 %3%4%5").arg(name).arg(size).arg(bold).arg(italic).arg(underline);
    }
    void PrintText(const QString& text, int x, int y, int mode) override {
        calls << QString("PrintText %1,%2 mode %3: %4").arg(x).arg(y).arg(mode).arg(text);
    }
    void SetTableOption1(bool on) override { calls << QString("TableOption1 %1").arg(on); }
    void SetTableOption2(bool on) override { calls << QString("TableOption2 %1").arg(on); }
    void SetTableColor1(quint32 bgr) override {
        calls << QString("TableColor1 %1").arg(bgr, 6, 16, QChar('0'));
    }
    void SetTableColor2(quint32 bgr) override {
        calls << QString("TableColor2 %1").arg(bgr, 6, 16, QChar('0'));
    }
    void SetTableStyle(int style) override { calls << QString("SetTableStyle %1").arg(style); }
    void SetTableFrame(bool framed) override { calls << QString("SetTableFrame %1").arg(framed); }
    void StartTable(const QString& heading, int left, int top, int headingHeight, int reserved, quint32 fill,
                    const QList<int>& widths, bool shadow, bool frame, bool lines) override {
        QStringList w;
        for (int width : widths)
            w << QString::number(width);
        calls << QString("StartTable %1,%2 height %3 %4 fill %5 widths %6 %7%8%9: %10")
                     .arg(left)
                     .arg(top)
                     .arg(headingHeight)
                     .arg(reserved)
                     .arg(fill, 6, 16, QChar('0'))
                     .arg(w.join(' '))
                     .arg(shadow)
                     .arg(frame)
                     .arg(lines)
                     .arg(heading);
    }
    void AddTableRow(const QString& row, int height, quint32 fill, bool shadow, bool frame,
                     bool lines) override {
        calls << QString("AddTableRow height %1 fill %2 %3%4%5: %6")
                     .arg(height)
                     .arg(fill, 6, 16, QChar('0'))
                     .arg(shadow)
                     .arg(frame)
                     .arg(lines)
                     .arg(row);
    }
    void EndTable() override { calls << "EndTable"; }
    void NewPage() override { calls << "NewPage"; }
    void EndDocument() override { calls << "EndDocument"; }
    Outcome ShowDocument() override {
        calls << "ShowDocument";
        return Outcome::Done;
    }
    void CloseEngine() override { calls << "CloseEngine"; }
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
    QStringList callsStartingWith(const QString& prefix, int page = -1) const {
        QStringList found;
        const QStringList source = page < 0 ? calls : pages().at(page);
        for (const QString& call : source)
            if (call.startsWith(prefix))
                found << call;
        return found;
    }
};
