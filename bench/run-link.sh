#!/usr/bin/env bash
# Link figures against velmora-routersim: a 127-route macro replay as a ratio
# to the 9600-baud wire floor, and the CPU cost of a 3-second reply wait.
# Release build in build/bench.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${VELMORA_BUILD_PACKAGES[@]}" libbenchmark-dev

build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVELMORA_BENCH=ON
cmake --build "$build" --target link_bench velmora-routersim
"$build/bench/link_bench"
