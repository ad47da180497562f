"""What the distribution's tools make of an installed tree: the hardening of
its executables, its manual pages rendered, its app-store catalogue."""

import gzip
import os
import pathlib
import re
import subprocess
import tempfile
import xml.etree.ElementTree as ElementTree

from checks.common import DELIVERABLES, Faults, add_command, output

# Calls whose buffer sizes are only known at run time stay unfortified; a
# program whose only such calls are these has nothing fortify could protect.
UNFORTIFIABLE = {"memcpy", "memmove", "memset"}


def hardening(args):
    faults = Faults()
    for executable in args.executables:
        # Control-flow protection needs a toolchain built for it, which
        # Debian 12 is not; it is not part of its default hardening either.
        report = subprocess.run(
            [args.hardening_check, "--verbose", "--nocfprotection", str(executable)],
            capture_output=True, text=True).stdout
        print(report, end="")
        results = dict(re.findall(r"^ ([^:\n]+): (.*)$", report, re.MULTILINE))
        for feature in ("Position Independent Executable", "Stack protected",
                        "Read-only relocations", "Immediate binding"):
            faults.check(results.get(feature, "").startswith("yes"),
                         f"{executable.name}: {feature}: {results.get(feature)}")
        # Qt and the C++ runtime come from the system; a search path of our
        # own (qt_standard_project_setup() adds $ORIGIN) is not wanted.
        dynamic = output(args.readelf, "--dynamic", executable)
        faults.equal(f"{executable.name}: library search paths",
                     re.findall(r"\((?:RPATH|RUNPATH)\).*\[(.*)\]", dynamic), [])
        fortify = results.get("Fortify Source functions", "")
        unprotected = set(re.findall(r"^\tunprotected: (\S+)$", report, re.MULTILINE))
        faults.check(fortify.startswith("yes") or fortify.startswith("unknown")
                     or unprotected <= UNFORTIFIABLE,
                     f"{executable.name}: Fortify Source functions: {fortify} ({sorted(unprotected)})")
    faults.finish("hardening")


def manual_pages(args):
    faults = Faults()
    quiet_man = dict(os.environ, LC_ALL="C.UTF-8", MANROFFSEQ="", MANWIDTH="80")
    for page in args.pages:
        source = page.read_bytes()
        if page.suffix == ".gz":
            source = gzip.decompress(source)
        groff = subprocess.run([args.groff, "-man", "-ww", "-z"], input=source, capture_output=True)
        faults.check(groff.returncode == 0 and not groff.stdout + groff.stderr,
                     f"{page.name}: groff: {(groff.stdout + groff.stderr).decode()}")
        man = subprocess.run([args.man, "--warnings", "-E", "UTF-8", "-l", "-Tutf8", "-Z", str(page)],
                             env=quiet_man, capture_output=True)
        faults.check(man.returncode == 0 and not man.stderr, f"{page.name}: man: {man.stderr.decode()}")
    faults.finish("manual pages")


def app_store(args):
    faults = Faults()
    with tempfile.TemporaryDirectory() as scratch:
        composed = subprocess.run([args.appstreamcli, "compose", "--no-net", "--no-color",
                                   f"--prefix={args.prefix}", f"--result-root={scratch}",
                                   "--origin=tallybell", str(args.root)],
                                  capture_output=True, text=True)
        print(composed.stdout + composed.stderr, end="")
        if not faults.equal("appstreamcli compose status", composed.returncode, 0):
            faults.finish(f"app store catalogue of {args.root}")
        catalogue = list(pathlib.Path(scratch).rglob("swcatalog/xml/*.xml.gz"))
        ids = []
        if faults.equal("catalogues", len(catalogue), 1):
            ids = [element.text for element in
                   ElementTree.fromstring(gzip.decompress(catalogue[0].read_bytes())).iter("id")]
        faults.equal("components in the catalogue", sorted(ids),
                     sorted(DELIVERABLES[name]["id"] for name in args.deliverable or DELIVERABLES))
    faults.finish(f"app store catalogue of {args.root}")


def add_commands(commands):
    command = add_command(commands, "hardening", hardening)
    command.add_argument("--hardening-check", default="hardening-check")
    command.add_argument("--readelf", default="readelf")
    command.add_argument("executables", nargs="+", type=pathlib.Path)

    command = add_command(commands, "manual-pages", manual_pages)
    command.add_argument("--groff", default="groff")
    command.add_argument("--man", default="man")
    command.add_argument("pages", nargs="+", type=pathlib.Path)

    command = add_command(commands, "app-store", app_store)
    command.add_argument("--appstreamcli", default="appstreamcli")
    command.add_argument("--prefix", default="/usr", help="where the tree's files are, below root")
    command.add_argument("--deliverable", action="append", choices=sorted(DELIVERABLES))
    command.add_argument("root", type=pathlib.Path)
