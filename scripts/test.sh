#!/usr/bin/env bash
# Sets up, builds and runs every test through CTest: the store tests and the master-data screens on the
# database file and, inside a throwaway PostgreSQL server that pg_virtualenv starts and removes, on the
# server too.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export CI="${CI:-true}"
pg_virtualenv -t -v 15 -o fsync=off -o synchronous_commit=off -o full_page_writes=off ctest --test-dir build --output-on-failure -j2 "$@"
