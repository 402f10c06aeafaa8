#include "JournalChanges.h"

#include "DayNumber.h"
#include "Money.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

bool isAmount(const QString& field) {
    return field == u"Betrag" || field == u"ArchitektKosten" || field == u"NachtragKosten" ||
           field == u"Budget";
}

bool isDay(const QString& field) {
    return field == u"AnweisungVom" || field == u"RechnungVom" || field == u"ArchitektDatum" ||
           field == u"NachtragDatum" || field == u"Datumwert";
}

QJsonObject objectOf(const QString& json) {
    return json.isEmpty() ? QJsonObject() : QJsonDocument::fromJson(json.toUtf8()).object();
}

QString plain(const QJsonValue& value) {
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Double: {
        const double number = value.toDouble();
        const qint64 whole = qint64(number);
        return double(whole) == number ? QString::number(whole) : QString::number(number, 'g', 15);
    }
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QJsonValue::Object:
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    default:
        return QString();
    }
}

QString single(const QString& field, const QJsonValue& value) {
    if (isAmount(field)) {
        const std::optional<Money> amount =
            value.isDouble() ? Money::fromStoredReal(value.toDouble()) : Money::parseStored(value.toString());
        if (amount)
            return amount->toGerman();
    } else if (isDay(field)) {
        const std::optional<int> day = value.isDouble() ? DayNumber::fromStoredReal(value.toDouble())
                                                        : DayNumber::parseStored(value.toString());
        if (day)
            return DayNumber::format(*day);
    }
    return plain(value);
}

} // namespace

JournalChanges::Parsed JournalChanges::parse(const JournalEntry& entry) {
    Parsed parsed{{}, objectOf(entry.oldValues), objectOf(entry.newValues)};
    parsed.fields = parsed.before.keys();
    for (const QString& field : parsed.after.keys())
        if (!parsed.before.contains(field))
            parsed.fields.append(field);
    return parsed;
}

QList<JournalChanges::Line> JournalChanges::lines(const JournalEntry& entry) {
    const Parsed parsed = parse(entry);
    QList<Line> lines;
    for (const QString& field : parsed.fields)
        lines.append(
            {field, text(field, parsed.before.value(field)), text(field, parsed.after.value(field))});
    return lines;
}

QString JournalChanges::text(const QString& field, const QJsonValue& value) {
    if (!value.isArray())
        return single(field, value);
    QStringList texts;
    for (const QJsonValue& each : value.toArray())
        texts.append(single(field, each));
    return texts.join(QStringLiteral("; "));
}

QString JournalChanges::what(const JournalEntry& entry) {
    if (entry.action == u"Wiederhergestellt" || entry.task == u"Wiederhergestellt")
        return QStringLiteral("wiederhergestellt");
    if (entry.action == u"Neu")
        return QStringLiteral("gebucht");
    if (entry.action == u"Gelöscht")
        return entry.task == u"Korrektur" ? QStringLiteral("ersetzt (Korrektur)")
                                          : QStringLiteral("gelöscht");
    if (entry.action == u"Geändert")
        return QStringLiteral("geändert");
    return entry.action;
}
