# Sourced by the set-up scripts: installs the Debian packages that are missing.
# Usage: ensure_packages PACKAGE...

ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    echo "Installing missing packages: ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What every build needs. The fonts: the window tests and the help page's
# pictures draw text offscreen; the condensed face stands in for Tahoma in the
# dialogs. help2man makes the manual pages from the programs' --help.
# libxkbcommon-dev only quiets Qt's CMake files, which look for it on behalf
# of programs using Qt's private parts ("Could NOT find XKB").
VELMORA_BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libxkbcommon-dev
                        fonts-dejavu-core fonts-dejavu-extra help2man)

# What packing the Debian package needs: dpkg-shlibdeps and dpkg-buildflags,
# fakeroot for the files' owner, and lintian to check the result.
VELMORA_PACKAGE_PACKAGES=(dpkg-dev fakeroot lintian)

# What the panel needs on a display: Qt's X11 platform plugin and a sans-serif font.
VELMORA_RUN_PACKAGES=(qt6-qpa-plugins fonts-dejavu-core)

# A Wayland session without X11 compatibility: Qt's Wayland platform plugin.
VELMORA_WAYLAND_PACKAGES=(qt6-wayland)

# Only when there is no display: a virtual X server, the tool for its access
# cookie, a VNC server that shows it, and the bridge that serves that to a
# web browser together with the browser's VNC page.
VELMORA_HEADLESS_PACKAGES=(xvfb xauth x11vnc websockify novnc)

# What the tests of the run command's session need besides the headless
# packages: ss to see who listens, a headless browser to look at the web
# view, Python to drive it, ImageMagick to compare its picture.
VELMORA_SESSION_TEST_PACKAGES=(iproute2 chromium python3 imagemagick)

# What the manual pages' test needs: groff renders them as man does, and
# lexgrog (from man-db) reads their NAME as whatis and apropos do.
VELMORA_MANUAL_TEST_PACKAGES=(groff-base man-db)

# The layout check of the C++ files.
VELMORA_FORMAT_TEST_PACKAGES=(clang-format)

# Everything the test command installs beyond the build: the panel on a
# display, the headless session and its test tools, the manual pages' test
# tools, clang-format for the layout check and the package's tools.
VELMORA_TEST_PACKAGES=("${VELMORA_RUN_PACKAGES[@]}" "${VELMORA_HEADLESS_PACKAGES[@]}"
                       "${VELMORA_SESSION_TEST_PACKAGES[@]}" "${VELMORA_MANUAL_TEST_PACKAGES[@]}"
                       "${VELMORA_FORMAT_TEST_PACKAGES[@]}" "${VELMORA_PACKAGE_PACKAGES[@]}")
