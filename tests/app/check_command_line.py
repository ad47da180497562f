#!/usr/bin/env python3
"""Runs a built program with no display at all and checks what its command
line answers: help and version work without one, wrong arguments are refused
with status 2, and a missing display is one line and status 1, never Qt's
abort.

Usage: check_command_line.py EXECUTABLE VERSION_TEXT
"""

import os
import subprocess
import sys
import tempfile


QT_OPTIONS_WITH_VALUE = (
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle", "geometry", "title", "icon", "display", "name", "visual",
    "session", "style", "stylesheet", "qmljsdebugger", "fontengine")


def run(executable, arguments, **environment):
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE")}
    env.update(environment)
    result = subprocess.run([executable, *arguments], env=env, capture_output=True,
                            text=True, timeout=20)
    return result.returncode, result.stdout, result.stderr


def main(executable, version):
    name = os.path.basename(executable)
    faults = []

    def expect(arguments, status, stdout=None, stderr=None, **environment):
        actual = run(executable, arguments, **environment)
        wanted = (status, stdout, stderr)
        for what, got, want in zip(("status", "stdout", "stderr"), actual, wanted):
            if want is not None and got != want:
                faults.append(f"{name} {' '.join(arguments)} {environment}: {what} {got!r}, "
                              f"expected {want!r}")
        return actual

    for options in (["--help"], ["-h"], ["-h", "-v"], ["-v", "-h"]):  # help wins
        _, usage, _ = expect(options, 0, stderr="")
        if (not usage.startswith(f"Usage: {name} [options]\n") or "--version" not in usage
                or "(April 13, 2012)" not in usage):
            faults.append(f"{name} {' '.join(options)}: usage reads {usage!r}")
    # Qt's own options, with their values, are left to Qt (the last case).
    for arguments in (["--version"], ["-v"],
                      ["-style", "fusion", "-platform=offscreen", "--reverse", "--version"]):
        expect(arguments, 0, f"{name} {version}\n", "")
    # Every one of them that takes a value, as -name value and --name=value;
    # last with no value: the two the program reads itself, and one it only
    # hands on.
    spaced = [a for option in QT_OPTIONS_WITH_VALUE for a in (f"-{option}", "v")]
    joined = [f"--{option}=v" for option in QT_OPTIONS_WITH_VALUE]
    for arguments in (spaced + joined, ["-platform"], ["-display"], ["-style"]):
        expect(["--version"] + arguments, 0, f"{name} {version}\n", "")

    pointer = f" (see '{name} --help')\n"
    expect(["--bogus-option"], 2, "", f"{name}: unknown option '--bogus-option'{pointer}")
    expect(["-x"], 2, "", f"{name}: unknown option '-x'{pointer}")
    expect(["stray"], 2, "", f"{name}: unexpected argument 'stray'{pointer}")
    expect(["--help=all"], 2, "", f"{name}: unexpected value after '--help'{pointer}")

    for arguments, display in (([], ":57"), (["-platform", "xcb:nograb"], ":57"),
                               (["-display", ":58"], ":58"), (["-display=:58"], ":58")):
        expect(arguments, 1, "", f"{name}: cannot connect to the display \"{display}\"\n",
               DISPLAY=":57")
    expect([], 1, "", f"{name}: cannot connect to a display: DISPLAY is not set\n",
           QT_QPA_PLATFORM="xcb")
    with tempfile.TemporaryDirectory() as runtime_dir:  # as a session has it, mode 0700
        expect([], 1, "", f"{name}: cannot connect to the Wayland display \"wl-none\"\n",
               QT_QPA_PLATFORM="wayland", WAYLAND_DISPLAY="wl-none", XDG_RUNTIME_DIR=runtime_dir)
        expect([], 1, "", f"{name}: cannot connect to the Wayland display \"wayland-0\"\n",
               XDG_SESSION_TYPE="wayland", XDG_RUNTIME_DIR=runtime_dir)
        # Started: Qt takes -platform=..., and what it says while connecting
        # still reaches standard error.
        _, _, said = expect(["-platform=offscreen", "-style", "nosuch"], 0, "",
                            QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime_dir,
                            TALLYBELL_EXIT_AFTER_FIRST_FRAME="1")
        if "invalid style override 'nosuch'" not in said:
            faults.append(f"{name}: Qt's warning at start is lost: {said!r}")
        # Qt's flags alone reach Qt too, which answers -testability by
        # looking for its library.
        for flag in ("-reverse", "-testability"):
            _, _, said = expect([flag], 0, "", QT_QPA_PLATFORM="offscreen",
                                XDG_RUNTIME_DIR=runtime_dir, TALLYBELL_EXIT_AFTER_FIRST_FRAME="1")
            if ("qttestability" in said) != (flag == "-testability"):
                faults.append(f"{name} {flag}: not taken by Qt: {said!r}")

    for fault in faults:
        print(fault, file=sys.stderr)
    print(f"{name}: {'ok' if not faults else f'{len(faults)} faults'}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
