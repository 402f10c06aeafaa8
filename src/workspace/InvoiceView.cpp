#include "InvoiceView.h"

#include "InvoiceLineModel.h"

#include "PrinterCatalog.h"
#include "PrintSettingsScreen.h"
#include "WorkspaceContext.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeView>
#include <QVBoxLayout>

InvoiceView::InvoiceView(WorkspaceContext& context, InvoiceIntake::Opened opened,
                         QList<InvoicePresentation::Check> checks, bool bookable, QWidget* parent)
    : QWidget(parent, Qt::Window), m_context(context), m_opened(std::move(opened)),
      m_checks(std::move(checks)) {
    setObjectName(QStringLiteral("frmERechnung"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("E-Rechnung: ") + InvoicePresentation::title(m_opened.invoice));
    m_text = new QTextBrowser(this);
    m_text->setObjectName(QStringLiteral("txtERechnung"));
    m_text->setAccessibleName(QStringLiteral("E-Rechnung"));
    m_text->setHtml(InvoicePresentation::html(m_opened.invoice, m_checks, false));
    // The lines in a list of their own: an invoice of thousands of lines shows at once.
    auto* lines = new InvoiceLineModel(this);
    lines->setInvoice(m_opened.invoice);
    auto* list = new QTreeView(this);
    list->setObjectName(QStringLiteral("lstPositionen"));
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setModel(lines);
    // Each column as wide as its texts, the name taking what is left: no amount is ever cut.
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    auto* linesLabel =
        new QLabel(QStringLiteral("&Positionen (%1)").arg(m_opened.invoice.lines.size()), this);
    linesLabel->setBuddy(list);

    auto* book = new QPushButton(QStringLiteral("&Buchen"), this);
    book->setObjectName(QStringLiteral("cmdERechnungBuchen"));
    book->setToolTip(
        QStringLiteral("Überträgt die Rechnung in die Eingabefelder; gebucht wird mit „Buchen“ dort."));
    book->setVisible(bookable);
    book->setEnabled(InvoicePresentation::bookable(m_opened.invoice));
    auto* printButton = new QPushButton(QStringLiteral("&Drucken …"), this);
    printButton->setObjectName(QStringLiteral("cmdERechnungDrucken"));
    auto* close = new QPushButton(QStringLiteral("&Schließen"), this);
    close->setObjectName(QStringLiteral("cmdERechnungSchliessen"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(book);
    buttons->addWidget(printButton);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text, 3);
    layout->addWidget(linesLabel);
    layout->addWidget(list, 2);
    layout->addLayout(buttons);
    resize(820, 900);

    connect(book, &QPushButton::clicked, this, [this] {
        emit bookRequested();
        QWidget::close();
    });
    connect(printButton, &QPushButton::clicked, this, &InvoiceView::print);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

QString InvoiceView::shownText() const {
    return m_text->toPlainText();
}

void InvoiceView::print() {
    auto* screen =
        new PrintSettingsScreen(m_context.dialogs, m_context.settings, PrinterCatalog::ofSystem(), this);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    const ListSnapshot snapshot = InvoicePresentation::snapshot(m_opened.invoice, m_checks);
    screen->setSource(QStringLiteral("E-Rechnung drucken"),
                      [snapshot] { return std::optional<ListSnapshot>(snapshot); });
    screen->show();
}
