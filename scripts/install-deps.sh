#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, and only those
# that are missing. Works on Debian 12 and Ubuntu 22.04 or later.
# `install-deps.sh bench` adds what `make bench` needs.
set -euo pipefail

packages=(
    cmake
    g++
    make
    qt6-base-dev
    # Fonts the tests measure with: the substitutes for the program's faces.
    fonts-dejavu-core
    fonts-liberation2
    # Checks of the deliverables: the icon group, the Windows version
    # resource, the desktop entry and metainfo, the hardening.
    python3
    icoutils
    binutils-mingw-w64-x86-64
    desktop-file-utils
    appstream
    devscripts
    # The Debian packages: dependencies worked out by dpkg-shlibdeps.
    dpkg-dev
)
if [ "${1:-}" = bench ]; then
    packages+=(
        libbenchmark-dev # the in-process round
        valgrind         # start-up instructions
        xvfb             # the real programs side by side
        fontconfig       # fc-cache for their private font caches
    )
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
