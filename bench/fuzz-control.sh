#!/usr/bin/env bash
# Fuzzes the control port's line protocol (line cutting and the command
# parser) with libFuzzer (see bench/fuzz-run.sh).
# Usage: bench/fuzz-control.sh SECONDS [more libFuzzer options]
set -euo pipefail
cd "$(dirname "$0")/.."
target=fuzz_control dict=tests/data/fuzz-control.dict corpus=tests/data/fuzz-control-corpus
source bench/fuzz-run.sh
