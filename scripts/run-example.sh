#!/usr/bin/env bash
# Installs, builds, and plots the bundled example drawing with the generation-15 driver. The
# driver plots only to a linked printer (it reads the printer's data before each plot), so the
# example links a configuration to the printer simulator, started on a loopback address of its
# own for the plot and stopped again at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
work="$PWD/build/example"
out="$work/example.plt"
address=127.0.0.200
mkdir -p "$work/jobs"
build/default/tools/xomsim/xomsim --address "$address" --port 0 --jobs "$work/jobs" \
  --printer examples/printer-q1.txt >"$work/xomsim.log" 2>&1 &
printer=$!
trap 'kill "$printer" 2>/dev/null; wait "$printer" 2>/dev/null || true' EXIT
for _ in $(seq 1 50); do
  grep -q "^xomsim: listening" "$work/xomsim.log" && break
  kill -0 "$printer" 2>/dev/null || { cat "$work/xomsim.log" >&2; exit 1; }
  sleep 0.1
done
# The example's configuration lives beside the job, not among the user's own.
xomplot=(env XDG_CONFIG_HOME="$work/config" build/default/tools/xomplot/xomplot
  --driver build/default/drivers/xomq15.hdi)
"${xomplot[@]}" config link example "$address" >/dev/null
"${xomplot[@]}" --config example examples/example.drw -o "$out"
echo "Job file: $out"
