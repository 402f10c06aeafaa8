#pragma once

#include <libpq-fe.h>

// The functions of libpq that the engine calls itself. The engine loads libpq before Qt's driver for the
// server, which then finds it loaded. A program working on a file never loads libpq (nor what it draws
// in: TLS, Kerberos, LDAP), which keeps its start quick.
struct Libpq {
#define ZLV_LIBPQ_FUNCTION(name) decltype(&::name) name = nullptr;
    ZLV_LIBPQ_FUNCTION(PQclear)
    ZLV_LIBPQ_FUNCTION(PQcmdTuples)
    ZLV_LIBPQ_FUNCTION(PQencryptPasswordConn)
    ZLV_LIBPQ_FUNCTION(PQerrorMessage)
    ZLV_LIBPQ_FUNCTION(PQexec)
    ZLV_LIBPQ_FUNCTION(PQexecParams)
    ZLV_LIBPQ_FUNCTION(PQexecPrepared)
    ZLV_LIBPQ_FUNCTION(PQfreemem)
    ZLV_LIBPQ_FUNCTION(PQftype)
    ZLV_LIBPQ_FUNCTION(PQgetResult)
    ZLV_LIBPQ_FUNCTION(PQgetisnull)
    ZLV_LIBPQ_FUNCTION(PQgetlength)
    ZLV_LIBPQ_FUNCTION(PQgetvalue)
    ZLV_LIBPQ_FUNCTION(PQnfields)
    ZLV_LIBPQ_FUNCTION(PQntuples)
    ZLV_LIBPQ_FUNCTION(PQprepare)
    ZLV_LIBPQ_FUNCTION(PQputCopyData)
    ZLV_LIBPQ_FUNCTION(PQputCopyEnd)
    ZLV_LIBPQ_FUNCTION(PQresultErrorField)
    ZLV_LIBPQ_FUNCTION(PQresultErrorMessage)
    ZLV_LIBPQ_FUNCTION(PQresultStatus)
    ZLV_LIBPQ_FUNCTION(PQsendQueryParams)
    ZLV_LIBPQ_FUNCTION(PQsetSingleRowMode)
    ZLV_LIBPQ_FUNCTION(PQstatus)
    ZLV_LIBPQ_FUNCTION(PQunescapeBytea)
#undef ZLV_LIBPQ_FUNCTION

    // The resolved functions, or nullptr when libpq cannot be loaded here.
    static const Libpq* get();
};
