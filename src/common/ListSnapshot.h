#pragma once

#include <QList>
#include <QPair>
#include <QPicture>
#include <QString>
#include <QStringList>

// What a list shows, handed to printing and export: the kind of list, its visible headings and rows as
// displayed (texts, in display order), and the heading values (project name, totals, filter).
struct ListSnapshot {
    enum class Kind {
        Payments,
        CompanyEstimates,
        Evaluation,
        CostReport,
        CompanyList,
        Charts,
        Invoice,
        Journal,
        // The bookings waiting for the login's next step of the sign-off, across projects.
        SignOffs,
        // Payment orders, one a page: the headings name the fields, each row is one order.
        PaymentOrder,
        // The construction withholding tax per month and tax office, with the payments under each.
        Withholdings,
        // The statements of withholding tax for the companies, one a page like the payment orders.
        WithholdingStatement,
        // The received invoices waiting for payment, by due day ("Fälligkeiten").
        Due,
        // A project's securities per company and kind.
        Securities
    };

    Kind kind = Kind::Payments;
    QStringList headings;
    QList<QStringList> rows;
    // Columns shown right-aligned (amounts).
    QList<int> rightAligned;
    // Named heading values in the order a report shows them, such as {"Projekt", "Neubau Schule"}.
    QList<QPair<QString, QString>> values;
    // Charts, as drawn for the page, left to right.
    QList<QPicture> pictures;
    // The list could not be read afresh, and the user was told why: nothing is printed or written.
    bool unreadable = false;

    QString value(const QString& name) const {
        for (const auto& [key, text] : values)
            if (key == name)
                return text;
        return QString();
    }
};
