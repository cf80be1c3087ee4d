#!/usr/bin/env bash
# Fuzzes one target with libFuzzer for the given time, starting from its seed
# corpus in tests/data (the configuration loader also from the configuration
# tests' files; all left as committed; new inputs go to
# build/fuzz/corpus-TARGET). Crashing inputs land in build/fuzz/artifacts.
# Targets: config (the configuration loader), control (the control port's line
# cutting and command parser), videohub (the Videohub request reader), swp08
# (the SW-P-08 link layer, request decoder and answer writers).
# Usage: bench/fuzz.sh TARGET SECONDS [more libFuzzer options]
set -euo pipefail
cd "$(dirname "$0")/.."
usage="usage: bench/fuzz.sh config|control|videohub|swp08 SECONDS [libFuzzer options]"
target=${1:?$usage}
seconds=${2:?$usage}
shift 2
case "$target" in
    config) binary=bench/fuzz/fuzz_config; seeds=(tests/data/fuzz-corpus tests/data/config); options=(-dict=tests/data/fuzz-config.dict) ;;
    control) binary=bench/fuzz/fuzz_control; seeds=(tests/data/fuzz-control-corpus); options=(-dict=tests/data/fuzz-control.dict) ;;
    videohub) binary=bench/fuzz/fuzz_videohub; seeds=(tests/data/fuzz-videohub-corpus); options=() ;;
    swp08) binary=bench/fuzz/fuzz_swp08; seeds=(tests/data/fuzz-swp08-corpus); options=(-dict=tests/data/fuzz-swp08.dict) ;;
    *) echo "$usage" >&2; exit 2 ;;
esac
source scripts/deps.sh
ensure_packages "${VELMORA_BUILD_PACKAGES[@]}" clang-14 libclang-rt-14-dev

build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
    -DVELMORA_SANITIZE=ON -DVELMORA_FUZZ=ON
cmake --build "$build" --target "fuzz_$target"
mkdir -p "$build/corpus-$target" "$build/artifacts"
"$build/$binary" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    "${options[@]}" -artifact_prefix="$build/artifacts/" "$@" "$build/corpus-$target" "${seeds[@]}"
