#!/usr/bin/env bash
# Builds the Debian package with scripts/package.sh in a build folder of its
# own, unpacks it and checks what an operator gets: the programs answer
# --version and --help, the unit, desktop entry, icon, manual pages, help page
# and every picture it shows are there, the dependencies are right, and
# lintian reports no error. Prints the package's size, its installed size,
# how long packing took and lintian's report.
# Usage: tst_package.sh SOURCE_DIR BUILD_DIR VERSION. Exit 77: skipped.
set -euo pipefail
source=$1 build=$2 version=$3

for tool in cpack dpkg-deb lintian; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is not installed: skipped"
        exit 77
    fi
done
fail() {
    echo "FAIL: $*"
    exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
start=$SECONDS
"$source/scripts/package.sh" "$build" >"$work/package.log" 2>&1 || { cat "$work/package.log"; fail "scripts/package.sh"; }
deb=$(tail -n 1 "$work/package.log")
echo "packed in $((SECONDS - start)) s: $deb, $(stat -c %s "$deb") bytes," \
     "installed size $(dpkg-deb -f "$deb" Installed-Size) KiB"
[ "$(basename "$deb")" = "velmora_${version}_$(dpkg --print-architecture).deb" ] || fail "package name $deb"

root=$work/root
dpkg-deb -x "$deb" "$root"

for program in velmora velmora-ctl velmora-routersim; do
    [ "$("$root/usr/bin/$program" --version)" = "$program $version" ] || fail "$program --version"
    "$root/usr/bin/$program" --help | grep -q -- '--version' || fail "$program --help"
done

for file in lib/systemd/user/velmora.service share/applications/velmora.desktop \
            share/icons/hicolor/scalable/apps/velmora.svg share/man/man1/velmora.1.gz \
            share/man/man1/velmora-ctl.1.gz share/man/man1/velmora-routersim.1.gz \
            share/doc/velmora/copyright share/doc/velmora/changelog.gz share/doc/velmora/examples/demo.rcf \
            share/velmora/Velmora.html; do
    [ -s "$root/usr/$file" ] || fail "no $file"
done
grep -qxF 'ExecStart=/usr/bin/velmora --no-window' "$root/usr/lib/systemd/user/velmora.service" ||
    fail "the unit does not start /usr/bin/velmora"
pictures=$(grep -o '<img src="[^"]*"' "$root/usr/share/velmora/Velmora.html" | cut -d '"' -f 2)
[ -n "$pictures" ] || fail "the help page shows no picture"
for picture in $pictures; do
    [ -s "$root/usr/share/velmora/$picture" ] || fail "no $picture beside the help page"
done

# The libraries from the binaries, the platform plugin by name; the
# demonstration session's tools only suggested.
depends=$(dpkg-deb -f "$deb" Depends)
suggests=$(dpkg-deb -f "$deb" Suggests)
for needed in libqt6widgets6 libqt6serialport6 libqt6network6 libc6 qt6-qpa-plugins; do
    grep -qw -- "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
for session in xvfb x11vnc websockify novnc; do
    grep -qw -- "$session" <<<"$suggests" || fail "Suggests lacks $session: $suggests"
    ! grep -qw -- "$session" <<<"$depends" || fail "Depends has $session: $depends"
done

report=$(lintian --tag-display-limit 0 "$deb" 2>&1) || true
echo "lintian:"
echo "${report:-(nothing)}"
! grep -q '^E: ' <<<"$report" || fail "lintian reports errors"
echo "package checked"
