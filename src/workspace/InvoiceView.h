#pragma once

#include "InvoiceIntake.h"
#include "InvoicePresentation.h"

#include <QWidget>

class QPushButton;
class QTextBrowser;
struct WorkspaceContext;

// An e-invoice shown in German (frmERechnung): the checks, seller and buyer, payment, lines and totals;
// "&Buchen" hands it to the entry fields, "&Drucken …" prints it or saves it as PDF like the reports.
class InvoiceView : public QWidget {
    Q_OBJECT
public:
    // bookable: the view offers "&Buchen" (not for an invoice already booked).
    InvoiceView(WorkspaceContext& context, InvoiceIntake::Opened opened,
                QList<InvoicePresentation::Check> checks, bool bookable, QWidget* parent);

    const InvoiceIntake::Opened& opened() const { return m_opened; }
    QString shownText() const;

signals:
    void bookRequested();

private:
    void print();

    WorkspaceContext& m_context;
    InvoiceIntake::Opened m_opened;
    QList<InvoicePresentation::Check> m_checks;
    QTextBrowser* m_text = nullptr;
};
