#!/usr/bin/env bash
# Times load and save of the largest set-up (16 routers x 127 x 127 ports,
# all named, 12 macros of 1,000 routes) and of the same with 4x and 16x the
# routes. Release build in build/bench; extra arguments go to the benchmark
# (for example --benchmark_repetitions=5).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${VELMORA_BUILD_PACKAGES[@]}" libbenchmark-dev

build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVELMORA_BENCH=ON
cmake --build "$build" --target config_bench
"$build/bench/config_bench" "$@"
