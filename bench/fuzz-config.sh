#!/usr/bin/env bash
# Fuzzes the configuration loader with libFuzzer for the given time, starting
# from the seed corpus in tests/data/fuzz-corpus and the configuration
# tests' files in tests/data/config (both left as committed; new
# inputs go to build/fuzz/corpus). Crashing inputs land in build/fuzz/artifacts.
# Usage: bench/fuzz-config.sh SECONDS [more libFuzzer options]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: bench/fuzz-config.sh SECONDS [libFuzzer options]}
shift
source scripts/deps.sh
ensure_packages "${VELMORA_BUILD_PACKAGES[@]}" clang-14 libclang-rt-14-dev

build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
    -DVELMORA_SANITIZE=ON -DVELMORA_FUZZ=ON
cmake --build "$build" --target fuzz_config
mkdir -p "$build/corpus" "$build/artifacts"
"$build/tests/config/fuzz_config" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -dict=tests/data/fuzz-config.dict -artifact_prefix="$build/artifacts/" "$@" \
    "$build/corpus" tests/data/fuzz-corpus tests/data/config
