#!/usr/bin/env bash
# Runs the real program (A) and the bare Qt reference clock (B) side by side
# under Xvfb and prints the medians and the ratio A/B of start-up, resident
# memory, CPU and wakeups, with their targets.
#
#   bench/compare.sh [A] [B]      defaults: build/bin/Countdown build/bin/reference_clock
#
# Environment: RUNS (5), SETTLE (10 s before RSS and the steady window),
# WINDOW (30 s of steady running), ROUND_JSON (Google Benchmark JSON of
# bench_round, for the in-process row), CALLGRIND (1; 0 skips it), FLOOR
# (set: also runs C, the reference ticking every 100 ms, the floor of 10 Hz
# ticking, and prints C/B).
#
# Start-up runs A B A B ... one after the other, each with
# TALLYBELL_EXIT_AFTER_FIRST_FRAME=1, which makes both programs exit at once
# after their first frame: wall time exec to exit, and the callgrind
# instruction count to that point. The steady runs start A and B together,
# each on its own Xvfb, the first started alternating between A and B.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
A=${1:-$root/build/bin/Countdown}
B=${2:-$root/build/bin/reference_clock}
RUNS=${RUNS:-5}
SETTLE=${SETTLE:-10}
WINDOW=${WINDOW:-30}
CALLGRIND=${CALLGRIND:-1}
FLOOR=${FLOOR:-}
ROUND_JSON=${ROUND_JSON:-}

for exe in "$A" "$B"; do
    [ -x "$exe" ] || { echo "compare.sh: $exe is not built (make bench)" >&2; exit 1; }
done
for tool in Xvfb fc-cache; do
    command -v "$tool" >/dev/null || { echo "compare.sh: $tool is missing" >&2; exit 1; }
done
if [ "$CALLGRIND" = 1 ] && ! command -v valgrind >/dev/null; then
    echo "compare.sh: valgrind is missing" >&2; exit 1
fi

tmp=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

# One Xvfb per program; -displayfd picks a free display and tells it once the
# server is ready.
declare -A display=()
start_xvfb() { # name
    Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp \
        3>"$tmp/$1.display" >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        [ -s "$tmp/$1.display" ] && break
        sleep 0.1
    done
    [ -s "$tmp/$1.display" ] || { echo "compare.sh: Xvfb did not start" >&2; exit 1; }
    display[$1]=":$(head -n1 "$tmp/$1.display")"
}

# A private fontconfig set-up per program: the system's configuration and
# fonts, but a cache of its own, built once here, so that no other process
# rewriting the system cache can make a start rescan the fonts.
private_fonts() { # name
    local dir="$tmp/$1"
    mkdir -p "$dir/cache" "$dir/fontconfig"
    chmod 700 "$dir"
    sed -e 's#<include ignore_missing="yes">conf.d</include>#<include ignore_missing="yes">/etc/fonts/conf.d</include>#' \
        -e '/<cachedir/d' \
        -e "s#</fontconfig>#<cachedir>$dir/fontconfig</cachedir></fontconfig>#" \
        /etc/fonts/fonts.conf >"$dir/fonts.conf"
    # Not under the SOURCE_DATE_EPOCH that make exports: fontconfig takes a
    # cache written under it for stale, and every start scans the fonts again
    # (some 900 M instructions each time).
    env -u SOURCE_DATE_EPOCH FONTCONFIG_FILE="$dir/fonts.conf" fc-cache >/dev/null 2>&1 || true
}

programs="A B"
[ -n "$FLOOR" ] && programs="A B C"
for who in $programs; do
    private_fonts "$who"
    start_xvfb "$who"
done

environment() { # name
    echo "DISPLAY=${display[$1]} QT_QPA_PLATFORM=xcb XDG_CACHE_HOME=$tmp/$1/cache"
    echo "FONTCONFIG_FILE=$tmp/$1/fonts.conf XDG_RUNTIME_DIR=$tmp/$1"
}
run_of() { # name: the command line
    case $1 in
    A) echo "$A" ;;
    B) echo "$B" ;;
    C) echo "$B --tick 100" ;;
    esac
}

# Start-up: wall time, and instructions under callgrind.
startup_ms() { # name
    local start end
    start=$EPOCHREALTIME
    env $(environment "$1") TALLYBELL_EXIT_AFTER_FIRST_FRAME=1 $(run_of "$1") >/dev/null 2>&1
    end=$EPOCHREALTIME
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.2f\n", (e - s) * 1000 }'
}
startup_instructions() { # name
    local out="$tmp/$1.callgrind"
    env $(environment "$1") TALLYBELL_EXIT_AFTER_FIRST_FRAME=1 \
        valgrind --tool=callgrind -q --callgrind-out-file="$out" $(run_of "$1") >/dev/null 2>&1
    awk '/^totals:/ { print $2 }' "$out"
    rm -f "$out"
}

# Steady running, summed over every thread of the process.
cpu_ns() { # pid: time on a CPU (first field of schedstat)
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { print s + 0 }'
}
switches() { # pid: voluntary plus involuntary context switches
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^(voluntary|nonvoluntary)_ctxt_switches:/ { s += $2 } END { print s + 0 }'
}
rss_kb() { awk '/^VmRSS:/ { print $2 }' /proc/"$1"/status; }

record() { echo "$2" >>"$tmp/$1"; } # series value

for run in $(seq "$RUNS"); do
    if [ $((run % 2)) = 1 ]; then order=$programs; else order=$(echo "$programs" | rev); fi
    for who in $order; do
        record "startup_ms.$who" "$(startup_ms "$who")"
        if [ "$CALLGRIND" = 1 ]; then
            record "startup_instr.$who" "$(startup_instructions "$who")"
        fi
    done

    declare -A pid=()
    for who in $order; do
        env $(environment "$who") $(run_of "$who") >/dev/null 2>&1 &
        pid[$who]=$!
        pids+=($!)
    done
    sleep "$SETTLE"
    declare -A cpu0=() sw0=()
    for who in $order; do
        record "rss_kb.$who" "$(rss_kb "${pid[$who]}")"
        cpu0[$who]=$(cpu_ns "${pid[$who]}")
        sw0[$who]=$(switches "${pid[$who]}")
    done
    sleep "$WINDOW"
    for who in $order; do
        cpu1=$(cpu_ns "${pid[$who]}")
        sw1=$(switches "${pid[$who]}")
        record "cpu_us_per_s.$who" "$(awk -v a="${cpu0[$who]}" -v b="$cpu1" -v w="$WINDOW" \
            'BEGIN { printf "%.1f\n", (b - a) / 1000 / w }')"
        record "wakeups_per_s.$who" "$(awk -v a="${sw0[$who]}" -v b="$sw1" -v w="$WINDOW" \
            'BEGIN { printf "%.2f\n", (b - a) / w }')"
        kill "${pid[$who]}" 2>/dev/null || true
        wait "${pid[$who]}" 2>/dev/null || true
    done
    echo "run $run of $RUNS done" >&2
done

median() { sort -g "$1" | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

header_c=""
[ -n "$FLOOR" ] && header_c=$(printf ' %12s %8s' "C (floor)" "C/B")
printf '\n%-38s %12s %12s %8s %9s %-7s%s\n' "median of $RUNS runs" "A" "B" "A/B" "target" "" "$header_c"
row() { # series label target
    [ -s "$tmp/$1.A" ] || return 0
    local a b c=""
    a=$(median "$tmp/$1.A")
    b=$(median "$tmp/$1.B")
    [ -s "$tmp/$1.C" ] && c=$(median "$tmp/$1.C")
    awk -v l="$2" -v a="$a" -v b="$b" -v c="$c" -v t="$3" 'BEGIN {
        r = b > 0 ? a / b : 0
        verdict = t == "" ? "" : (r <= t ? "holds" : "MISSED")
        printf "%-38s %12s %12s %8.3f %9s %-7s", l, a, b, r, (t == "" ? "-" : "<= " t), verdict
        if (c != "") printf " %12s %8.3f", c, (b > 0 ? c / b : 0)
        printf "\n"
    }'
}
row startup_ms "start-up, exec to first frame (ms)" ""
row startup_instr "start-up instructions (callgrind)" 1.15
row rss_kb "resident memory after ${SETTLE} s (kB)" 1.04
row cpu_us_per_s "CPU per second (us/s)" 2.7
row wakeups_per_s "wakeups per second" 3.0

if [ -n "$ROUND_JSON" ] && [ -s "$ROUND_JSON" ]; then
    # real_time of each benchmark, in ns (bench_round reports in ns).
    awk '
        /"name":/ { gsub(/[",]/, "", $2); name = $2 }
        /"real_time":/ { gsub(/,/, "", $2); t[name] = $2 + 0 }
        END {
            r = t["BM_Round"]
            printf "%-38s %12.0f %12s %8s %9s %s\n", "one round in-process (ns)", r, "-", "-", "<= 20000", (r <= 20000 ? "holds" : "MISSED")
            r = t["BM_RoundAndRepaint"]
            printf "%-38s %12.0f %12s %8s %9s %s\n", "one round with its repaint (ns)", r, "-", "-", "<= 20000", (r <= 20000 ? "holds" : "MISSED")
            printf "%-38s %12.0f %12s %8s %9s %s\n", "one simulated second, repaints (ns)", r * 10, "-", "-", "-", ""
        }' "$ROUND_JSON"
fi
echo
echo "A = $A"
echo "B = $B"
[ -n "$FLOOR" ] && echo "C = $B --tick 100"
echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) CPUs, $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo)"
