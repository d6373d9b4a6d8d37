#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds over its
# committed corpus (tests/fuzz/corpus/<target>). New findings are left in build/fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
shopt -s nullglob
targets=(build/fuzz/tests/fuzz/fuzz_*)
if ((${#targets[@]} == 0)); then echo "no fuzz targets"; exit 0; fi
mkdir -p build/fuzz/findings
for t in "${targets[@]}"; do
  name=$(basename "$t")
  corpus=tests/fuzz/corpus/${name#fuzz_}
  work=build/fuzz/corpus/${name#fuzz_}
  mkdir -p "$work"
  [ -d "$corpus" ] && cp -n "$corpus"/* "$work"/ 2>/dev/null || true
  echo "=== $name (${seconds}s) ==="
  "$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix=build/fuzz/findings/"$name"- "$work" 2>&1 | tail -n 3
done
