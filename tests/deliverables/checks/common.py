"""What every check knows: the deliverables as they must be, and the faults found."""

import json
import os
import pathlib
import subprocess
import sys

# What each deliverable must be, by its file name: the settings of its target,
# which the build writes to the file DELIVERABLE_FACTS names.
if "DELIVERABLE_FACTS" not in os.environ:
    sys.exit("DELIVERABLE_FACTS must name the deliverables.json of a configured build "
             "(BUILD_DIR/tests/support/deliverables.json)")
DELIVERABLES = json.loads(pathlib.Path(os.environ["DELIVERABLE_FACTS"]).read_text())
for facts in DELIVERABLES.values():
    facts["version"] = tuple(facts["version"])
HERE = pathlib.Path(__file__).resolve().parent
LICENSE = HERE.parents[2] / "LICENSE"
# The command line all checks run from, for a check that runs another.
ENTRY = HERE.parent / "check_deliverables.py"


def output(*command, text=True):
    """What a command that must succeed writes to standard output."""
    return subprocess.run(list(map(str, command)), check=True, capture_output=True, text=text).stdout


def add_command(commands, name, run):
    """A command of check_deliverables.py that calls run(args)."""
    command = commands.add_parser(name)
    command.set_defaults(run=run)
    return command


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
