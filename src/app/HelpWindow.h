#pragma once

#include <QWidget>

class QTextBrowser;

// The program's help window (frmHilfe): shows the HTML help file installed beside the program. It comes
// up centred and fully inside the screen's available area.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kHelpFileName = "zlv.html";

    explicit HelpWindow(const QString& helpFilePath, QWidget* parent = nullptr);

    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser = nullptr;
};
