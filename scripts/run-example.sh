#!/usr/bin/env bash
# Installs, builds, and plots the bundled example drawing with the generation-15 driver.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
out="$PWD/build/example/example.plt"
mkdir -p "$(dirname "$out")"
build/default/tools/xomplot/xomplot --driver build/default/drivers/xomq15.hdi \
  examples/example.drw -o "$out"
echo "Job file: $out"
