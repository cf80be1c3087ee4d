# Sourced by bench/fuzz-*.sh with target, dict and corpus set: builds the
# libFuzzer targets in build/fuzz (clang, the test build's sanitizers) and
# fuzzes target for the given time, starting from the seed corpus (left as
# committed; new inputs go to build/fuzz/corpus-<target>). Crashing inputs
# land in build/fuzz/artifacts.
seconds=${1:?usage: $0 SECONDS [libFuzzer options]}
shift
source scripts/deps.sh
ensure_packages "${VELMORA_BUILD_PACKAGES[@]}" clang-14 libclang-rt-14-dev

build=build/fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
    -DVELMORA_SANITIZE=ON -DVELMORA_FUZZ=ON
cmake --build "$build" --target "$target"
mkdir -p "$build/corpus-$target" "$build/artifacts"
"$(find "$build/tests" -type f -name "$target" | head -n 1)" -max_total_time="$seconds" -timeout=10 \
    -print_final_stats=1 -dict="$dict" -artifact_prefix="$build/artifacts/" "$@" "$build/corpus-$target" "$corpus"
