#pragma once

#include "EngineLibrary.h"

#include <libpq-fe.h>

// Every function of libpq the engine calls itself.
// clang-format off
#define ZLV_LIBPQ_FUNCTIONS(X) \
    X(PQclear) X(PQcmdTuples) X(PQencryptPasswordConn) X(PQerrorMessage) X(PQexec) X(PQexecParams) \
    X(PQexecPrepared) X(PQfreemem) X(PQftype) X(PQgetResult) X(PQgetisnull) X(PQgetlength) X(PQgetvalue) \
    X(PQnfields) X(PQntuples) X(PQprepare) X(PQputCopyData) X(PQputCopyEnd) X(PQresultErrorField) \
    X(PQresultErrorMessage) X(PQresultStatus) X(PQsendQueryParams) X(PQsetSingleRowMode) X(PQstatus) \
    X(PQunescapeBytea)
// clang-format on

// The functions of libpq that the engine calls itself. The engine loads libpq before Qt's driver for the
// server, which then finds it loaded. A program working on a file never loads libpq (nor what it draws
// in: TLS, Kerberos, LDAP), which keeps its start quick.
struct Libpq {
    ZLV_ENGINE_FUNCTIONS(ZLV_LIBPQ_FUNCTIONS)

    // The resolved functions, or nullptr when libpq cannot be loaded here.
    static const Libpq* get();
};
