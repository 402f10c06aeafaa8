#pragma once

#include <QString>
#include <QtGlobal>

// A row of tblFirma. Trade and cost group are held by name, as the file stores them.
struct Company {
    qint64 id = 0;
    QString name;      // Name
    QString street;    // Straße
    QString postcode;  // PLZ
    QString town;      // Ort
    QString phone;     // Telefon1
    QString fax;       // Telefon2
    QString mobile;    // Mobil
    QString email;     // eMail
    QString contact;   // Ansprechpartner
    QString trade;     // GewerkID: the trade's name
    QString costGroup; // KostengruppeID: the cost group's name
};
Q_DECLARE_TYPEINFO(Company, Q_RELOCATABLE_TYPE);
