#include "Iban.h"

#include <QChar>

namespace {

// A country of the IBAN register: its code, the IBAN's length there, its German name and, where the
// register fixes it, the form of its national part ("4a10n": four letters, then ten digits; c: letter or
// digit).
struct Country {
    const char* code;
    int length;
    const char* name;
    const char* bban;
};

const Country kCountries[] = {
    {"AD", 24, "Andorra", "8n12c"},
    {"AE", 23, "die Vereinigten Arabischen Emirate", "19n"},
    {"AL", 28, "Albanien", "8n16c"},
    {"AT", 20, "Österreich", "16n"},
    {"AZ", 28, "Aserbaidschan", "4a20c"},
    {"BA", 20, "Bosnien und Herzegowina", "16n"},
    {"BE", 16, "Belgien", "12n"},
    {"BG", 22, "Bulgarien", "4a6n8c"},
    {"BH", 22, "Bahrain", "4a14c"},
    {"BR", 29, "Brasilien", "23n1a1c"},
    {"CH", 21, "die Schweiz", "5n12c"},
    {"CY", 28, "Zypern", "8n16c"},
    {"CZ", 24, "Tschechien", "20n"},
    {"DE", 22, "Deutschland", "18n"},
    {"DK", 18, "Dänemark", "14n"},
    {"EE", 20, "Estland", "16n"},
    {"ES", 24, "Spanien", "20n"},
    {"FI", 18, "Finnland", "14n"},
    {"FO", 18, "die Färöer", "14n"},
    {"FR", 27, "Frankreich", "10n11c2n"},
    {"GB", 22, "das Vereinigte Königreich", "4a14n"},
    {"GE", 22, "Georgien", "2a16n"},
    {"GI", 23, "Gibraltar", "4a15c"},
    {"GL", 18, "Grönland", "14n"},
    {"GR", 27, "Griechenland", "7n16c"},
    {"HR", 21, "Kroatien", "17n"},
    {"HU", 28, "Ungarn", "24n"},
    {"IE", 22, "Irland", "4a14n"},
    {"IL", 23, "Israel", "19n"},
    {"IS", 26, "Island", "22n"},
    {"IT", 27, "Italien", "1a10n12c"},
    {"KZ", 20, "Kasachstan", "3n13c"},
    {"LI", 21, "Liechtenstein", "5n12c"},
    {"LT", 20, "Litauen", "16n"},
    {"LU", 20, "Luxemburg", "3n13c"},
    {"LV", 21, "Lettland", "4a13c"},
    {"MC", 27, "Monaco", "10n11c2n"},
    {"MD", 24, "Moldau", "20c"},
    {"ME", 22, "Montenegro", "18n"},
    {"MK", 19, "Nordmazedonien", "3n10c2n"},
    {"MT", 31, "Malta", "4a5n18c"},
    {"NL", 18, "die Niederlande", "4a10n"},
    {"NO", 15, "Norwegen", "11n"},
    {"PL", 28, "Polen", "24n"},
    {"PT", 25, "Portugal", "21n"},
    {"RO", 24, "Rumänien", "4a16c"},
    {"RS", 22, "Serbien", "18n"},
    {"SA", 24, "Saudi-Arabien", "2n18c"},
    {"SE", 24, "Schweden", "20n"},
    {"SI", 19, "Slowenien", "15n"},
    {"SK", 24, "die Slowakei", "20n"},
    {"SM", 27, "San Marino", "1a10n12c"},
    {"TR", 26, "die Türkei", "5n17c"},
    {"UA", 29, "die Ukraine", "6n19c"},
    {"VA", 22, "die Vatikanstadt", "18n"},
    {"XK", 20, "Kosovo", "16n"},
};

const Country* countryOf(const QString& code) {
    for (const Country& country : kCountries) {
        if (code == QLatin1String(country.code))
            return &country;
    }
    return nullptr;
}

bool asciiLetter(QChar c) {
    return c >= u'A' && c <= u'Z';
}

bool asciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Where the national part of iban breaks the country's form: the first place (counted from 1 in the
// whole IBAN) and whether a digit (rather than a letter) belongs there; nothing when it keeps the form.
struct Misplaced {
    int place = 0;
    bool digit = false;
};

Misplaced misplaced(const QString& iban, const char* bban) {
    int at = 4;
    for (const char* part = bban; *part;) {
        int count = 0;
        while (*part >= '0' && *part <= '9')
            count = count * 10 + (*part++ - '0');
        const char kind = *part++;
        for (int i = 0; i < count && at < iban.size(); ++i, ++at) {
            const QChar c = iban.at(at);
            if (kind == 'n' && !asciiDigit(c))
                return {at + 1, true};
            if (kind == 'a' && !asciiLetter(c))
                return {at + 1, false};
        }
    }
    return {};
}

// The remainder modulo 97 of the IBAN read as one number, its first four places moved to the end and each
// letter counted as two digits (A = 10 ... Z = 35); taken place by place, so it never grows beyond 9,700.
int remainder97(const QString& iban) {
    const QString rearranged = iban.mid(4) + iban.left(4);
    int remainder = 0;
    for (const QChar c : rearranged) {
        if (asciiDigit(c))
            remainder = (remainder * 10 + (c.unicode() - u'0')) % 97;
        else
            remainder = (remainder * 100 + (c.unicode() - u'A' + 10)) % 97;
    }
    return remainder;
}

} // namespace

QString Iban::normalised(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (const QChar c : text) {
        if (!c.isSpace())
            plain += c.toUpper();
    }
    return plain;
}

QString Iban::problem(const QString& text) {
    const QString iban = normalised(text);
    if (iban.isEmpty())
        return QStringLiteral("Die IBAN fehlt.");
    for (const QChar c : iban) {
        if (!asciiLetter(c) && !asciiDigit(c))
            return QStringLiteral("Die IBAN enthält „%1“; erlaubt sind nur Buchstaben und Ziffern.").arg(c);
    }
    if (iban.size() < 2 || !asciiLetter(iban.at(0)) || !asciiLetter(iban.at(1)))
        return QStringLiteral("Eine IBAN beginnt mit dem Kürzel ihres Landes aus zwei Buchstaben (etwa DE).");
    const Country* country = countryOf(iban.left(2));
    if (!country)
        return QStringLiteral("„%1“ ist kein Länderkürzel, unter dem IBANs vergeben werden.")
            .arg(iban.left(2));
    const QString name = QString::fromUtf8(country->name);
    if (iban.size() != country->length)
        return QStringLiteral("Die IBAN ist mit %1 Stellen zu %2 für %3 (%4 Stellen).")
            .arg(iban.size())
            .arg(iban.size() < country->length ? QStringLiteral("kurz") : QStringLiteral("lang"), name)
            .arg(country->length);
    if (!asciiDigit(iban.at(2)) || !asciiDigit(iban.at(3)))
        return QStringLiteral("Auf das Länderkürzel folgen zwei Prüfziffern; „%1“ sind keine Ziffern.")
            .arg(iban.mid(2, 2));
    const Misplaced wrong = misplaced(iban, country->bban);
    if (wrong.place > 0)
        return QStringLiteral("An Stelle %1 der IBAN steht „%2“; für %3 gehört dort %4 hin.")
            .arg(wrong.place)
            .arg(iban.at(wrong.place - 1))
            .arg(name, wrong.digit ? QStringLiteral("eine Ziffer") : QStringLiteral("ein Buchstabe"));
    if (remainder97(iban) != 1)
        return QStringLiteral("Die Prüfziffern der IBAN stimmen nicht: ein Zeichen ist falsch oder zwei "
                              "sind vertauscht.");
    return QString();
}

QString Iban::grouped(const QString& text) {
    const QString iban = normalised(text);
    QString shown;
    for (int i = 0; i < iban.size(); i += 4) {
        if (i > 0)
            shown += u' ';
        shown += iban.mid(i, 4);
    }
    return shown;
}

QString Iban::bicProblem(const QString& text) {
    const QString bic = normalised(text);
    if (bic.isEmpty())
        return QString();
    if (bic.size() != 8 && bic.size() != 11)
        return QStringLiteral("Die BIC hat 8 oder 11 Stellen, nicht %1.").arg(bic.size());
    for (int i = 0; i < bic.size(); ++i) {
        const QChar c = bic.at(i);
        if (i < 6 && !asciiLetter(c))
            return QStringLiteral("Die BIC beginnt mit sechs Buchstaben (Bank und Land); an Stelle %1 steht "
                                  "„%2“.")
                .arg(i + 1)
                .arg(c);
        if (!asciiLetter(c) && !asciiDigit(c))
            return QStringLiteral("Die BIC enthält „%1“; erlaubt sind nur Buchstaben und Ziffern.").arg(c);
    }
    return QString();
}
