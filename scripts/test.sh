#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and with
# AddressSanitizer + UndefinedBehaviorSanitizer, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${VELMORA_BUILD_PACKAGES[@]}" "${VELMORA_TEST_PACKAGES[@]}"

# The test preset (CMakePresets.json) builds in build/test.
cmake --preset test
cmake --build --preset test
ctest --preset test
