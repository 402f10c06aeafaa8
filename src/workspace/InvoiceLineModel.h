#pragma once

#include "Invoice.h"
#include "TextTableModel.h"

// The lines of an e-invoice as its view lists them: position, name, quantity, unit, price, VAT rate,
// net amount, each as the invoice gives it.
class InvoiceLineModel : public TextTableModel {
    Q_OBJECT
public:
    explicit InvoiceLineModel(QObject* parent = nullptr);
    void setInvoice(const Invoice& invoice);
};
