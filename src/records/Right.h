#pragma once

#include <QString>

// What a login may do on the server; each right is a group role of the database.
enum class Right { Read, Record, Confirm, Order, Administer };

// The German word of a right, as the server's role and the user read it.
inline QString rightWord(Right right) {
    switch (right) {
    case Right::Read:
        return QStringLiteral("lesen");
    case Right::Record:
        return QStringLiteral("erfassen");
    case Right::Confirm:
        return QStringLiteral("feststellen");
    case Right::Order:
        return QStringLiteral("anordnen");
    case Right::Administer:
        return QStringLiteral("verwalten");
    }
    return {};
}
