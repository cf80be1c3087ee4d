#!/usr/bin/env bash
# Installs what is missing, builds the programs (optimised, no sanitizers) and
# opens the panel on a demonstration set-up: its own data folder inside the
# build tree, two routers answered by the router simulator as COM1. Without a
# display the panel runs on a virtual one served by VNC and to a web browser,
# both to this machine only.
# The operator's own set-up and ports are never touched.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/deps.sh
source scripts/demo-session.sh

# The run preset (CMakePresets.json) builds in build/run. A session already
# running there is left alone: this one would overwrite its set-up.
build=$root/build/run
claim_demo_session "$build" || exit 1

packages=("${VELMORA_BUILD_PACKAGES[@]}" "${VELMORA_RUN_PACKAGES[@]}")
headless=
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    headless=1
    packages+=("${VELMORA_HEADLESS_PACKAGES[@]}")
elif [ -z "${DISPLAY:-}" ]; then
    packages+=("${VELMORA_WAYLAND_PACKAGES[@]}")
fi
ensure_packages "${packages[@]}"

cmake --preset run
cmake --build --preset run

run_demo_session "$build/bin" "$build" "$root/scripts/demo/default.rcf" "$headless"
