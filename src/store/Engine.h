#pragma once

#include "ChangeNotice.h"
#include "Dialect.h"
#include "Link.h"

#include <memory>
#include <QString>

// The engine the data of a location live in, as its pieces: the SQLite file of one workstation
// (sqlite/) or the PostgreSQL server of several (postgres/). Database holds one; repositories, screens
// and reports never see it.
struct Engine {
    std::unique_ptr<Link> link;
    std::unique_ptr<Dialect> dialect;
    ChangeNotice changes;

    // busyTimeoutMs: how long a statement waits for a file that another program holds.
    static Engine at(const QString& location, int busyTimeoutMs);
};
