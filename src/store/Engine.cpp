#include "Engine.h"

#include "DataLocation.h"
#include "PostgresDialect.h"
#include "PostgresLink.h"
#include "ServerAddress.h"
#include "SqliteDialect.h"
#include "SqliteLink.h"

Engine Engine::at(const QString& location, int busyTimeoutMs) {
    if (DataLocation::isServer(location)) {
        const ServerAddress address = ServerAddress::parse(location);
        return {std::make_unique<PostgresLink>(address), std::make_unique<PostgresDialect>(),
                PostgresDialect::changeNotice()};
    }
    return {std::make_unique<SqliteLink>(location, busyTimeoutMs), std::make_unique<SqliteDialect>(),
            SqliteDialect::changeNotice()};
}
