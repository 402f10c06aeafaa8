#include "GermanCollation.h"

#include "GermanCollator.h"
#include "SqliteLibrary.h"

#include <QByteArrayView>
#include <QCollator>

namespace {

int compare(void* collator, int leftLength, const void* left, int rightLength, const void* right) {
    const QString a = QString::fromUtf8(QByteArrayView(static_cast<const char*>(left), leftLength));
    const QString b = QString::fromUtf8(QByteArrayView(static_cast<const char*>(right), rightLength));
    return static_cast<QCollator*>(collator)->compare(a, b);
}

void destroy(void* collator) {
    delete static_cast<QCollator*>(collator);
}

} // namespace

bool GermanCollation::registerOn(sqlite3* connection) {
    if (!connection)
        return false;
    auto* collator = new QCollator(GermanCollator::make());
    // Once registered, the connection owns the collator; a failed registration leaves it to us.
    if (sqlite().sqlite3_create_collation_v2(connection, "GERMAN", SQLITE_UTF8, collator, compare, destroy) ==
        SQLITE_OK)
        return true;
    destroy(collator);
    return false;
}
