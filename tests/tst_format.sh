#!/usr/bin/env bash
# Every C++ file of the tree as clang-format lays it out (.clang-format at the
# top): one layout, so a diff shows what changed and nothing else. Prints the
# files that differ and what clang-format would change in each.
# Usage: tst_format.sh SOURCE_DIR
set -euo pipefail
cd "$1"
mapfile -t files < <(find src tools tests bench help -name '*.cpp' -o -name '*.h' | sort)
[ "${#files[@]}" -gt 0 ] || { echo "FAIL: no C++ files found"; exit 1; }
unformatted=0
for file in "${files[@]}"; do
    if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
        echo "not formatted: $file"
        diff -u "$file" <(clang-format "$file") | head -n 20 || true
        unformatted=$((unformatted + 1))
    fi
done
echo "${#files[@]} files, $unformatted not formatted"
[ "$unformatted" -eq 0 ]
