#!/usr/bin/env bash
# Fuzzes the configuration loader with libFuzzer (see bench/fuzz-run.sh).
# Usage: bench/fuzz-config.sh SECONDS [more libFuzzer options]
set -euo pipefail
cd "$(dirname "$0")/.."
target=fuzz_config dict=tests/data/fuzz-config.dict corpus=tests/data/fuzz-corpus
source bench/fuzz-run.sh
