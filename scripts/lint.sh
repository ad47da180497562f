#!/usr/bin/env bash
# Static checks: clang-format on the C++ of src/ and tests/ (.clang-format),
# clang-tidy on both (.clang-tidy; tests/.clang-tidy adds their headers) and
# cppcheck on src/, with the compile commands of a configured build. Any
# finding fails.
# Usage: scripts/lint.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
if [ ! -f "$build_dir/compile_commands.json" ]; then
    echo "lint: no $build_dir/compile_commands.json; configure the build first" >&2
    exit 2
fi

status=0

echo "clang-format on src/ and tests/"
if ! find src tests \( -name '*.cpp' -o -name '*.h' \) -print0 \
    | xargs -0 clang-format --dry-run --Werror; then
    status=1
fi

echo "clang-tidy on src/ and tests/"
# Only the sources under src/ and tests/; the headers they include follow
# the .clang-tidy nearest them.
if ! run-clang-tidy -p "$build_dir" -quiet -j "$(nproc)" "^$PWD/(src|tests)/" >"$build_dir/clang-tidy.log" 2>&1 \
    || grep -qE '(warning|error):' "$build_dir/clang-tidy.log"; then
    grep -E '(warning|error):' -A3 "$build_dir/clang-tidy.log" || cat "$build_dir/clang-tidy.log"
    status=1
fi

echo "cppcheck on src/"
# Qt's headers are not analysed (missingIncludeSystem); its macros come from
# cppcheck's Qt library. Suppressions in src/ are inline, with their reason.
if ! cppcheck --project="$build_dir/compile_commands.json" --file-filter='src/*' \
    --enable=warning,style,performance,portability --library=qt --inline-suppr \
    --suppress=missingIncludeSystem --error-exitcode=1 --quiet -j "$(nproc)"; then
    status=1
fi

if [ "$status" -eq 0 ]; then
    echo "lint: nothing to report"
fi
exit "$status"
