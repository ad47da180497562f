"""The installed tree: its exact file list, icons, and the texts made from
templates (desktop entries, metainfo, manual pages, changelogs and copyright
files) word for word."""

import difflib
import gzip
import pathlib
import re
import shutil
import struct
import subprocess

from checks.common import DELIVERABLES, HERE, LICENSE, Faults, add_command

# The texts as each deliverable must install them, compressed ones unpacked.
EXPECTED = HERE.parent / "expected"


def install_tree(args):
    shutil.rmtree(args.root, ignore_errors=True)
    command = [args.cmake, "--install", str(args.build), "--prefix", str(args.root)]
    if args.config:
        command += ["--config", args.config]
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)


def made_from_templates(name):
    app_id, docs = DELIVERABLES[name]["id"], f"share/doc/{DELIVERABLES[name]['package']}"
    return (f"share/applications/{app_id}.desktop", f"share/metainfo/{app_id}.metainfo.xml",
            f"share/man/man1/{name}.1.gz", f"{docs}/changelog.gz", f"{docs}/copyright")


def expected_files(name):
    app_id = DELIVERABLES[name]["id"]
    return {
        f"bin/{name}",
        *made_from_templates(name),
        *(f"share/icons/hicolor/{size}x{size}/apps/{app_id}.png" for size in DELIVERABLES[name]["icon_sizes"]),
        f"share/icons/hicolor/scalable/apps/{app_id}.svg",
        f"share/doc/{DELIVERABLES[name]['package']}/README.md",
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
        app_id = DELIVERABLES[name]["id"]
        executable = root / "bin" / name
        if executable.exists():
            faults.check(executable.stat().st_mode & 0o111, f"{executable} is not executable")
        for size in DELIVERABLES[name]["icon_sizes"]:
            icon = root / f"share/icons/hicolor/{size}x{size}/apps/{app_id}.png"
            if icon.exists():
                faults.equal(f"size of {icon.name} in {size}x{size}", png_size(icon), (size, size))

        check_texts(faults, root, name)


def compare_texts(faults, root, name):
    """Each text made from a template, byte for byte; a diff for each that differs."""
    for installed in made_from_templates(name):
        path = root / installed
        wanted = EXPECTED / name / path.name.removesuffix(".gz")
        if not path.exists():
            continue  # a missing file is reported with the file list
        text = gzip.decompress(path.read_bytes()) if path.suffix == ".gz" else path.read_bytes()
        if text != wanted.read_bytes():
            diff = difflib.unified_diff(wanted.read_text().splitlines(True),
                                        text.decode(errors="replace").splitlines(True),
                                        str(wanted.relative_to(HERE.parents[2])), installed)
            faults.check(False, f"{installed} differs from what it must be:\n{''.join(diff)}")


def check_texts(faults, root, name):
    """The texts made from templates: whole, then what they must match elsewhere."""
    compare_texts(faults, root, name)
    docs = root / "share/doc" / DELIVERABLES[name]["package"]
    page_path = root / f"share/man/man1/{name}.1.gz"
    if page_path.exists():
        page = gzip.decompress(page_path.read_bytes()).decode().replace("\\-", "-")
        files = re.findall(r"^\.I (\S+)$", page.partition(".SH FILES")[2], re.MULTILINE)
        missing = [path for path in files
                   if not path.startswith("/usr/") or not list(root.glob(path[len("/usr/"):]))]
        faults.check(files and not missing, f"{page_path.name} FILES: {files}, not installed: {missing}")
    # The licence as the source tree has it now.
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
    command = add_command(commands, "install-tree", install_tree)
    command.add_argument("--cmake", default="cmake")
    command.add_argument("--config", default="")
    command.add_argument("build", type=pathlib.Path)
    command.add_argument("root", type=pathlib.Path)

    command = add_command(commands, "installed", installed)
    command.add_argument("--deliverable", action="append", choices=sorted(DELIVERABLES))
    command.add_argument("root", type=pathlib.Path)
