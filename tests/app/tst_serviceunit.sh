#!/usr/bin/env bash
# The systemd user unit that `cmake --install` writes names the program under
# the prefix installed to and passes `systemd-analyze verify`.
# Usage: tst_serviceunit.sh CMAKE BUILD_DIR PANEL_PROGRAM. Exit 77: skipped.
set -euo pipefail
cmake=$1 build=$2 panel=$3

if ! command -v systemd-analyze >/dev/null; then
    echo "systemd-analyze is not installed: skipped"
    exit 77
fi
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

"$cmake" --install "$build" --component service --prefix "$prefix" >/dev/null
unit=$prefix/lib/systemd/user/velmora.service
grep -qxF "ExecStart=$prefix/bin/velmora --no-window" "$unit" || { echo "wrong ExecStart in $unit"; exit 1; }
# verify wants the program it names to exist.
mkdir -p "$prefix/bin"
ln -s "$panel" "$prefix/bin/velmora"
report=$(systemd-analyze verify "$unit" 2>&1) || { echo "$report"; exit 1; }
if grep -F velmora.service <<<"$report"; then
    exit 1
fi
echo "verified $unit"
