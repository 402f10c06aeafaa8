#include "ServerAddress.h"

#include <QHash>
#include <QUrl>
#include <QUrlQuery>

namespace {

struct Login {
    QString user;
    QString password;
};

// Passwords typed at this workstation, by server and database; never written anywhere.
QHash<QString, Login>& typedLogins() {
    static QHash<QString, Login> logins;
    return logins;
}

QString loginKey(const ServerAddress& address) {
    return address.host + u':' + QString::number(address.port) + u'/' + address.database;
}

QString quoted(QString value) {
    value.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + value + u'\'';
}

// libpq's parameters an address may carry beyond host, port, database and user; anything else (a
// misspelling, a name with a blank or "=" in it, a secret) is refused rather than handed on.
bool isKnownParameter(const QString& key) {
    static const QStringList known = {
        QStringLiteral("hostaddr"),
        QStringLiteral("connect_timeout"),
        QStringLiteral("options"),
        QStringLiteral("application_name"),
        QStringLiteral("keepalives"),
        QStringLiteral("keepalives_idle"),
        QStringLiteral("keepalives_interval"),
        QStringLiteral("keepalives_count"),
        QStringLiteral("tcp_user_timeout"),
        QStringLiteral("target_session_attrs"),
        QStringLiteral("passfile"),
        QStringLiteral("channel_binding"),
        QStringLiteral("gssencmode"),
        QStringLiteral("krbsrvname"),
        QStringLiteral("requirepeer"),
        QStringLiteral("sslmode"),
        QStringLiteral("sslcert"),
        QStringLiteral("sslkey"),
        QStringLiteral("sslrootcert"),
        QStringLiteral("sslcrl"),
        QStringLiteral("sslcrldir"),
        QStringLiteral("sslsni"),
        QStringLiteral("ssl_min_protocol_version"),
        QStringLiteral("ssl_max_protocol_version"),
    };
    return known.contains(key);
}

} // namespace

bool ServerAddress::isServerLocation(const QString& location) {
    const QString trimmed = location.trimmed();
    return trimmed.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           trimmed.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

ServerAddress ServerAddress::parse(const QString& location) {
    ServerAddress address;
    const QUrl url(location.trimmed(), QUrl::TolerantMode);
    if (!isServerLocation(location) || !url.isValid()) {
        address.m_problem = QStringLiteral("„%1“ ist keine gültige Adresse eines Datenbankservers "
                                           "(Beispiel: postgresql://server.bauamt.local/zlv).")
                                .arg(location.trimmed());
        return address;
    }
    address.host = url.host();
    address.port = url.port(-1);
    address.database = url.path().mid(1);
    address.user = url.userName();
    // The query's names and values are decoded once, here; a name is then taken as it stands.
    if (!url.password().isEmpty()) {
        address.m_problem = QStringLiteral("Die Adresse des Datenbankservers darf kein Passwort enthalten; "
                                           "es gehört in die Passwortdatei ~/.pgpass.");
        return address;
    }
    const QList<QPair<QString, QString>> items = QUrlQuery(url).queryItems(QUrl::FullyDecoded);
    for (const auto& [key, value] : items) {
        if (key == QLatin1String("host"))
            address.host = value;
        else if (key == QLatin1String("port"))
            address.port = value.toInt();
        else if (key == QLatin1String("dbname"))
            address.database = value;
        else if (key == QLatin1String("user"))
            address.user = value;
        else if (key == QLatin1String("password") || key == QLatin1String("sslpassword"))
            address.m_problem = QStringLiteral("Die Adresse des Datenbankservers darf kein Passwort "
                                               "enthalten; es gehört in die Passwortdatei ~/.pgpass.");
        else if (isKnownParameter(key))
            address.options += key + u'=' + quoted(value);
        else
            address.m_problem = QStringLiteral("Die Adresse des Datenbankservers nennt den unbekannten "
                                               "Parameter „%1“; erlaubt sind die Verbindungsparameter "
                                               "von PostgreSQL wie sslmode oder connect_timeout.")
                                    .arg(key);
        if (!address.m_problem.isEmpty())
            return address;
    }
    if (address.database.isEmpty() && address.m_problem.isEmpty())
        address.m_problem = QStringLiteral("Die Adresse „%1“ nennt keine Datenbank "
                                           "(Beispiel: postgresql://server.bauamt.local/zlv).")
                                .arg(location.trimmed());
    if (address.user.isEmpty())
        address.user = qEnvironmentVariable("USER", qEnvironmentVariable("LOGNAME"));
    const Login login = typedLogins().value(loginKey(address));
    if (!login.password.isEmpty() && (login.user == address.user || url.userName().isEmpty())) {
        address.user = login.user;
        address.password = login.password;
    }
    return address;
}

void ServerAddress::rememberPassword(const QString& location, const QString& user, const QString& password) {
    const ServerAddress address = parse(location);
    typedLogins().insert(loginKey(address), {user, password});
}

QString ServerAddress::place() const {
    QString server = host.isEmpty() ? QStringLiteral("localhost") : host;
    if (port > 0)
        server += u':' + QString::number(port);
    return QStringLiteral("%1 auf %2").arg(database, server);
}

QString ServerAddress::connectionString() const {
    QStringList parts;
    if (!host.isEmpty())
        parts += QStringLiteral("host=") + quoted(host);
    if (port > 0)
        parts += QStringLiteral("port=") + QString::number(port);
    parts += QStringLiteral("dbname=") + quoted(database);
    if (!user.isEmpty())
        parts += QStringLiteral("user=") + quoted(user);
    return (parts + options).join(u' ');
}
