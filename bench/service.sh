#!/usr/bin/env bash
# The panel without a window next to the window, on the same set-up (the
# demonstration's two routers, the simulator as COM1): the time from process
# start until the control socket exists (listening), and the resident memory
# a second after that. The window runs on the offscreen platform (another with
# WINDOW_PLATFORM=xcb and a display), its start-up dialog open as at every
# start. Median and range over RUNS runs (default 10). Then the service's
# Videohub figure: one router of 127 x 127 ports, the simulator paced at 9600
# baud, one block of 127 routes from a client until the last push arrives, as
# a ratio to the wire floor (bench/videohub_block.py), RUNS blocks; the
# windowed panel's is `bench/run.sh videohub`. Last, 200 label blocks renaming
# every output with 1,000-byte names from one client while another reads and
# a third never does (bench/videohub_flood.py): what each received, who was closed.
# Then every door flooded at once for FLOOD_SECONDS (default 30): 8 SW-P-08
# clients asking for all source names and 8 Videohub clients asking for the
# routing block as fast as they can, while a control-port client asks
# `status` every 50 ms (bench/door_flood.py): the status answer time (median,
# p99, max) and the panel's resident memory.
#   bench/service.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}

source scripts/deps.sh
ensure_packages "${VELMORA_BUILD_PACKAGES[@]}"
# The programs as installed: the run preset, optimised, no sanitizers.
cmake --preset run >/dev/null
cmake --build --preset run --target velmora velmora-routersim >/dev/null
bin=$PWD/build/run/bin

work=$(mktemp -d)
sim=
cleanup() {
    [ -n "$sim" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_DATA_HOME/Velmora/1.1" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
"$bin/velmora-routersim" --link "$XDG_DATA_HOME/Velmora/1.1/ports/COM1" >/dev/null 2>&1 &
sim=$!
socket=$XDG_RUNTIME_DIR/velmora-control

# One run: "MILLISECONDS KIB" on standard output.
measure() {
    cp scripts/demo/default.rcf "$XDG_DATA_HOME/Velmora/1.1/default.rcf"
    local start panel listening rss
    start=$(date +%s%N)
    "$@" 2>/dev/null &
    panel=$!
    until [ -S "$socket" ]; do
        kill -0 "$panel" 2>/dev/null || { echo "the panel ended before listening" >&2; exit 1; }
        sleep 0.001
    done
    listening=$(date +%s%N)
    sleep 1
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$panel/status")
    kill -TERM "$panel"
    wait "$panel" || true
    echo "$(((listening - start) / 1000000)) $rss"
}

# "median (min-max)" of a column of numbers.
summary() {
    sort -n | awk '{ v[NR] = $1 } END { printf "%s (%s-%s)", v[int((NR + 1) / 2)], v[1], v[NR] }'
}

report() {
    local name=$1 results=$2
    printf '%-8s start to listening %s ms, resident memory %s KiB\n' "$name" \
        "$(cut -d' ' -f1 <<<"$results" | summary)" "$(cut -d' ' -f2 <<<"$results" | summary)"
}

service=$(for _ in $(seq "$runs"); do measure env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    "$bin/velmora" --no-window; done)
window=$(for _ in $(seq "$runs"); do measure env QT_QPA_PLATFORM="${WINDOW_PLATFORM:-offscreen}" \
    "$bin/velmora"; done)
echo "$runs runs each, $(nproc) cores:"
report service "$service"
report window "$window"

# The Videohub block on the service.
printf 'VL ConfigFile 1.2\r\nCom Port: 1\r\nRouter Timeout: 3\r\nRouter: 0; 0; 126; 126; 0; 0; 0;\r\n' \
    >"$XDG_DATA_HOME/Velmora/1.1/default.rcf"
free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
port=$(free_port)
swp08=$(free_port)
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/velmora" --no-window --videohub="127.0.0.1:$port" \
    --swp08="127.0.0.1:$swp08" 2>/dev/null &
panel=$!
until [ -S "$socket" ]; do sleep 0.01; done
ratios=$(python3 bench/videohub_block.py "$port" "$runs")
echo "service: one block of 127 Videohub routes to its last push, ratio to the wire floor $(summary <<<"$ratios")"
echo "service: a Videohub label flood"
python3 bench/videohub_flood.py "$port" 200
echo "service: every door flooded at once"
python3 bench/door_flood.py "$socket" "$port" "$swp08" "$panel" "${FLOOD_SECONDS:-30}"
kill -TERM "$panel"
wait "$panel" || true
