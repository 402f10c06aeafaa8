#include "HelpWindow.h"

#include "Twips.h"
#include "WindowPlacement.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {
constexpr int kWidthTwips = 11400;
constexpr int kHeightTwips = 9600;
} // namespace

HelpWindow::HelpWindow(const QString& helpFilePath, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHilfe"));
    setWindowTitle(QStringLiteral("Talbrin Zelvora - Hilfe"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtHilfe"));
    m_browser->setAccessibleName(QStringLiteral("Hilfe"));
    m_browser->setOpenExternalLinks(true);
    m_browser->setSource(QUrl::fromLocalFile(helpFilePath));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);

    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    WindowPlacement::fitIntoScreen(*this, Twips::toPixels(kWidthTwips, kHeightTwips, *this));
}
