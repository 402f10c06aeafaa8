#include "DataLocation.h"

#include "ServerAddress.h"

bool DataLocation::isServer(const QString& location) {
    return ServerAddress::isServerLocation(location);
}

QString DataLocation::placeOf(const QString& location) {
    return ServerAddress::parse(location).place();
}

QString DataLocation::userOf(const QString& location) {
    return ServerAddress::parse(location).user;
}

void DataLocation::rememberLogin(const QString& location, const QString& user, const QString& password) {
    ServerAddress::rememberPassword(location, user, password);
}
