#!/usr/bin/env bash
# Builds Qt for 64-bit Windows (static, MinGW-w64) from Debian's own source
# package of the Qt the machine has installed, with only what the program
# and its tests use, and prints where it is.
#
# The result is kept in a cache outside the source tree and reused while its
# stamp says it is complete and was made by this very script; otherwise it is
# built again (about 15 minutes on two cores). Nothing is downloaded but
# Debian's source package.
#
# Usage: scripts/build-qt-windows.sh        prints the Qt prefix (last line)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
toolchain="$here/cmake/mingw-w64-x86_64.cmake"
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

say() { echo "build-qt-windows: $*" >&2; }

version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
if [ -z "$version" ]; then
    say "qt6-base-dev is not installed (scripts/install-deps.sh installs it)"
    exit 2
fi
upstream=${version%%+*}
upstream=${upstream%%-*}
cache=${XDG_CACHE_HOME:-$HOME/.cache}/tallybell
prefix="$cache/qt-$upstream-mingw64-static"
stamp="$prefix/.tallybell-stamp"

# Only QtCore, QtGui, QtWidgets and QtTest with the windows platform plugin:
# no modules, image formats or system libraries the program does not use,
# optimised for size, each function in its own section so that the program's
# link drops what it never calls, and regular expressions without their
# just-in-time compiler (the program matches none). (XPM stays: Qt's drag
# and drop, which QtWidgets cannot be built without, needs it.)
features_off=(
    sql network dbus xml concurrent printsupport vulkan zstd icu
    freetype fontconfig harfbuzz_system jpeg gif tabletevent direct2d directwrite3
    sessionmanager textodfwriter textmarkdownreader textmarkdownwriter
    imageformat_bmp imageformat_ppm imageformat_xbm
    system_zlib system_png system_pcre2 system_doubleconversion
    qmake androiddeployqt macdeployqt
    # What no window of the program shows or uses; the program needs labels,
    # buttons, message boxes, timers, the windows platform with its styles,
    # the ico format and accessibility. Some stay because something kept
    # needs them (see docs/windows.md).
    mimetype process sharedmemory systemsemaphore filesystemwatcher gestures
    proxymodel sortfilterproxymodel identityproxymodel transposeproxymodel
    concatenatetablesproxymodel stringlistmodel
    jalalicalendar islamiccivilcalendar hijricalendar sha3_fast
    pdf picture movie texthtmlparser cssparser standarditemmodel filesystemmodel
    image_heuristic_mask image_text desktopservices systemtrayicon whatsthis
    undocommand undostack undogroup
    style_fusion style_stylesheet effects graphicsview graphicseffect dockwidget mdiarea
    toolbox contextmenu calendarwidget datetimeedit colordialog filedialog fontdialog
    progressdialog inputdialog errormessage wizard splashscreen splitter lcdnumber dial
    keysequenceedit fontcombobox combobox syntaxhighlighter textbrowser textedit
    commandlinkbutton sizegrip statusbar statustip undoview completer fscompleter
    datawidgetmapper columnview listwidget treewidget tablewidget scroller
    progressbar
    # Shaping of complex scripts: the program's texts are plain English, laid
    # out by Qt's own basic shaper with the Windows fonts' advances.
    harfbuzz
)
# Qt's own headers, fixed where they build only with features on that the
# program does not use: nothing else brings QHash into the common style's
# private header once the combo box is off, and the Vista style's includes
# the text edit and the input dialog whether they are there or not.
fix_source() {
    sed -i 's|^#include "qcommonstyle.h"$|&\n#include <QtCore/qhash.h>|' \
        source/src/widgets/styles/qcommonstyle_p.h
    sed -i -e 's|^#include <qtextedit.h>$|#if QT_CONFIG(textedit)\n&\n#endif|' \
        -e 's|^#include <qinputdialog.h>$|#if QT_CONFIG(inputdialog)\n&\n#endif|' \
        source/src/plugins/styles/windowsvista/qwindowsvistastyle_p_p.h
}
options=(
    -DCMAKE_BUILD_TYPE=Release
    "-DCMAKE_C_FLAGS=-ffunction-sections -fdata-sections -DPCRE2_DISABLE_JIT"
    "-DCMAKE_CXX_FLAGS=-ffunction-sections -fdata-sections"
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DBUILD_SHARED_LIBS=OFF
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    -DFEATURE_optimize_size=ON -DFEATURE_static_runtime=ON
    -DINPUT_opengl=no
)
for feature in "${features_off[@]}"; do
    options+=("-DFEATURE_$feature=OFF")
done
# The stamp names the source and everything the build was made with: the
# options above, the fix to the source and the toolchain.
want_stamp="qt6-base $version $({ printf '%s\n' "${options[@]}"; declare -f fix_source; } | cat - "$toolchain" | sha256sum | cut -d' ' -f1)"

if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want_stamp" ]; then
    say "reusing $prefix"
    echo "$prefix"
    exit 0
fi

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

# A deb-src entry made from the machine's own Debian sources, so that the
# source comes from the same archive as the installed Qt.
if ! apt-get source --print-uris "qt6-base=$version" >/dev/null 2>&1; then
    src_list=/etc/apt/sources.list.d/tallybell-deb-src.sources
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        say "adding deb-src entries from /etc/apt/sources.list.d/debian.sources"
        sed -e 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
            "${sudo[@]}" tee "$src_list" >/dev/null
    elif [ -f /etc/apt/sources.list ]; then
        say "adding deb-src lines from /etc/apt/sources.list"
        sed -n -e 's/^deb /deb-src /p' /etc/apt/sources.list |
            "${sudo[@]}" tee /etc/apt/sources.list.d/tallybell-deb-src.list >/dev/null
    else
        say "no Debian sources found to make a deb-src entry from"
        exit 1
    fi
    "${sudo[@]}" apt-get update -qq >&2
fi

work="$cache/qt-$upstream-mingw64-work"
rm -rf "$work" "$prefix"
mkdir -p "$work"
cd "$work"
say "fetching Debian's source of qt6-base $version"
apt-get source --download-only -qq "qt6-base=$version" >&2
dpkg-source --no-check -x qt6-base_*.dsc source >/dev/null
fix_source

say "configuring (log: $work/configure.log)"
if ! cmake -S source -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >configure.log 2>&1; then
    tail -40 configure.log >&2
    say "configuring Qt failed; the whole log is $work/configure.log"
    exit 1
fi

# Ninja's progress, one line every 50 steps, so that the log shows it moving.
say "building with $jobs jobs (log: $work/build.log)"
start=$SECONDS
set +e
cmake --build build --parallel "$jobs" 2>&1 | tee build.log |
    awk '/^\[[0-9]+\/[0-9]+\]/ { gsub(/[][]/, "", $1); split($1, n, "/"); if (n[1] % 50 == 0 || n[1] == n[2]) { print "build-qt-windows: step " n[1] " of " n[2] > "/dev/stderr"; fflush("/dev/stderr") } }'
status=${PIPESTATUS[0]}
set -e
if [ "$status" -ne 0 ]; then
    grep -B2 -A20 -m3 'FAILED\|error:' build.log >&2 || tail -40 build.log >&2
    say "building Qt failed; the whole log is $work/build.log"
    exit 1
fi
cmake --install build >install.log 2>&1
say "built in $(((SECONDS - start) / 60)) min"

cp source/LICENSES/LGPL-3.0-only.txt "$prefix/LICENSE.LGPL3" 2>/dev/null ||
    cp source/LICENSE.LGPL3 "$prefix/LICENSE.LGPL3"
echo "$version" >"$prefix/DEBIAN-SOURCE-VERSION"
echo "$want_stamp" >"$stamp"
cd /
rm -rf "$work"
echo "$prefix"
