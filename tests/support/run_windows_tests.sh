#!/usr/bin/env bash
# The quick suites of a Windows build, run under Wine on a private X server,
# then both programs used as a person would, under openbox
# (tests/app/check_windows_desktop.sh); last, the executables' sizes beside
# the bare Qt clock's.
#
# Usage: tests/support/run_windows_tests.sh BUILD_DIR
# The Wine prefix is BUILD_DIR/wine, made on first use. Wine has no Arial,
# "MS Sans Serif", Tahoma or LCARS: the faces that stand in for them on
# Linux do so here too. The zone is Nepal's, three quarters of an hour off the whole
# hours, written as both glibc and the Windows C runtime read TZ.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run_windows_tests.sh BUILD_DIR}" && pwd)
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

export WINEPREFIX="$build/wine"
export WINEARCH=win64
export WINEDEBUG=-all
# No offers to download Mono or Gecko.
export WINEDLLOVERRIDES="mscoree,mshtml="
export TZ=NPT-05:45

if [ ! -f "$WINEPREFIX/.ready" ]; then
    echo "test-windows: making the Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    DISPLAY='' wineboot --init >/dev/null 2>&1 || true
    touch "$WINEPREFIX/.ready"
fi
# The faces fontconfig gives the program on Linux.
for replacement in "Arial=Liberation Sans" "MS Sans Serif=Liberation Sans" \
    "Tahoma=Liberation Sans" "LCARS=DejaVu Sans"; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' \
        /v "${replacement%%=*}" /t REG_SZ /d "${replacement#*=}" /f >/dev/null 2>&1
done
wineserver -w
trap 'wineserver -k 2>/dev/null || true' EXIT

# Wine starts its own processes (services, the desktop) with the first
# program and keeps them while any program runs; they would inherit that
# program's output, and ctest would wait for them to close it. On the X
# server, a console waiting for input that never comes starts them first,
# with no output, and keeps them for the whole run. Tests that read what a
# Linux build installs, or run for long, stay out.
"$here/run_on_xvfb.sh" bash -c '
    hold=$(mktemp -u) && mkfifo "$hold"
    wine cmd <"$hold" >/dev/null 2>&1 &
    exec 9>"$hold"
    wine cmd /c exit >/dev/null 2>&1 # returns once they are up
    status=0
    ctest --test-dir "$1" --output-on-failure --parallel "$2" --label-exclude "long|linux" ||
        status=$?
    exec 9>&-
    rm -f "$hold"
    wineserver -k 2>/dev/null
    exit "$status"' run-suites "$build" "$jobs"
# The deliverables, as the build lists them, then the programs' sizes beside
# the floor any Qt Widgets program of ours stands on: the bare clock of
# bench/, built and linked the same way.
mapfile -t executables < <(python3 -c 'import json, sys
print(*(f"{sys.argv[2]}/bin/{name}.exe" for name in json.load(open(sys.argv[1]))), sep="\n")' \
    "$build/tests/support/deliverables.json" "$build")
"$here/run_on_xvfb.sh" "$here/../app/check_windows_desktop.sh" "${executables[@]}"
echo "Windows executables (bytes):"
for exe in "${executables[@]}" "$build/bin/reference_clock.exe"; do
    printf '  %-20s %10d\n' "$(basename "$exe")" "$(stat -c %s "$exe")"
done
