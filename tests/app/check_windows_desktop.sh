#!/usr/bin/env bash
# Uses the Windows executables under Wine as a person would, on a private X
# server with openbox: each program's window opens at its size, off the
# taskbar, and takes the keyboard without a click (Tab, Tab, Space opens
# About; Enter closes it, and the keyboard is back: Space opens it again);
# its title strip drags it; "X" ends it with status 0; the About box opens
# above the main window. On the event day (a fake clock) its window opens,
# off the taskbar too, has the keyboard again after its box, and closing it
# leaves the main window running. Started without a console, the command
# line answers in a message box. The last executable again at 144 DPI,
# scaled by Windows. Each state is waited for, up to a deadline, so that
# the check holds on a busy machine.
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

# within SECONDS COMMAND...: whether COMMAND succeeds within SECONDS, tried
# every tenth of a second. The deadlines are for a machine whose cores are
# all busy: Wine may take a minute to start a program, and the window
# manager seconds to answer; a run that passes waits no longer for them.
starting=120
settling=30
within() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

seek() {
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$found" ]
}

unseen() {
    ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1
}

# The window whose title matches, once it is mapped (Wine starts slowly);
# nothing if none is.
find_window() {
    if within "$starting" seek "$1"; then echo "$found"; fi
}

gone() {
    within "$settling" unseen "$1"
}

focused() {
    [ "$(xdotool getwindowfocus -f 2>/dev/null)" = "$1" ]
}

# Whether the keyboard comes to the window: the window manager gives it a
# moment after the window is mapped or a box goes.
has_keyboard() {
    within "$settling" focused "$1"
}

# Where the keyboard is, for a failure's message.
keyboard_owner() {
    local id
    id=$(xdotool getwindowfocus -f 2>/dev/null) || id=none
    echo "$id '$(xdotool getwindowname "$id" 2>/dev/null || true)'"
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

# follows WINDOW X Y POINTER_X POINTER_Y: whether the window's corner is at
# X Y with the pointer at POINTER_X POINTER_Y. If not, the pointer trembles
# a pixel and comes back, as a hand's does: a move loop that began after the
# pointer's last motion has seen none to follow yet.
follows() {
    [ "$(position "$1")" = "$2 $3" ] && return 0
    xdotool mousemove $(($4 + 1)) "$5" mousemove "$4" "$5"
    return 1
}

desktops() {
    xprop -root _NET_NUMBER_OF_DESKTOPS | awk '{ print $3 }'
}

desktops_are() {
    [ "$(desktops)" = "$1" ]
}

# Waits until openbox has handled every event sent before, such as the
# release that ends its move and its hold on the pointer: it answers a
# request for one more desktop, and then for one fewer again, only once it
# has.
window_manager_done() {
    local count
    count=$(desktops)
    xdotool set_num_desktops $((count + 1)) && within "$settling" desktops_are $((count + 1)) &&
        xdotool set_num_desktops "$count" && within "$settling" desktops_are "$count"
}

# drag_to WINDOW X Y: presses on the title strip and moves in five steps,
# each as soon as the window has followed the last, until the window's
# corner is at X Y, then lets go. Whether it got there is the caller's
# check.
drag_to() {
    local from_x from_y grip_x grip_y step
    read -r from_x from_y <<<"$(position "$1")"
    grip_x=$((from_x + $(scaled 40)))
    grip_y=$((from_y + $(scaled 8)))
    xdotool mousemove "$grip_x" "$grip_y" mousedown 1
    for step in 1 2 3 4 5; do
        local dx=$((($2 - from_x) * step / 5)) dy=$((($3 - from_y) * step / 5))
        xdotool mousemove $((grip_x + dx)) $((grip_y + dy))
        within "$settling" follows "$1" $((from_x + dx)) $((from_y + dy)) $((grip_x + dx)) $((grip_y + dy)) ||
            break
    done
    xdotool mouseup 1
    window_manager_done || fail openbox "does not answer after a drag"
}

# The program's window size, WIDTHxHEIGHT.
size() {
    xwininfo -id "$1" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'
}

sized() {
    [ "$(size "$1")" = "$2" ]
}

# Pixels of the countdown's blue in a window's area.
blue() {
    import -window root -crop "$(geometry "$1")" txt:- | grep -ci '#8080FF' || true
}

uncovered() {
    [ "$(blue "$1")" -eq 0 ]
}

# close_box NAME BOX TITLE: Enter closes the box once it has the keyboard.
close_box() {
    has_keyboard "$2" || fail "$1" "the $3 box has not the keyboard but $(keyboard_owner)"
    xdotool key Return
    gone "^$3\$" || fail "$1" "$3 box stays"
}

ended() {
    ! kill -0 "$1" 2>/dev/null
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
        # Its windows, if they come late, would mislead the next checks.
        kill "$program" 2>/dev/null || true
        wait "$program" 2>/dev/null || true
        program=""
        return
    fi
    local want
    want="$(scaled 282)x$(scaled 146)"
    within "$settling" sized "$main" "$want" || fail "$name" "main window is $(size "$main"), not $want at $percent %"
    within "$settling" off_taskbar "$main" || fail "$name" "main window is on the taskbar"
    if [ -n "${2:-}" ]; then
        local event
        event=$(find_window '^Form1$')
        if [ -z "$event" ]; then
            fail "$name" "no event-day window"
        else
            within "$settling" off_taskbar "$event" || fail "$name" "event-day window is on the taskbar"
            # Its client area at the scale, inside a frame Wine draws itself.
            local width height
            read -r width height <<<"$(xwininfo -id "$event" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w, h }')"
            if [ $((width - $(scaled 502))) -lt 0 ] || [ $((width - $(scaled 502))) -gt 40 ] ||
                [ $((height - $(scaled 381))) -lt 0 ] || [ $((height - $(scaled 381))) -gt 60 ]; then
                fail "$name" "event-day window is ${width}x$height with its frame, not $(scaled 502)x$(scaled 381) inside at $percent %"
            fi
            # Its button holds the focus: Enter shows the farewell box, Enter
            # closes it; then the window is closed as a user closes it.
            has_keyboard "$event" || fail "$name" "the event-day window has not the keyboard but $(keyboard_owner)"
            xdotool key Return
            local farewell
            farewell=$(find_window '^HEY!$')
            if [ -n "$farewell" ]; then
                close_box "$name" "$farewell" 'HEY!'
            else
                fail "$name" "no farewell box"
            fi
            has_keyboard "$event" ||
                fail "$name" "the keyboard did not come back to the event-day window after its box but is on $(keyboard_owner)"
            xdotool key alt+F4
            gone '^Form1$' || fail "$name" "event-day window does not close"
            [ -n "$(find_window "^${MAIN_TITLE//(/\\(}")" ] ||
                fail "$name" "closing the event-day window closed the main window"
        fi
    else
        # From the first hidden button: Tab to the second, Tab to About.
        has_keyboard "$main" || fail "$name" "the main window has not the keyboard but $(keyboard_owner)"
        xdotool key Tab Tab space
        local box
        box=$(find_window '^About$')
        if [ -n "$box" ]; then
            # The box opens above the main window: once drawn, its area
            # shows its own text, and not a pixel of the countdown's blue.
            within "$settling" uncovered "$box" || fail "$name" "the main window covers the About box ($(blue "$box") pixels)"
            close_box "$name" "$box" About
            # Wine has handed the window to openbox for the box: still off
            # the taskbar.
            within "$settling" off_taskbar "$main" || fail "$name" "main window is on the taskbar after About"
            # The keyboard is back on About: Space opens it again.
            has_keyboard "$main" ||
                fail "$name" "the keyboard did not come back to the main window after About but is on $(keyboard_owner)"
            xdotool key space
            box=$(find_window '^About$')
            if [ -n "$box" ]; then
                close_box "$name" "$box" About
            else
                fail "$name" "Space on About did not open it again"
            fi
        else
            fail "$name" "Tab, Tab, Space did not open About"
        fi
        # Dragged by its title strip, through the Windows move loop, as a
        # person drags.
        local before after x y
        before=$(position "$main")
        read -r x y <<<"$before"
        drag_to "$main" $((x + 50)) $((y + 30))
        after=$(position "$main")
        [ "$after" = "$((x + 50)) $((y + 30))" ] ||
            fail "$name" "dragged from $before to $after, not by 50 30"
    fi
    # "X", at the right of the title strip.
    read -r x y <<<"$(position "$main")"
    xdotool mousemove $((x + $(scaled 271))) $((y + $(scaled 10))) click 1
    local status=0
    if ! within "$settling" ended "$program"; then
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

window_manager_up() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# Windows mapped before openbox runs would stay unmanaged.
within "$settling" window_manager_up || fail openbox "does not start"
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
