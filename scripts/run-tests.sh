#!/usr/bin/env bash
# Installs, checks the format, builds and runs the whole test suite: the default build, then
# ASan+UBSan, then the threaded network tests alone under ThreadSanitizer, then clang-tidy over every source, then a short fuzz run of every fuzz target over
# its committed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# Compiled objects are shared between clones of the tree on one machine: paths are hashed relative
# to the tree's root, so another checkout of the same sources hits the cache.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-30G}
started=$SECONDS
stage() { echo "=== $1 (at $(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s) ==="; }
bash scripts/format.sh --check
passed=0
for preset in default asan; do
  stage "$preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" | tee "build/ctest-$preset.log"
  count=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9][0-9]*\).*/\1/p' "build/ctest-$preset.log")
  passed=$((passed + ${count:-0}))
done
# The I/O manager's workers share sockets and contexts with the calling thread: its tests run under
# ThreadSanitizer too. Only that test program is built in the tsan tree.
stage "tsan (network)"
cmake --preset tsan >/dev/null
cmake --build --preset tsan --target jux_network_tests
TSAN_OPTIONS="halt_on_error=1 ${TSAN_OPTIONS:-}" build/tsan/tests/juxcommoncode/JuxNetwork/jux_network_tests \
  --gtest_brief=1 | tee build/tsan/network-tests.log
count=$(sed -n 's/^\[  PASSED  \] \([0-9][0-9]*\) tests\?\..*/\1/p' build/tsan/network-tests.log)
passed=$((passed + ${count:-0}))
stage lint
bash scripts/lint.sh --all
stage fuzz
bash scripts/run-fuzz.sh 30
stage done
echo "tests: $passed passed, 0 failed"
