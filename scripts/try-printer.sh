#!/usr/bin/env bash
# Try the driver against a simulated Q Series printer with its whole printer data (users with
# passwords, accounting fields, media, trays, presets): starts examples/printer-q-series.txt as
# printer q1 of the private network of scripts/netns-printers.sh, then shows and runs what a new
# user types: discover the printer, read its data, link a configuration to it, give it a user and
# accounting values, plot examples/example.drw directly to it, and the simulator's summary of the
# job it received (with its verdict on the job's tokens).
#
#   bash scripts/try-printer.sh          # (as root, or it asks sudo) start and try it
#   bash scripts/try-printer.sh down     # stop the printers and remove the network
#
# XOMSIM_TRY_PRINTER names another description file; XOMSIM_NETNS_PREFIX and XOMSIM_NETNS_STATE
# are passed on to netns-printers.sh. xomplot runs as the user who called sudo, so
# the configuration "q4" lands in that user's own configuration folder.
set -uo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
if [ "$(id -u)" -ne 0 ]; then
  exec sudo XOMSIM_TRY_PRINTER="${XOMSIM_TRY_PRINTER:-}" XOMSIM="${XOMSIM:-}" \
    XOMSIM_NETNS_PREFIX="${XOMSIM_NETNS_PREFIX:-xom}" bash "$0" "$@"
fi
xomplot="$here/build/default/tools/xomplot/xomplot"
state="${XOMSIM_NETNS_STATE:-/tmp/xomsim-netns}"
printer="${XOMSIM_TRY_PRINTER:-$here/examples/printer-q-series.txt}"
address=10.200.0.11
client="${XOMSIM_NETNS_PREFIX:-xom}cli"
export XOMSIM_NETNS_STATE="$state"
[ -n "${XOMSIM:-}" ] || unset XOMSIM

if [ "${1:-up}" = down ]; then
  exec bash "$here/scripts/netns-printers.sh" down
fi
[ -x "$xomplot" ] || { echo "try-printer: no xomplot at $xomplot (build it first)" >&2; exit 1; }

XOMSIM_Q1_PRINTER="$printer" bash "$here/scripts/netns-printers.sh" up || exit 1

# Each command is shown as typed, then run in the client namespace as the calling user.
as_user=()
[ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ] && as_user=(sudo -u "$SUDO_USER" -H)
step() {
  echo
  echo "\$ sudo ip netns exec $client ${*/#$here\//}"
  ip netns exec "$client" "${as_user[@]}" "$@" || {
    echo "try-printer: that failed (exit status $?); the simulator's log: $state/q1-ipv4.log" >&2
    exit 1
  }
}

cd "$here" || exit 1
step "$xomplot" printers discover
step "$xomplot" printers info "$address"
step "$xomplot" config link q4 "$address"
step "$xomplot" config set q4 PlotDirectToIpAddress 1
step "$xomplot" config set q4 UserName alice
step "$xomplot" config set q4 UserValidPassword plotter1
step "$xomplot" config set q4 AcctInfo0Name P-1001
step "$xomplot" config set q4 AcctInfo0ValidPassword alpha
step "$xomplot" config set q4 AcctInfo1Name CC-100
step "$xomplot" --config q4 examples/example.drw

echo
echo "The simulated printer's summary of the job ($state/q1-ipv4.log):"
for _ in $(seq 1 20); do
  grep -q '^xomsim: job ' "$state/q1-ipv4.log" && break
  sleep 0.1
done
grep '^xomsim: job ' "$state/q1-ipv4.log" | tail -1
echo
echo "Stop it with: bash scripts/try-printer.sh down"
