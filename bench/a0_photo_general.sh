#!/usr/bin/env bash
# End to end: an RGB photo over a whole ISO A0 sheet (841 x 1189 mm) at 600 dpi through the
# driver's general raster road, plotted by xomplot to /dev/null. Prints wall time, peak RSS and
# the band budget, and fails when peak RSS exceeds the budget plus 64 MB.
# Usage: bench/a0_photo_general.sh [BUILD_DIR]   (default build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/default}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data"
# The driver plots only to a linked printer: the simulator on a loopback address of its own,
# linked by a configuration of this run (stopped at the end).
export XDG_CONFIG_HOME="$work/config"
"$build/tools/xomsim/xomsim" --address 127.0.0.94 --port 0 --jobs "$work/jobs" \
  --printer examples/printer-q1.txt >"$work/xomsim.log" 2>&1 &
printer=$!
trap 'kill "$printer" 2>/dev/null; wait "$printer" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 1 50); do
  grep -q "^xomsim: listening" "$work/xomsim.log" && break
  sleep 0.1
done
"$build/tools/xomplot/xomplot" --driver "$build/drivers/xomq15.hdi" \
  config set a0 MachineIpAddress 127.0.0.94 >/dev/null
python3 - "$work" "$build" <<'PY'
import os, resource, struct, subprocess, sys, time, zlib

work, build = sys.argv[1], sys.argv[2]
w, h = 1600, 2262  # the photo, stretched 12.3 times to the sheet's printable area

def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

# A smooth photo-like picture with noise, so that rows neither repeat nor compress to nothing.
raw = bytearray()
seed = 12345
for y in range(h):
    raw.append(0)
    row = bytearray(3 * w)
    for x in range(w):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        n = (seed >> 16) % 23
        row[3 * x] = (x * 255 // w + n) & 255
        row[3 * x + 1] = (y * 255 // h + n) & 255
        row[3 * x + 2] = ((x + y) * 127 // (w + h) + 64 + n) & 255
    raw += row
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(bytes(raw), 6)) + chunk(b"IEND", b"")
open(os.path.join(work, "photo.png"), "wb").write(png)

# Printable area of ISO A0 with 5 mm margins at 600 dpi: 19630 x 27846 dots.
open(os.path.join(work, "a0.drw"), "w").write(
    "drawing A0 photo\nimage kind=general at=0,0 size=19630,27846 : photo.png\n")
PY
# Measured from a small process: a fork of the one above would count its pixels as the plot's.
python3 - "$work" "$build" <<'PY'
import os, resource, subprocess, sys, time

work, build = sys.argv[1], sys.argv[2]
w, h = 1600, 2262

def available():
    fixed = os.environ.get("XOM_AVAILABLE_MEMORY")
    if fixed and fixed.isdigit():
        return int(fixed)
    for line in open("/proc/meminfo"):
        if line.startswith("MemAvailable:"):
            return int(line.split()[1]) * 1024
    return 0

budget = min(max(available() // 2, 512000), 10240000)
cmd = [os.path.join(build, "tools/xomplot/xomplot"),
       "--driver", os.path.join(build, "drivers/xomq15.hdi"), "--config", "a0",
       "--media", "ISO_A0", os.path.join(work, "a0.drw"), "--port", "/dev/null"]
start = time.monotonic()
r = subprocess.run(cmd, capture_output=True, text=True)
wall = time.monotonic() - start
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss * 1024
print(r.stdout.strip())
if r.returncode != 0:
    print(r.stderr, file=sys.stderr)
    sys.exit(r.returncode)
limit = budget + (64 << 20)
print(f"A0 RGB photo {w}x{h} at 600 dpi, general road: wall {wall:.2f} s, "
      f"peak RSS {peak / 2**20:.1f} MB, band budget {budget / 2**20:.1f} MB, "
      f"limit {limit / 2**20:.1f} MB: {'ok' if peak <= limit else 'OVER'}")
sys.exit(0 if peak <= limit else 1)
PY
