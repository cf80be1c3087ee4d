#!/usr/bin/env bash
# Fuzzes the configuration loader: bench/fuzz.sh config, kept for habit.
# Usage: bench/fuzz-config.sh SECONDS [more libFuzzer options]
exec "$(dirname "$0")/fuzz.sh" config "$@"
