#!/usr/bin/env bash
# Sets up, builds and starts Zelvora. The build places an empty database ZLV.mdb beside the program
# (build/bin) when none is there; an existing one is never touched.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
exec build/bin/Zlv
