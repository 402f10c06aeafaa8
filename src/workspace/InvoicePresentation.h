#pragma once

#include "Invoice.h"
#include "ListSnapshot.h"

#include <QList>
#include <QString>

// An e-invoice in German for the clerk: the checks to see before paying, the view's text and the
// snapshot its print takes.
class InvoicePresentation {
public:
    struct Check {
        bool passed = true;
        QString text;
    };
    // What the invoice itself tells: the totals add up, the currency is EUR, the Leitweg-ID is there, the
    // amount due has no fraction of a cent.
    static QList<Check> checksOf(const Invoice& invoice);
    // True when the invoice can be booked: its currency is EUR.
    static bool bookable(const Invoice& invoice);
    // withLines: the lines as a table too (the view shows them in a list of their own).
    static QString html(const Invoice& invoice, const QList<Check>& checks, bool withLines = true);
    // Each line's texts: position, name, quantity, unit, price, VAT rate, net amount.
    static QList<QStringList> lineRows(const Invoice& invoice);
    static QStringList lineHeadings();
    static ListSnapshot snapshot(const Invoice& invoice, const QList<Check>& checks);
    // "Rechnung 4711 vom 04.04.2016".
    static QString title(const Invoice& invoice);
    static QString date(const QDate& date);
    // Skonto in words: "2,00 % Skonto bei Zahlung bis 11.04.2016 (7 Tage)".
    static QString discountText(const Invoice& invoice, const InvoiceDiscount& discount);
};
