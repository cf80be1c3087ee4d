#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and with
# AddressSanitizer + UndefinedBehaviorSanitizer, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${VELMORA_BUILD_PACKAGES[@]}" "${VELMORA_RUN_PACKAGES[@]}" "${VELMORA_HEADLESS_PACKAGES[@]}" \
                "${VELMORA_SESSION_TEST_PACKAGES[@]}"

build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMORA_WERROR=ON -DVELMORA_SANITIZE=ON
cmake --build "$build" --parallel
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --parallel 2 --timeout 300
