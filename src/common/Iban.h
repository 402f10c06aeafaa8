#pragma once

#include <QString>

// An international bank account number (ISO 13616) and the bank's BIC (ISO 9362): the form in which they
// are stored and compared, the check of an entry with the reason in German, and the IBAN as it is shown.
class Iban {
public:
    // Without blanks, in capitals.
    static QString normalised(const QString& text);
    // Empty when text is a valid IBAN (blanks and small letters allowed); otherwise why it is not.
    static QString problem(const QString& text);
    static bool valid(const QString& text) { return problem(text).isEmpty(); }
    // In groups of four ("DE89 3704 0044 0532 0130 00").
    static QString grouped(const QString& text);
    // Empty when text is a BIC of 8 or 11 places or empty (a payment within the SEPA needs none);
    // otherwise why it is not.
    static QString bicProblem(const QString& text);
};
