#!/bin/sh
# Runs a test on the PostgreSQL server that the libpq environment names (PGHOST, PGPORT, PGUSER,
# PGDATABASE, as pg_virtualenv sets them). Without a server the test is skipped (exit code 77), unless
# CI=true, where a missing server fails the run.
if ! pg_isready -q >/dev/null 2>&1; then
    echo "No PostgreSQL server answers: the server cases are skipped. Run them with a throwaway" \
         "server: pg_virtualenv ctest --test-dir build" >&2
    [ "$CI" = true ] && exit 1
    exit 77
fi
ZLV_TEST_ENGINE=server exec "$@"
