#!/usr/bin/env bash
# Installs, builds and runs the whole test suite: the default build, then ASan+UBSan, then a
# short fuzz run of every fuzz target over its committed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
for preset in default asan; do
  echo "=== $preset ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
bash scripts/run-fuzz.sh 30
