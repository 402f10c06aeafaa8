#include "Libpq.h"

#include <QLibrary>

const Libpq* Libpq::get() {
    static const Libpq* const resolved = []() -> const Libpq* {
        static QLibrary library(QStringLiteral("pq"), 5);
        // libpq and the some twenty libraries it draws in look up their symbols among their own first,
        // not among the program's fifty: loading takes half the time, on the start's path to the server.
        // A library preloaded into the program (a memory checker's allocator), or a sanitizer built in,
        // must see every call, so then the symbols are looked up as usual.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
        if (!qEnvironmentVariableIsSet("LD_PRELOAD"))
            library.setLoadHints(QLibrary::DeepBindHint);
#endif
        if (!library.load())
            return nullptr;
        static Libpq functions;
        bool all = true;
        const auto resolve = [&all](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
            all = all && function != nullptr;
        };
#define ZLV_RESOLVE(name) resolve(functions.name, #name);
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
