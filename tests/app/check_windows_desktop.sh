#!/usr/bin/env bash
# Uses the Windows executables under Wine as a person would, on a private X
# server with openbox: each program's window opens at its size, off the
# taskbar, and takes the keyboard without a click (Tab, Tab, Space opens
# About; Enter closes it, and the keyboard is back: Space opens it again);
# its title strip drags it; "X" ends it with status 0; the About box opens
# above the main window. On the event day (a fake clock) its window opens,
# off the taskbar too, and closing it leaves the main window running.
# Started without a console, the command line answers in a message box. The
# last executable again at 144 DPI, scaled by Windows.
#
# Usage: tests/support/run_on_xvfb.sh tests/app/check_windows_desktop.sh EXE...
# Expects a private X server in DISPLAY, WINEPREFIX and the rest of
# tests/support/run_windows_tests.sh's environment.
set -euo pipefail
MAIN_TITLE="Time until Lantern Moss Fair II (April 13, 2012)"
faketime_library=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1

scratch=$(mktemp -d)
openbox >"$scratch/openbox.log" 2>&1 &
window_manager=$!
program=""
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null
    wineserver -k 2>/dev/null || true
    kill "$window_manager" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

failures=0
fail() {
    echo "check_windows_desktop: $1: $2" >&2
    failures=$((failures + 1))
}

# The window whose title matches, waited for up to 30 s (Wine starts slowly).
find_window() {
    local id=""
    for _ in $(seq 150); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ] && break
        sleep 0.2
    done
    echo "$id"
}

gone() {
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    return 1
}

# Whether the keyboard is on the window within 5 s: the window manager gives
# it back a moment after a box goes.
has_keyboard() {
    for _ in $(seq 25); do
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
        sleep 0.2
    done
    return 1
}

# WIDTHxHEIGHT+X+Y of a window on the screen.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
        /Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h "+" x "+" y }'
}

position() {
    xwininfo -id "$1" | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 } END { print x, y }'
}

# Off the taskbar: Wine either hands the window to the window manager with
# _NET_WM_STATE_SKIP_TASKBAR (a tool window with a caption), or keeps it to
# itself as an override-redirect window, which no taskbar lists (a borderless
# tool window shown without activation, as Qt shows tool windows). openbox
# would not give the keyboard to a managed one: it never focuses a normal
# window that skips the taskbar unless the user asks.
off_taskbar() {
    xwininfo -id "$1" | grep -q 'Override Redirect State: yes' ||
        xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR
}

# drag_to WINDOW X Y: presses on the title strip and moves in five steps
# until the window's corner is at X Y, then lets go.
drag_to() {
    local from_x from_y grip_x grip_y
    read -r from_x from_y <<<"$(position "$1")"
    grip_x=$((from_x + $(scaled 40)))
    grip_y=$((from_y + $(scaled 8)))
    xdotool mousemove "$grip_x" "$grip_y" mousedown 1
    for step in 1 2 3 4 5; do
        xdotool mousemove $((grip_x + ($2 - from_x) * step / 5)) $((grip_y + ($3 - from_y) * step / 5))
        sleep 0.1
    done
    for _ in $(seq 50); do
        [ "$(position "$1")" = "$2 $3" ] && break
        sleep 0.1
    done
    xdotool mouseup 1
    sleep 1 # the move loop ends
}

# A length in the program's pixels as the screen's pixels at the DPI of
# the run (percent of 96 DPI), rounded as Qt rounds.
percent=100
scaled() {
    echo $((($1 * percent + 50) / 100))
}

# check EXE [FAKETIME]: one run of the program, ended by the keyboard.
check() {
    local exe=$1 name
    name=$(basename "$exe" .exe)
    if [ -n "${2:-}" ]; then
        LD_PRELOAD=$faketime_library FAKETIME="$2" FAKETIME_DONT_FAKE_MONOTONIC=1 \
            wine "$exe" 2>"$scratch/$name.log" &
    else
        wine "$exe" 2>"$scratch/$name.log" &
    fi
    program=$!
    local main
    main=$(find_window "^${MAIN_TITLE//(/\\(}")
    if [ -z "$main" ]; then
        fail "$name" "no main window"
        return
    fi
    sleep 1 # the first rounds
    local size
    size=$(xwininfo -id "$main" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
    local want
    want="$(scaled 282)x$(scaled 146)"
    [ "$size" = "$want" ] || fail "$name" "main window is $size, not $want at $percent %"
    off_taskbar "$main" || fail "$name" "main window is on the taskbar"
    if [ -n "${2:-}" ]; then
        local event
        event=$(find_window '^Form1$')
        if [ -z "$event" ]; then
            fail "$name" "no event-day window"
        else
            off_taskbar "$event" || fail "$name" "event-day window is on the taskbar"
            # Its client area at the scale, inside a frame Wine draws itself.
            local width height
            read -r width height <<<"$(xwininfo -id "$event" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w, h }')"
            if [ $((width - $(scaled 502))) -lt 0 ] || [ $((width - $(scaled 502))) -gt 40 ] ||
                [ $((height - $(scaled 381))) -lt 0 ] || [ $((height - $(scaled 381))) -gt 60 ]; then
                fail "$name" "event-day window is ${width}x$height with its frame, not $(scaled 502)x$(scaled 381) inside at $percent %"
            fi
            # Its button holds the focus: Enter shows the farewell box, Enter
            # closes it; then the window is closed as a user closes it.
            xdotool key Return
            [ -n "$(find_window '^HEY!$')" ] || fail "$name" "no farewell box"
            xdotool key Return
            gone '^HEY!$' || fail "$name" "farewell box stays"
            xdotool windowactivate --sync "$event" key alt+F4
            gone '^Form1$' || fail "$name" "event-day window does not close"
            [ -n "$(find_window "^${MAIN_TITLE//(/\\(}")" ] ||
                fail "$name" "closing the event-day window closed the main window"
        fi
    else
        # From the first hidden button: Tab to the second, Tab to About.
        xdotool key Tab Tab space
        local box
        box=$(find_window '^About$')
        if [ -n "$box" ]; then
            # The box opens above the main window: its area shows its own
            # text, and not a pixel of the countdown's blue.
            sleep 0.5
            local blue
            blue=$(import -window root -crop "$(geometry "$box")" txt:- | grep -ci '#8080FF' || true)
            [ "$blue" -eq 0 ] || fail "$name" "the main window covers the About box ($blue pixels)"
            xdotool key Return
            gone '^About$' || fail "$name" "About box stays"
            # Wine has handed the window to openbox for the box: still off
            # the taskbar.
            off_taskbar "$main" || fail "$name" "main window is on the taskbar after About"
            # The keyboard is back on About: Space opens it again.
            has_keyboard "$main" || fail "$name" "the keyboard did not come back to the main window after About"
            xdotool key space
            if [ -n "$(find_window '^About$')" ]; then
                xdotool key Return
                gone '^About$' || fail "$name" "About box stays"
            else
                fail "$name" "Space on About did not open it again"
            fi
        else
            fail "$name" "Tab, Tab, Space did not open About"
        fi
        # Dragged by its title strip, through the Windows move loop.
        local before after x y
        before=$(position "$main")
        read -r x y <<<"$before"
        # As a person drags: in steps, then waits for the window to follow
        # (up to 5 s on a busy machine) before letting go. A busy move loop
        # can drop the last steps: the rest is dragged again, as a hand does.
        drag_to "$main" $((x + 50)) $((y + 30))
        [ "$(position "$main")" = "$((x + 50)) $((y + 30))" ] ||
            drag_to "$main" $((x + 50)) $((y + 30))
        after=$(position "$main")
        [ "$after" = "$((x + 50)) $((y + 30))" ] ||
            fail "$name" "dragged from $before to $after, not by 50 30"
    fi
    # "X", at the right of the title strip.
    read -r x y <<<"$(position "$main")"
    xdotool mousemove $((x + $(scaled 271))) $((y + $(scaled 10))) click 1
    local status=0
    for _ in $(seq 50); do
        kill -0 "$program" 2>/dev/null || break
        sleep 0.2
    done
    if kill -0 "$program" 2>/dev/null; then
        fail "$name" "X did not end the program"
        kill "$program" 2>/dev/null
    fi
    wait "$program" || status=$?
    program=""
    [ "$status" -eq 0 ] || fail "$name" "ended with status $status"
    [ ! -s "$scratch/$name.log" ] || { echo "$name said:" >&2; cat "$scratch/$name.log" >&2; }
}

# command_line EXE OPTION STATUS TEXT: started with no console and no
# standard handles, as from Explorer or cmd.exe, the program answers its
# command line in a message box titled with its name (read and closed by
# read_message_box.exe) and ends with the status it has on Linux.
command_line() {
    local exe=$1 name text status=0
    name=$(basename "$exe" .exe)
    wine start /wait /unix "$exe" "$2" >/dev/null 2>&1 &
    local start=$!
    text=$(wine "$(dirname "$exe")/read_message_box.exe" "$name" 2>&1 | tr -d '\r' | head -n 1) || true
    wait "$start" || status=$?
    [ "$text" = "$4" ] || fail "$name" "$2 without a console showed '$text', not '$4'"
    [ "$status" -eq "$3" ] || fail "$name" "$2 without a console ended with $status, not $3"
}

for exe in "$@"; do
    check "$exe"
    name=$(basename "$exe" .exe)
    command_line "$exe" --version 0 "$name $(wine "$exe" --version | tr -d '\r' | cut -d' ' -f2)"
done
command_line "$1" --help 0 "Usage: $(basename "$1" .exe) [options]"
command_line "$1" --nosuch 2 "$(basename "$1" .exe): unknown option '--nosuch' (see '$(basename "$1" .exe) --help')"
# The event day, with the first executable.
check "$1" "@2012-04-13 09:59:57"
# At 144 DPI Windows scales the program by half as much again: the last
# executable, then its event day.
set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}
set_dpi 144
percent=150
check "${@: -1}"
check "${@: -1}" "@2012-04-13 09:59:57"
set_dpi 96
percent=100

if [ "$failures" -gt 0 ]; then
    echo "check_windows_desktop: $failures faults" >&2
    exit 1
fi
echo "check_windows_desktop: both programs work under Wine with openbox"
