#!/usr/bin/env bash
# Runs a Windows test program under Wine: ctest's emulator for the QtTest
# suites of a Windows build (make test-windows sets up the prefix, the X
# server and the zone). Wine keeps the machine's QT_* variables from Windows
# programs and hands them WINEQT_* instead, so Qt's variables of a test are
# passed on that way, but for the platform: offscreen needs FreeType, which
# the Windows Qt is built without, so the suites run on the windows platform.
set -euo pipefail
for name in $(compgen -e); do
    case "$name" in
    QT_QPA_PLATFORM | QT_QPA_OFFSCREEN_NO_GLX) ;;
    QT_*) export "WINE$name=${!name}" ;;
    esac
done
# QtTest writes to the debugger's output where it finds no console.
export WINEQT_FORCE_STDERR_LOGGING=1
# WINE_LOGPIXELS: the screen's DPI for this run alone (the entry runs by
# itself: the prefix has one DPI for every program in it).
if [ -z "${WINE_LOGPIXELS:-}" ]; then
    exec wine "$@"
fi
logpixels() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}
logpixels "$WINE_LOGPIXELS"
status=0
wine "$@" || status=$?
logpixels 96
exit "$status"
