#!/usr/bin/env bash
# Builds the benchmarks in a Release tree (build/bench) and runs one of them:
#   bench/run.sh config [benchmark options]  load and save of the largest set-up
#       (16 routers x 127 x 127 ports, all named, 12 macros of 1,000 routes) and
#       of the same with 4x and 16x the routes; e.g. --benchmark_repetitions=5
#   bench/run.sh link   a 127-route macro replay against velmora-routersim as a
#       ratio to the 9600-baud wire floor, and the CPU cost of a 3-second wait
#   bench/run.sh window  the main window's full redraw and scroll step, and a
#       Ctrl+click on an input of 127 outputs against the simulator at 9600 baud
#   bench/run.sh startup  process start to the configuration dialog shown
#   bench/run.sh control  127 routes over one control-port connection, each
#       after the previous answer, at 9600 baud, as a ratio to the wire floor;
#       then 300 write-and-leave clients from a second process while a fresh
#       client asks for a state every 100 ms (its answer time over 5 runs, and
#       the panel's resident memory); then the wall and processor time of a
#       connect that waits for room in a full backlog until its deadline
#   bench/run.sh snapshot  a snapshot recall of 127 routes through the control
#       port at 9600 baud, from the command to its answer, as a ratio to the
#       wire floor
#   bench/run.sh videohub  a block of 127 Videohub routes until the last push,
#       as a ratio to the wire floor, and the time from a router's
#       acknowledgement to the push at each of 32 clients
#   bench/run.sh swp08  a salvo group of 127 SW-P-08 routes until the last
#       CONNECTED, as a ratio to the wire floor, and the time from a router's
#       acknowledgement to CONNECTED at each of 32 clients
#   bench/run.sh umd  a route on each of 127 outputs, the time from a router's
#       acknowledgement to the message at each of 8 UMD receivers; the
#       processor time of an idle panel without and with 8 targets refreshing
#       every second
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-}" in
config) targets=(config_bench) ;;
link) targets=(link_bench velmora-routersim) ;;
window) targets=(window_bench velmora-routersim) ;;
startup) targets=(startup_bench) ;;
control) targets=(control_bench velmora-routersim) ;;
videohub) targets=(videohub_bench velmora-routersim) ;;
swp08) targets=(swp08_bench velmora-routersim) ;;
umd) targets=(umd_bench velmora-routersim) ;;
snapshot) targets=(snapshot_bench velmora-routersim) ;;
*)
    echo "usage: bench/run.sh config|link|window|startup|control|videohub|swp08|umd|snapshot [benchmark options]" >&2
    exit 2
    ;;
esac
which=$1
shift

source scripts/deps.sh
ensure_packages "${VELMORA_BUILD_PACKAGES[@]}" libbenchmark-dev

# The bench preset (CMakePresets.json) builds in build/bench.
cmake --preset bench
cmake --build --preset bench --target "${targets[@]}"
"build/bench/bench/${which}_bench" "$@"
