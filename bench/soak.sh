#!/usr/bin/env bash
# Every door of the panel at once for MINUTES: seeded random Videohub, SW-P-08 and
# control-port clients (routes, labels, locks, protects, salvos, macros, snapshot saves
# and recalls, name-list imports; clients that leave mid-request, half-close, reconnect)
# against the panel on velmora-routersim with seeded refusals, silences and late
# replies, two UMD targets listening; the panel stopped with TERM and started again
# every few minutes; its views (control port, Videohub dump, SW-P-08 tally dumps and
# names, the UMD displays, the activity log, the simulator's log, default.rcf after a
# restart, client counts, resident memory) compared at quiet points every 30 s and
# after every restart. The first disagreement stops the run with the seed, the time
# and both sides; its data folder is kept.
#   bench/soak.sh MINUTES [--seed N] [--sanitize] [--window] [--trouble PERCENT] [--restart-every SECONDS]
# --sanitize: the test tree's build (AddressSanitizer and UBSan), whose memory
# bound is wider (the sanitizer's allocator keeps much of what is freed);
# otherwise optimised (build/bench), the run that shows the panel's memory.
# --window: the panel with its window, offscreen, in the driver's process,
# an operator clicking cells and renaming ports.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 1 ] || { sed -n '12p' "$0" | sed 's/^#   /usage: /' >&2; exit 2; }
minutes=$1
shift
preset=bench
args=()
while [ $# -gt 0 ]; do
    case "$1" in
    --sanitize) preset=test ;;
    --seed | --trouble | --restart-every) args+=("$1" "$2"); shift ;;
    --window) args+=("$1") ;;
    *) echo "soak.sh: unknown option $1" >&2; exit 2 ;;
    esac
    shift
done

source scripts/deps.sh
if [ "$preset" = bench ]; then
    ensure_packages "${VELMORA_BUILD_PACKAGES[@]}" libbenchmark-dev
else
    ensure_packages "${VELMORA_BUILD_PACKAGES[@]}"
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target velmora-soak velmora velmora-routersim >/dev/null
# A small quarantine keeps the sanitizer's own memory from hiding growth.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=32}
export QT_QPA_PLATFORM=offscreen
exec "build/$preset/bench/soak/velmora-soak" --minutes "$minutes" "${args[@]}"
