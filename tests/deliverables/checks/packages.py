"""The Debian packages: their fields, and each unpacked as an installed tree."""

import pathlib
import subprocess
import sys
import tempfile

from checks.common import DELIVERABLES, ENTRY, Faults, add_command, output
from checks.installed import check_installed


def packages(args):
    faults = Faults()
    for deb in args.debs:
        fields = {}
        for field in ("Package", "Version", "Depends", "Architecture"):
            fields[field] = output("dpkg-deb", "--field", deb, field).strip()
        names = [name for name, expected in DELIVERABLES.items()
                 if expected["package"] == fields["Package"]]
        if not faults.check(len(names) == 1, f"{deb.name}: unknown package {fields['Package']}"):
            continue
        name = names[0]
        faults.equal(f"{deb.name} version", fields["Version"], DELIVERABLES[name]["version_text"])
        depends = {item.split()[0] for item in fields["Depends"].split(", ") if item}
        for needed in ("libqt6widgets6", "libqt6gui6", "libqt6core6"):
            faults.check(needed in depends, f"{deb.name} does not depend on {needed}")
        with tempfile.TemporaryDirectory() as scratch:
            root = pathlib.Path(scratch)
            subprocess.run(["dpkg-deb", "-x", str(deb), str(root)], check=True)
            check_installed(faults, root / "usr", [name])
            if (root / "usr/bin" / name).exists():
                check_hardening = [sys.executable, str(ENTRY), "hardening",
                                   "--hardening-check", args.hardening_check,
                                   str(root / "usr/bin" / name)]
                faults.check(subprocess.run(check_hardening).returncode == 0,
                             f"{deb.name}: executable not hardened")
            compose = [sys.executable, str(ENTRY), "app-store", "--deliverable", name, str(root)]
            faults.check(subprocess.run(compose).returncode == 0,
                         f"{deb.name}: no app store catalogue")
    faults.finish("packages " + ", ".join(deb.name for deb in args.debs))


def add_commands(commands):
    command = add_command(commands, "packages", packages)
    command.add_argument("--hardening-check", default="hardening-check")
    command.add_argument("debs", nargs="+", type=pathlib.Path)
