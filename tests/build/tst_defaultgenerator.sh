#!/usr/bin/env bash
# A fresh build folder configured and built with CMake's default generator,
# as `cmake -S . -B build && cmake --build build` does on a new checkout: the
# presets all use Ninja, which makes every output's folder by itself, where
# the Makefile generators leave that to the rule. The programs only, without
# tests and unoptimised (Debug: the quickest to compile); then installed under
# a scratch prefix.
# Usage: tst_defaultgenerator.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source=$1 build=$2

fail() {
    echo "FAIL: $*"
    exit 1
}

rm -rf "$build"
mkdir -p "$build"
log=$build/build.log
# The generator CMake picks by itself, whatever the environment asks for.
unset CMAKE_GENERATOR
start=$SECONDS
{ cmake -S "$source" -B "$build/tree" -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=OFF &&
  cmake --build "$build/tree" --parallel 2 &&
  cmake --install "$build/tree" --prefix "$build/prefix"; } >"$log" 2>&1 || { tail -n 40 "$log"; fail "the build"; }
generator=$(sed -n 's/^CMAKE_GENERATOR:INTERNAL=//p' "$build/tree/CMakeCache.txt")
echo "built and installed with '$generator' in $((SECONDS - start)) s"
[ "$generator" = "$(cmake --system-information 2>/dev/null | sed -n 's/^CMAKE_GENERATOR "\(.*\)"$/\1/p')" ] ||
    fail "not the default generator: $generator"

for file in bin/velmora bin/velmora-ctl share/doc/velmora/changelog.gz share/man/man1/velmora.1.gz \
            share/velmora/pictures/main-window.png; do
    [ -s "$build/prefix/$file" ] || fail "no $file installed"
done
rm -rf "$build"
echo "default generator checked"
