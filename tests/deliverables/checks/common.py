"""What every check knows: the deliverables as they must be, and the faults found."""

import pathlib
import sys

# What each deliverable must be, by its file name.
DELIVERABLES = {
    "Countdown": {
        "id": "org.perrin.Countdown",
        "package": "countdown",
        "version": (1, 1, 0, 0),
        "version_text": "1.01",
        "upgrade_code": "BBB06E88-EEE0-40A7-9B9C-2CC844F300D9",
    },
    "Tallybell-3": {
        "id": "org.perrin.Tallybell3",
        "package": "tallybell-3",
        "version": (1, 1, 0, 2),
        "version_text": "1.01.0002",
        "upgrade_code": "021893E4-E4FC-4362-A4C9-A88091C57CF8",
    },
}
COMMENT = "Non LCARS Font version"
COMPANY = "Perrin"
PRODUCT = "TALLYBELL"
RELEASE_DATE = "2026-12-07"
HERE = pathlib.Path(__file__).resolve().parent
LICENSE = HERE.parents[2] / "LICENSE"
# The command line all checks run from, for a check that runs another.
ENTRY = HERE.parent / "check_deliverables.py"

# The desktop's icons in hicolor, by size in pixels.
ICON_SIZES = (16, 32, 48, 64, 128)


class Faults:
    def __init__(self):
        self.messages = []

    def check(self, condition, message):
        if not condition:
            self.messages.append(message)
        return condition

    def equal(self, what, actual, expected):
        return self.check(actual == expected, f"{what}: {actual!r}, expected {expected!r}")

    def finish(self, what):
        sys.stdout.flush()
        for message in self.messages:
            print(f"FAULT: {message}", file=sys.stderr)
        if self.messages:
            sys.exit(1)
        print(f"{what}: all good")
