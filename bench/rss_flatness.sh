#!/usr/bin/env bash
# The real long run: the program under Xvfb for MINUTES minutes
# (10), its resident memory sampled once a minute; prints the samples and how
# far they stray from the one at the end of the first minute.
#
#   bench/rss_flatness.sh [program]      default: build/bin/Countdown
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
program=${1:-$(dirname "$here")/build/bin/Countdown}
MINUTES=${MINUTES:-10}

tmp=$(mktemp -d)
xvfb=
app=
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$tmp/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
DISPLAY=":$(head -n1 "$tmp/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$tmp" \
    "$program" >/dev/null 2>&1 &
app=$!

samples=()
for minute in $(seq "$MINUTES"); do
    sleep 60
    kill -0 "$app" 2>/dev/null || { echo "rss_flatness.sh: the program ended" >&2; exit 1; }
    rss=$(awk '/^VmRSS:/ { print $2 }' /proc/"$app"/status)
    samples+=("$rss")
    echo "minute $minute: RSS $rss kB"
done
printf '%s\n' "${samples[@]}" | awk '
    NR == 1 { first = $1; min = $1; max = $1; next }
    { if ($1 < min) min = $1; if ($1 > max) max = $1 }
    END {
        spread = (max - min) / first * 100
        printf "after the first minute: min %d kB, max %d kB, spread %.2f %% of %d kB (target <= 1 %%): %s\n",
            min, max, spread, first, spread <= 1 ? "flat" : "NOT FLAT"
    }'
