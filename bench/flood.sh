#!/usr/bin/env bash
# Every door flooded at once: the panel without a window, on one router of
# 127 x 127 ports (the simulator as COM1), with its Videohub and SW-P-08
# servers on loopback; CLIENTS (default 8) SW-P-08 clients asking for all
# source names and as many Videohub clients asking for the routing block, each
# as fast as it can, for SECONDS (default 30), while a control-port client
# asks `status` every 50 ms (bench/door_flood.py): the status answer time
# (median, p99, max) and the panel's resident memory.
#   bench/flood.sh [SECONDS] [CLIENTS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
clients=${2:-8}

source scripts/deps.sh
ensure_packages "${VELMORA_BUILD_PACKAGES[@]}"
# The programs as installed: the run preset, optimised, no sanitizers.
cmake --preset run >/dev/null
cmake --build --preset run --target velmora velmora-routersim >/dev/null
bin=$PWD/build/run/bin

work=$(mktemp -d)
sim=
panel=
cleanup() {
    [ -n "$panel" ] && kill "$panel" 2>/dev/null && wait "$panel" 2>/dev/null
    [ -n "$sim" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config
data=$XDG_DATA_HOME/Velmora/1.1
mkdir -p "$data" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
"$bin/velmora-routersim" --link "$data/ports/COM1" >/dev/null 2>&1 &
sim=$!
printf 'VL ConfigFile 1.2\r\nCom Port: 1\r\nRouter Timeout: 3\r\nRouter: 0; 0; 126; 126; 0; 0; 0;\r\n' \
    >"$data/default.rcf"

free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
videohub=$(free_port)
swp08=$(free_port)
socket=$XDG_RUNTIME_DIR/velmora-control
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/velmora" --no-window \
    --videohub="127.0.0.1:$videohub" --swp08="127.0.0.1:$swp08" 2>/dev/null &
panel=$!
until [ -S "$socket" ]; do sleep 0.01; done
echo "$(nproc) cores, $seconds s:"
python3 bench/door_flood.py "$socket" "$videohub" "$swp08" "$panel" "$seconds" "$clients"
