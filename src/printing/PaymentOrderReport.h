#pragma once

#include "ListSnapshot.h"

class PrintEngine;
struct ReportFooter;

// The payment order ("Auszahlungsanordnung"), one a page: the authority's details as the letterhead, the
// title, and a table of the order's fields with their values, from a snapshot of kind PaymentOrder whose
// headings name the fields and whose rows are the orders. The statement of withholding tax (kind
// WithholdingStatement) is laid out alike under its own title. Returns with the last page's table still open.
class PaymentOrderReport {
public:
    // The names of the snapshot's values that form the letterhead, in their order.
    static const QStringList& letterheadValues();

    static void build(PrintEngine& engine, const ListSnapshot& snapshot, const ReportFooter& footer);
};
