"""The installed tree: its exact file list, desktop entries, metainfo, icons,
manual pages, changelogs and copyright files."""

import configparser
import datetime
import gzip
import pathlib
import re
import shlex
import shutil
import struct
import subprocess
import xml.etree.ElementTree as ElementTree

from checks.common import DELIVERABLES, ICON_SIZES, LICENSE, PRODUCT, RELEASE_DATE, Faults


def install_tree(args):
    shutil.rmtree(args.root, ignore_errors=True)
    command = [args.cmake, "--install", str(args.build), "--prefix", str(args.root)]
    if args.config:
        command += ["--config", args.config]
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)


def expected_files(name):
    app_id = DELIVERABLES[name]["id"]
    docs = f"share/doc/{DELIVERABLES[name]['package']}"
    return {
        f"bin/{name}",
        f"share/applications/{app_id}.desktop",
        *(f"share/icons/hicolor/{size}x{size}/apps/{app_id}.png" for size in ICON_SIZES),
        f"share/icons/hicolor/scalable/apps/{app_id}.svg",
        f"share/metainfo/{app_id}.metainfo.xml",
        f"share/man/man1/{name}.1.gz",
        f"{docs}/copyright",
        f"{docs}/changelog.gz",
        f"{docs}/README.md",
    }


def png_size(path):
    data = path.read_bytes()
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        return None
    return struct.unpack_from(">II", data, 16)


def check_installed(faults, root, names):
    found = {str(path.relative_to(root)) for path in root.rglob("*") if not path.is_dir()}
    wanted = set().union(*(expected_files(name) for name in names))
    faults.equal("files missing", sorted(wanted - found), [])
    faults.equal("files not expected", sorted(found - wanted), [])

    for name in names:
        expected = DELIVERABLES[name]
        app_id = expected["id"]
        executable = root / "bin" / name
        if executable.exists():
            faults.check(executable.stat().st_mode & 0o111, f"{executable} is not executable")
        for size in ICON_SIZES:
            icon = root / f"share/icons/hicolor/{size}x{size}/apps/{app_id}.png"
            if icon.exists():
                faults.equal(f"size of {icon.name} in {size}x{size}", png_size(icon), (size, size))

        desktop_path = root / f"share/applications/{app_id}.desktop"
        if desktop_path.exists():
            desktop = configparser.ConfigParser(interpolation=None)
            desktop.optionxform = str
            desktop.read(desktop_path, encoding="utf-8")
            entry = desktop["Desktop Entry"]
            # StartupWMClass: the class part of the window's WM_CLASS, which
            # Qt takes from the application name.
            for key, value in {"Type": "Application", "Name": name, "Exec": name, "TryExec": name,
                               "Terminal": "false", "Icon": app_id, "StartupWMClass": name}.items():
                faults.equal(f"{desktop_path.name} {key}", entry.get(key), value)

        metainfo_path = root / f"share/metainfo/{app_id}.metainfo.xml"
        if metainfo_path.exists():
            component = ElementTree.parse(metainfo_path).getroot()
            faults.equal(f"{metainfo_path.name} id", component.findtext("id"), app_id)
            faults.equal(f"{metainfo_path.name} launchable",
                         component.findtext("launchable"), f"{app_id}.desktop")
            faults.equal(f"{metainfo_path.name} binary",
                         component.findtext("provides/binary"), name)
            faults.equal(f"{metainfo_path.name} releases",
                         [(release.get("version"), release.get("date"))
                          for release in component.iter("release")],
                         [(expected["version_text"], RELEASE_DATE)])
        check_texts(faults, root, name)


def versions_after(name, text):
    return set(re.findall(rf"\b{re.escape(name)} (\d[\w.]*)", text))


def check_texts(faults, root, name):
    """The manual page, changelog and copyright file, made from templates."""
    version = DELIVERABLES[name]["version_text"]
    docs = root / "share/doc" / DELIVERABLES[name]["package"]
    page_path = root / f"share/man/man1/{name}.1.gz"
    if page_path.exists():
        page = gzip.decompress(page_path.read_bytes()).decode().replace("\\-", "-")
        header = next((line for line in page.splitlines() if line.startswith(".TH ")), "")
        faults.equal(f"{page_path.name} header", shlex.split(header),
                     [".TH", name, "1", RELEASE_DATE, f"{PRODUCT} {version}", "User Commands"])
        faults.equal(f"{page_path.name} versions", versions_after(name, page), {version})
        months = "January|February|March|April|May|June|July|August|September|October|November|December"
        faults.equal(f"{page_path.name} dates", set(re.findall(rf"(?:{months}) \d+(?:, \d+)?", page)),
                     {"April 13, 2012", "April 13"})
        files = re.findall(r"^\.I (\S+)$", page.partition(".SH FILES")[2], re.MULTILINE)
        missing = [path for path in files
                   if not path.startswith("/usr/") or not list(root.glob(path[len("/usr/"):]))]
        faults.check(files and not missing, f"{page_path.name} FILES: {files}, not installed: {missing}")
    changelog_path = docs / "changelog.gz"
    if changelog_path.exists():
        changelog = gzip.decompress(changelog_path.read_bytes()).decode()
        faults.equal("changelog package and version", changelog.split(" ", 2)[:2],
                     [DELIVERABLES[name]["package"], f"({version})"])
        faults.equal("changelog versions", versions_after(name, changelog), {version})
        date = datetime.date.fromisoformat(RELEASE_DATE).strftime("%a, %d %b %Y 12:00:00 +0000")
        faults.check(changelog.rstrip().endswith(f">  {date}"), f"changelog not dated {date}")
    if (docs / "copyright").exists():
        holders, text = re.search(r"\nCopyright \(c\) (.+?)\n\n(.+)$", LICENSE.read_text(),
                                  re.DOTALL).groups()
        text = "\n".join(f" {line}" if line else " ." for line in text.strip().splitlines())
        paragraphs = [dict(re.findall(r"^(\S+): ?(.*(?:\n .*)*)", paragraph, re.MULTILINE))
                      for paragraph in (docs / "copyright").read_text().split("\n\n")]
        faults.equal("copyright: files and licences",
                     [(p.get("Files"), p.get("Copyright"), p.get("License")) for p in paragraphs[1:]],
                     [("*", holders, "Expat"), (None, None, f"Expat\n{text}")])


def installed(args):
    faults = Faults()
    check_installed(faults, args.root, args.deliverable or list(DELIVERABLES))
    faults.finish(f"installed tree {args.root}")


def add_commands(commands):
    command = commands.add_parser("install-tree")
    command.add_argument("--cmake", default="cmake")
    command.add_argument("--config", default="")
    command.add_argument("build", type=pathlib.Path)
    command.add_argument("root", type=pathlib.Path)
    command.set_defaults(run=install_tree)

    command = commands.add_parser("installed")
    command.add_argument("--deliverable", action="append", choices=sorted(DELIVERABLES))
    command.add_argument("root", type=pathlib.Path)
    command.set_defaults(run=installed)
