#!/usr/bin/env bash
# Compiles every source file under src/ for Windows, syntax only, with
# Debian's MinGW-w64 cross compiler against the system's Qt headers, so that
# code behind Q_OS_WIN is checked on every change. The deliverables' sources
# in src/app/ are compiled once per deliverable, as their executables are,
# together with the settings the build generated for each.
# Usage: scripts/check-windows-syntax.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
compiler=${WINDOWS_CXX:-x86_64-w64-mingw32-g++-posix}
qt=${QT_INCLUDE_DIR:-$(qmake6 -query QT_INSTALL_HEADERS 2>/dev/null || echo /usr/include/x86_64-linux-gnu/qt6)}

shopt -s nullglob globstar
settings=("$build_dir"/src/app/*_settings.cpp)
if [ ${#settings[@]} -eq 0 ]; then
    echo "check-windows: no generated settings in $build_dir/src/app; configure the build first" >&2
    exit 2
fi

# What Qt's CMake gives a MinGW target (Qt6::Platform and the modules it
# links) in a release build. The Linux qconfig.h of these headers stands in
# for the Windows one: the features they differ in (xcb, glib, dbus and the
# like) are ones the program does not use, and the platform itself comes
# from the compiler's _WIN32, as Q_OS_WIN does on Windows.
flags=(
    -fsyntax-only -std=c++20 -Wall -Wextra -Wpedantic -Werror
    -DUNICODE -D_UNICODE -DWIN32 -DWIN64 -D_WIN64 -D_ENABLE_EXTENDED_ALIGNED_STORAGE
    -DMINGW_HAS_SECURE_API=1
    -DQT_CORE_LIB -DQT_GUI_LIB -DQT_WIDGETS_LIB -DQT_NO_DEBUG -DNDEBUG
    -Isrc -Isrc/app
    -isystem "$qt" -isystem "$qt/QtCore" -isystem "$qt/QtGui" -isystem "$qt/QtWidgets"
)

failed=()
compile() {
    local source=$1
    shift
    echo "windows: $source $*"
    "$compiler" "${flags[@]}" "$@" "$source" || failed+=("$source $*")
}

for source in src/**/*.cpp; do
    [[ $source == src/app/* ]] || compile "$source"
done
for generated in "${settings[@]}"; do
    symbol=$(basename "$generated" _settings.cpp)
    compile "$generated"
    for source in src/app/**/*.cpp; do
        compile "$source" "-DDELIVERABLE=$symbol"
    done
done

if [ ${#failed[@]} -gt 0 ]; then
    printf 'check-windows: does not compile for Windows: %s\n' "${failed[@]}" >&2
    exit 1
fi
echo "check-windows: every source compiles for Windows"
