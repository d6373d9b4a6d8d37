#!/usr/bin/env bash
# Rewrites every golden job stream from what the code writes now (default preset), then shows
# which ones changed. Decode and inspect a changed job before committing it: the golden tests
# themselves also decode each job and check its content.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default
XOM_UPDATE_GOLDEN=1 ctest --preset default -R 'Golden|golden' >/dev/null || true
ctest --preset default -R 'Golden|golden'
git status --short -- '*/golden/*'
