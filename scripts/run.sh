#!/usr/bin/env bash
# Installs what is missing, builds the programs (optimised, no sanitizers) and
# opens the panel on a demonstration set-up: its own data folder inside the
# build tree, two routers answered by the router simulator as COM1. Without a
# display the panel runs on a virtual one served by VNC to this machine only.
# The operator's own set-up and ports are never touched.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/deps.sh
source scripts/demo-session.sh

packages=("${VELMORA_BUILD_PACKAGES[@]}" "${VELMORA_RUN_PACKAGES[@]}")
headless=
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    headless=1
    packages+=("${VELMORA_HEADLESS_PACKAGES[@]}")
elif [ -z "${DISPLAY:-}" ]; then
    packages+=("${VELMORA_WAYLAND_PACKAGES[@]}")
fi
ensure_packages "${packages[@]}"

build=$root/build/run
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
cmake --build "$build" --parallel

# Whatever ends the script (the panel closing, Ctrl+C, a failed step), the
# simulator and the virtual display go with it.
trap stop_started EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

export XDG_DATA_HOME=$build/demo-data
folder=$(seed_demo_folder "$XDG_DATA_HOME" "$root/scripts/demo/default.rcf")
start_routersim "$build/bin/velmora-routersim" "$folder/ports/COM1" "$build/demo-routersim.log"
echo "Demonstration set-up: $folder/default.rcf"
echo "Router simulator on COM1, frames logged to $build/demo-routersim.log"

if [ -n "$headless" ]; then
    start_virtual_display "$build/demo-display"
    start_vnc "$build/demo-display"
    export QT_QPA_PLATFORM=xcb
    print_vnc_directions
fi

"$build/bin/velmora"
