#include "Libpq.h"

#include "EngineLibrary.h"

const Libpq* Libpq::get() {
    static const Libpq* const resolved = []() -> const Libpq* {
        static QLibrary library(QStringLiteral("pq"), 5);
        if (!EngineLibrary::load(library))
            return nullptr;
        static Libpq functions;
        bool all = true;
#define ZLV_RESOLVE(name) all = EngineLibrary::resolve(library, functions.name, #name) && all;
        ZLV_RESOLVE(PQclear)
        ZLV_RESOLVE(PQcmdTuples)
        ZLV_RESOLVE(PQencryptPasswordConn)
        ZLV_RESOLVE(PQerrorMessage)
        ZLV_RESOLVE(PQexec)
        ZLV_RESOLVE(PQexecParams)
        ZLV_RESOLVE(PQexecPrepared)
        ZLV_RESOLVE(PQfreemem)
        ZLV_RESOLVE(PQftype)
        ZLV_RESOLVE(PQgetResult)
        ZLV_RESOLVE(PQgetisnull)
        ZLV_RESOLVE(PQgetlength)
        ZLV_RESOLVE(PQgetvalue)
        ZLV_RESOLVE(PQnfields)
        ZLV_RESOLVE(PQntuples)
        ZLV_RESOLVE(PQprepare)
        ZLV_RESOLVE(PQputCopyData)
        ZLV_RESOLVE(PQputCopyEnd)
        ZLV_RESOLVE(PQresultErrorField)
        ZLV_RESOLVE(PQresultErrorMessage)
        ZLV_RESOLVE(PQresultStatus)
        ZLV_RESOLVE(PQsendQueryParams)
        ZLV_RESOLVE(PQsetSingleRowMode)
        ZLV_RESOLVE(PQstatus)
        ZLV_RESOLVE(PQunescapeBytea)
#undef ZLV_RESOLVE
        return all ? &functions : nullptr;
    }();
    return resolved;
}
