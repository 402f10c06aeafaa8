#pragma once

#include <QString>
#include <QStringList>

class Random;

// Plausible German names for generated data: companies, towns with postcodes, streets, people,
// projects.
class GermanNames {
public:
    // The number of the cost group ("330") under which a trade's work is usually booked.
    static QString costGroupNumber(const QString& trade);
    static QString companyName(Random& random, const QString& trade);
    // "PLZ|Ort" of a town; the postcode is given with the town so that the two fit together.
    static QPair<QString, QString> postcodeAndTown(Random& random);
    static QString street(Random& random);
    static QString person(Random& random);
    static QString phone(Random& random, const QString& postcode);
    static QString email(const QString& companyName);
    static QString projectName(Random& random, int number);
    static QStringList paymentKinds();
    static QStringList orderKinds();
};
