#!/usr/bin/env bash
# Starts each given program on a private headless Weston and requires that it
# is still running after a few seconds and has printed nothing on stderr.
#
# Usage: tests/app/check_wayland.sh PROGRAM...
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 PROGRAM..." >&2; exit 2; }
RUN_SECONDS=${RUN_SECONDS:-3}

work=$(mktemp -d) # mode 0700, as Wayland wants its runtime folder
socket="tallybell-check-$$"
pids=()
compositor=""

stop() {
    # TERM first; whatever does not end within 5 s is killed.
    local pid
    for pid in "$@"; do kill -TERM "$pid" 2>/dev/null || true; done
    for pid in "$@"; do
        timeout 5 tail --pid="$pid" -f /dev/null 2>/dev/null || kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}
cleanup() {
    stop "${pids[@]}" ${compositor:+"$compositor"}
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

export XDG_RUNTIME_DIR="$work"
weston --backend=headless-backend.so --use-pixman --socket="$socket" \
    --log="$work/weston.log" </dev/null >/dev/null 2>&1 &
compositor=$!
for _ in $(seq 100); do
    [ -S "$work/$socket" ] && break
    kill -0 "$compositor" 2>/dev/null || break
    sleep 0.1
done
if [ ! -S "$work/$socket" ]; then
    echo "wayland: weston did not start" >&2
    cat "$work/weston.log" >&2 || true
    exit 1
fi

for program in "$@"; do
    name=$(basename "$program")
    WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland "$program" \
        </dev/null >"$work/$name.out" 2>"$work/$name.err" &
    pids+=($!)
done
sleep "$RUN_SECONDS"

failed=0
for i in "${!pids[@]}"; do
    name=$(basename "${@:i+1:1}")
    if ! kill -0 "${pids[$i]}" 2>/dev/null; then
        status=0
        wait "${pids[$i]}" || status=$?
        echo "wayland: $name ended with status $status within ${RUN_SECONDS} s" >&2
        failed=1
    fi
    if [ -s "$work/$name.err" ]; then
        echo "wayland: $name printed on stderr:" >&2
        sed 's/^/    /' "$work/$name.err" >&2
        failed=1
    fi
done
[ "$failed" -eq 0 ] || exit 1
echo "wayland: ok ($(for p in "$@"; do basename "$p"; done | paste -sd' ') on headless Weston)"
