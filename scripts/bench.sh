#!/usr/bin/env bash
# Builds the default preset and runs every benchmark program, printing its figures.
# Usage: scripts/bench.sh [MIN_TIME_SECONDS]   (default 1)
set -euo pipefail
cd "$(dirname "$0")/.."
min_time="${1:-1}"
cmake --preset default >/dev/null
cmake --build --preset default
status=0
for src in bench/*_bench.cpp; do
  name="$(basename "$src" .cpp)"
  exe="build/default/bench/$name"
  echo "=== $name ==="
  if [[ ! -x "$exe" ]]; then
    echo "missing $exe" >&2
    status=1
    continue
  fi
  "$exe" --benchmark_min_time="$min_time" || status=1
done
# Whole plots measured from outside (wall time and peak RSS of xomplot).
for script in bench/*.sh; do
  echo "=== $(basename "$script" .sh) ==="
  bash "$script" build/default || status=1
done
exit "$status"
