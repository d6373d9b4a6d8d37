#!/usr/bin/env bash
# A small private network for trying printer discovery without printers: a client namespace
# "xomcli" and two printer namespaces "xomq1" and "xomq2" on one link (a bridge in namespace
# "xomlink"), IPv4 10.200.0.0/24 with broadcast and IPv6 link-local addresses. Each printer
# namespace runs xomsim with an example printer description, once on its IPv4 address and once on
# its IPv6 link-local address, so that both kinds of discovery find it.
#
#   sudo scripts/netns-printers.sh up      # (re)creates everything and starts the printers
#   sudo scripts/netns-printers.sh status  # what runs
#   sudo scripts/netns-printers.sh down    # stops the printers and removes everything
#
# Addresses: client 10.200.0.1 / fe80::1, printer q1 10.200.0.11 / fe80::11, printer q2
# 10.200.0.12 / fe80::12, each on the namespace's interface eth0. xomsim's output goes to
# $XOMSIM_NETNS_STATE (default /tmp/xomsim-netns)/<printer>-<ipv4|ipv6>.log, received jobs to
# .../jobs-<printer>-<ipv4|ipv6>. XOMSIM names the simulator binary (default: the default build's);
# XOMSIM_NETNS_PREFIX (default "xom") begins every namespace name, so tests can build their own;
# XOMSIM_Q1_PRINTER and XOMSIM_Q2_PRINTER name other description files for the two printers;
# XOMSIM_Q1_OPTIONS and XOMSIM_Q2_OPTIONS give them further xomsim options (e.g. "--sleep").
set -uo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
xomsim="${XOMSIM:-$here/build/default/tools/xomsim/xomsim}"
state="${XOMSIM_NETNS_STATE:-/tmp/xomsim-netns}"
prefix="${XOMSIM_NETNS_PREFIX:-xom}"
client="${prefix}cli"
link="${prefix}link"
printers=(q1 q2)
declare -A ipv4=([q1]=10.200.0.11 [q2]=10.200.0.12)
declare -A ipv6=([q1]=fe80::11 [q2]=fe80::12)
declare -A description=([q1]="${XOMSIM_Q1_PRINTER:-$here/examples/printer-q1.txt}"
  [q2]="${XOMSIM_Q2_PRINTER:-$here/examples/printer-q2.txt}")
declare -A options=([q1]="${XOMSIM_Q1_OPTIONS:-}" [q2]="${XOMSIM_Q2_OPTIONS:-}")

namespaces() { echo "$client" "$link" "${printers[@]/#/$prefix}"; }

# Whether process $1 still runs: a stopped simulator whose parent is gone may stay a zombie for a
# while (nothing reaps it at once), and a zombie answers kill -0.
running() {
  local stat
  stat="$(cat "/proc/$1/stat" 2>/dev/null)" || return 1
  stat="${stat##*) }"
  [ "${stat:0:1}" != Z ]
}

down() {
  local pidfile pid
  for pidfile in "$state"/*.pid; do
    [ -e "$pidfile" ] || continue
    pid="$(cat "$pidfile")"
    # Only a process this script started: its pid file names it and it still runs xomsim.
    if [ -n "$pid" ] && [ -r "/proc/$pid/cmdline" ] && tr '\0' ' ' <"/proc/$pid/cmdline" |
      grep -q xomsim; then
      kill "$pid" 2>/dev/null
      for _ in 1 2 3 4 5 6 7 8 9 10; do
        running "$pid" || break
        sleep 0.1
      done
      running "$pid" && kill -9 "$pid" 2>/dev/null
    fi
    rm -f "$pidfile"
  done
  local ns
  for ns in $(namespaces); do
    [ -e "/run/netns/$ns" ] && ip netns del "$ns"
  done
  return 0
}

fail() {
  echo "netns-printers: $*" >&2
  down
  exit 1
}

start_printer() {  # printer, kind (ipv4|ipv6), address
  local name="$1" kind="$2" address="$3"
  local log="$state/$name-$kind.log" jobs="$state/jobs-$name-$kind"
  mkdir -p "$jobs"
  local extra
  read -r -a extra <<<"${options[$name]}"
  ip netns exec "$prefix$name" "$xomsim" --address "$address" --jobs "$jobs" \
    --printer "${description[$name]}" "${extra[@]}" >"$log" 2>&1 &
  echo $! >"$state/$name-$kind.pid"
  # Up when it has said which ports it serves; a failure shows its reason.
  for _ in $(seq 1 50); do
    grep -q "^xomsim: listening" "$log" && return 0
    kill -0 "$(cat "$state/$name-$kind.pid")" 2>/dev/null || break
    sleep 0.1
  done
  fail "xomsim for $name on $address did not start: $(cat "$log")"
}

up() {
  [ "$(id -u)" -eq 0 ] || { echo "netns-printers: run as root (sudo)" >&2; exit 1; }
  [ -x "$xomsim" ] || { echo "netns-printers: no simulator at $xomsim (build it first)" >&2; exit 1; }
  down
  mkdir -p "$state"
  trap 'fail "interrupted"' INT TERM
  local ns
  for ns in $(namespaces); do
    ip netns add "$ns" || fail "cannot create namespace $ns"
    ip -n "$ns" link set lo up
  done
  ip -n "$link" link add br0 type bridge || fail "cannot create the bridge"
  # Flood every multicast (ff02::1) to every port, whatever the bridge has learnt.
  ip -n "$link" link set br0 type bridge mcast_snooping 0
  ip -n "$link" link set br0 up
  attach() {  # namespace, port name on the bridge
    ip link add eth0 netns "$1" type veth peer name "$2" netns "$link" ||
      fail "cannot create the link of $1"
    ip -n "$link" link set "$2" master br0 up
    ip -n "$1" link set eth0 up
  }
  attach "$client" vcli
  ip -n "$client" addr add 10.200.0.1/24 broadcast 10.200.0.255 dev eth0
  ip -n "$client" addr add fe80::1/64 dev eth0 nodad
  local name
  for name in "${printers[@]}"; do
    attach "$prefix$name" "v$name"
    ip -n "$prefix$name" addr add "${ipv4[$name]}/24" broadcast 10.200.0.255 dev eth0
    ip -n "$prefix$name" addr add "${ipv6[$name]}/64" dev eth0 nodad
  done
  for name in "${printers[@]}"; do
    start_printer "$name" ipv4 "${ipv4[$name]}"
    start_printer "$name" ipv6 "${ipv6[$name]}%eth0"
  done
  trap - INT TERM
  echo "netns-printers: up. Printers q1 (${ipv4[q1]}, ${ipv6[q1]}) and q2 (${ipv4[q2]}," \
    "${ipv6[q2]}); the client namespace is $client:"
  echo "  ip netns exec $client $here/build/default/tools/xomplot/xomplot printers discover"
  echo "Logs in $state; remove everything with: $0 down"
}

status() {
  local pidfile
  for pidfile in "$state"/*.pid; do
    [ -e "$pidfile" ] || { echo "netns-printers: down"; return 0; }
    if kill -0 "$(cat "$pidfile")" 2>/dev/null; then
      echo "$(basename "$pidfile" .pid): running, $(head -1 "${pidfile%.pid}.log")"
    else
      echo "$(basename "$pidfile" .pid): stopped"
    fi
  done
}

case "${1:-}" in
  up) up ;;
  down)
    [ "$(id -u)" -eq 0 ] || { echo "netns-printers: run as root (sudo)" >&2; exit 1; }
    down
    echo "netns-printers: down"
    ;;
  status) status ;;
  *)
    echo "usage: $0 up|down|status" >&2
    exit 2
    ;;
esac
