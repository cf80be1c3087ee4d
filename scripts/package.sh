#!/usr/bin/env bash
# Installs what is missing, builds the programs optimised with Debian's
# hardening flags, and packs them with their manual pages, the help page and
# its pictures, the desktop entry, the icon and the systemd user unit:
#   scripts/package.sh [BUILD-FOLDER]    (default build/package)
# makes BUILD-FOLDER/velmora_<version>_<arch>.deb and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${VELMORA_BUILD_PACKAGES[@]}" "${VELMORA_PACKAGE_PACKAGES[@]}"

build=${1:-build/package}
# The package preset (CMakePresets.json): Release, no tests, under /usr.
# Debian's build flags (fortify, stack protector, relro) as every Debian
# package has them, and immediate binding, which lintian asks for too; the
# debug information they ask for is stripped.
export DEB_BUILD_MAINT_OPTIONS=hardening=+bindnow
cmake --preset package -B "$build" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build "$build"
rm -f "$build"/velmora_*.deb
(cd "$build" && cpack --config CPackConfig.cmake > cpack.log) || { cat "$build/cpack.log"; exit 1; }
ls "$build"/velmora_*.deb
