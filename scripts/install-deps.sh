#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, and only those
# that are missing. Works on Debian 12 and Ubuntu 22.04 or later.
#
# Usage: scripts/install-deps.sh [GROUP...]
# With no group, what building, running and testing need. The groups add what
# one check needs on top:
#   lint     clang-tidy and cppcheck (make lint)
#   fuzz     clang with libFuzzer (make fuzz)
#   locales  the German locale the locale runs use (make test-locales)
#   bench    Google Benchmark, valgrind and Xvfb (make bench)
#   package  lintian (make check-packages)
#   windows  the MinGW-w64 C++ compiler, what building Qt for Windows from
#            Debian's source needs, and Wine with an X server, openbox and
#            the X tools the Windows checks drive it with, and wixl and
#            msitools for the installers (make windows, make test-windows,
#            make package-windows)
#   wayland  Weston and Qt's Wayland platform (make test-wayland)
set -euo pipefail

packages=(
    cmake
    g++
    make
    qt6-base-dev
    # X11 window states, through the connection Qt holds.
    pkgconf
    libxcb1-dev
    # The window-state test runs on a real X server, and types there.
    xvfb
    xdotool
    # Fonts the tests measure with: the substitutes for the program's faces.
    fonts-dejavu-core
    fonts-liberation2
    # fc-list: make run looks for the LCARS face.
    fontconfig
    # Checks of the deliverables: the icon group, the Windows version
    # resource, the desktop entry and metainfo, the hardening.
    python3
    icoutils
    binutils-mingw-w64-x86-64
    desktop-file-utils
    appstream
    appstream-compose
    devscripts
    # The manual pages: rendered by the tests, compressed by the build.
    groff-base
    man-db
    gzip
    # The Debian packages: dependencies worked out by dpkg-shlibdeps.
    dpkg-dev
    # Zones with daylight saving for the clock-change tests.
    tzdata
)
want_german_locale=0
for group in "$@"; do
    case "$group" in
    lint) packages+=(clang-tidy cppcheck) ;;
    fuzz) packages+=(clang libclang-rt-dev) ;;
    bench)
        # The in-process round, start-up instructions, the real programs side
        # by side, and fc-cache for their private font caches.
        packages+=(libbenchmark-dev valgrind xvfb fontconfig)
        ;;
    package) packages+=(lintian) ;;
    windows)
        packages+=(g++-mingw-w64-x86-64-posix ninja-build dpkg-dev perl
            wine wine64 xvfb openbox xdotool x11-utils libfaketime imagemagick
            wixl msitools)
        ;;
    wayland) packages+=(weston qt6-wayland) ;;
    locales)
        packages+=(locales)
        want_german_locale=1
        ;;
    *)
        echo "install-deps: unknown group '$group'" >&2
        exit 2
        ;;
    esac
done

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update
    "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

if [ "$want_german_locale" -eq 1 ] && ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
    echo "Generating the de_DE.UTF-8 locale"
    "${sudo[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
