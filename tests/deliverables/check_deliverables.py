#!/usr/bin/env python3
"""Checks what the build makes of the deliverables, as a user or Windows sees it.

  version-resource  compiles a deliverable's Windows resource script and
                    reads the version block and icon group back from the
                    compiled resources
  icon-group        lists the images of the .ico with icotool
  install-tree      installs the build into a fresh folder
  installed         checks an installed tree: the exact file list, the
                    desktop entries, metainfo and icons
  hardening         runs hardening-check on executables and looks for a
                    library search path in them
  manual-pages      renders manual pages with groff and man, failing on
                    any warning
  app-store         composes the AppStream catalogue of an installed tree
                    with appstreamcli compose, as app stores do
  packages          unpacks Debian packages and checks their fields and files
  windows-executable  reads a Windows executable back: its subsystem, the
                    DLLs it needs, its size, version block and icon group

Each exits non-zero with a message per fault found.
"""

import argparse
import configparser
import datetime
import gzip
import os
import pathlib
import re
import shlex
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

# What each deliverable must be, by its file name.
DELIVERABLES = {
    "Countdown": {
        "id": "org.perrin.Countdown",
        "package": "countdown",
        "version": (1, 1, 0, 0),
        "version_text": "1.01",
    },
    "Tallybell-3": {
        "id": "org.perrin.Tallybell3",
        "package": "tallybell-3",
        "version": (1, 1, 0, 2),
        "version_text": "1.01.0002",
    },
}
COMMENT = "Non LCARS Font version"
COMPANY = "Perrin"
PRODUCT = "TALLYBELL"
RELEASE_DATE = "2026-12-07"
LICENSE = pathlib.Path(__file__).resolve().parents[2] / "LICENSE"
US_ENGLISH = 0x0409
UNICODE_CODE_PAGE = 1200  # 0x04B0

# The icon group: (width, height, bits per pixel, palette size) per image.
ICON_IMAGES = [(32, 32, 1, 2), (32, 32, 4, 16), (16, 16, 4, 16)]
# The desktop's icons in hicolor, by size in pixels.
ICON_SIZES = (16, 32, 48, 64, 128)

RT_ICON = 3
RT_GROUP_ICON = 14
RT_VERSION = 16


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


# --- Compiled Windows resources (.res) ---------------------------------------


def align4(offset):
    return (offset + 3) & ~3


def read_name(data, offset):
    """A resource type or name: an ordinal or a UTF-16 string."""
    (first,) = struct.unpack_from("<H", data, offset)
    if first == 0xFFFF:
        (ordinal,) = struct.unpack_from("<H", data, offset + 2)
        return ordinal, offset + 4
    end = offset
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[offset:end].decode("utf-16-le"), end + 2


def read_res(data):
    """The resources of a .res file: {(type, name): (language, bytes)}."""
    resources = {}
    offset = 0
    while offset < len(data):
        size, header_size = struct.unpack_from("<II", data, offset)
        kind, at = read_name(data, offset + 8)
        name, at = read_name(data, at)
        at = align4(at)
        _data_version, _flags, language = struct.unpack_from("<IHH", data, at)
        body = data[offset + header_size : offset + header_size + size]
        if size:  # the first entry of a .res file is an empty marker
            resources[(kind, name)] = (language, body)
        offset = align4(offset + header_size + size)
    return resources


def read_version_node(data, offset=0):
    """One node of a version block: (key, value, children)."""
    length, value_length, kind = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    key_start = at = offset + 6
    while struct.unpack_from("<H", data, at)[0] != 0:
        at += 2
    key = data[key_start:at].decode("utf-16-le")
    at = align4(at + 2)
    value_bytes = value_length * 2 if kind == 1 else value_length
    value = data[at : at + value_bytes]
    if kind == 1:
        value = value.decode("utf-16-le").rstrip("\0")
    at = align4(at + value_bytes)
    children = []
    while at < end:
        child = read_version_node(data, at)
        children.append(child[:3])
        at = align4(at + child[3])
    return key, value, children, length


def version_words(most, least):
    return (most >> 16, most & 0xFFFF, least >> 16, least & 0xFFFF)


def check_version_block(faults, language, block, name, expected):
    faults.equal("version block language", hex(language), hex(US_ENGLISH))
    key, fixed, children, _ = read_version_node(block)
    faults.equal("version block key", key, "VS_VERSION_INFO")
    (signature, _struct_version, file_ms, file_ls, product_ms, product_ls,
     _mask, _flags, file_os, file_type, _subtype) = struct.unpack_from("<11I", fixed)
    faults.equal("fixed file info signature", hex(signature), hex(0xFEEF04BD))
    faults.equal("numeric file version", version_words(file_ms, file_ls), expected["version"])
    faults.equal("numeric product version", version_words(product_ms, product_ls), expected["version"])
    faults.equal("file type (application)", file_type, 1)
    faults.equal("file OS (Windows NT, 32-bit API)", hex(file_os), hex(0x40004))

    blocks = {child[0]: child for child in children}
    faults.equal("version block sections", sorted(blocks), ["StringFileInfo", "VarFileInfo"])
    if "StringFileInfo" in blocks:
        tables = blocks["StringFileInfo"][2]
        faults.equal("string tables", [table[0].upper() for table in tables], ["040904B0"])
        strings = {key: value for key, value, _ in (tables[0][2] if tables else [])}
        faults.equal("version strings", strings, {
            "Comments": COMMENT,
            "CompanyName": COMPANY,
            "FileDescription": name,
            "FileVersion": expected["version_text"],
            "InternalName": name,
            "OriginalFilename": f"{name}.exe",
            "ProductName": PRODUCT,
            "ProductVersion": expected["version_text"],
        })
    if "VarFileInfo" in blocks:
        variables = {key: value for key, value, _ in blocks["VarFileInfo"][2]}
        translation = variables.get("Translation", b"")
        faults.equal("translations", [struct.unpack_from("<HH", translation, at)
                                      for at in range(0, len(translation) - 3, 4)],
                     [(US_ENGLISH, UNICODE_CODE_PAGE)])


def read_ico(data):
    """The images of an .ico file: [(directory fields, image bytes)]."""
    _reserved, _kind, count = struct.unpack_from("<HHH", data)
    images = []
    for index in range(count):
        entry = struct.unpack_from("<BBBBHHII", data, 6 + 16 * index)
        size, offset = entry[6], entry[7]
        images.append((entry[:7], data[offset : offset + size]))
    return images


def check_icon_resources(faults, resources, ico):
    groups = [(key, value) for key, value in resources.items() if key[0] == RT_GROUP_ICON]
    if not faults.equal("icon groups", len(groups), 1):
        return
    language, group = groups[0][1]
    faults.equal("icon group language", hex(language), hex(US_ENGLISH))
    _reserved, _kind, count = struct.unpack_from("<HHH", group)
    expected = read_ico(ico)
    faults.equal("images in the icon group", count, len(expected))
    for index, (fields, image) in enumerate(expected[:count]):
        entry = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * index)
        faults.equal(f"icon group entry {index + 1}", entry[:7], fields)
        icon = resources.get((RT_ICON, entry[7]))
        if faults.check(icon is not None, f"icon group entry {index + 1}: no icon {entry[7]}"):
            faults.check(icon[1] == image, f"icon {entry[7]} differs from image {index + 1} of the .ico")


def version_resource(args):
    faults = Faults()
    expected = DELIVERABLES[args.name]
    with tempfile.TemporaryDirectory() as scratch:
        res = pathlib.Path(scratch) / "resources.res"
        subprocess.run([args.windres, f"--preprocessor={args.preprocessor}",
                        "-O", "res", str(args.rc), "-o", str(res)], check=True)
        resources = read_res(res.read_bytes())
    versions = [key for key in resources if key[0] == RT_VERSION]
    if faults.equal("version blocks", len(versions), 1):
        language, block = resources[versions[0]]
        check_version_block(faults, language, block, args.name, expected)
    check_icon_resources(faults, resources, args.ico.read_bytes())
    faults.finish(f"version resource of {args.name}")


# --- Windows executables ------------------------------------------------------

# The DLLs every Windows (8.1 or later, as Qt 6 asks) has, besides its API
# sets (api-ms-win-*); a program that needs any other (Qt's, the C++
# runtime's, winpthread's) does not start from its zip.
WINDOWS_DLLS = {
    "advapi32.dll", "authz.dll", "comdlg32.dll", "d3d11.dll", "d3d9.dll", "dwmapi.dll",
    "dwrite.dll", "dxgi.dll", "gdi32.dll", "imm32.dll", "kernel32.dll", "msvcrt.dll",
    "netapi32.dll", "ole32.dll", "oleaut32.dll", "setupapi.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "userenv.dll", "uxtheme.dll", "version.dll", "winmm.dll", "ws2_32.dll",
    "wtsapi32.dll", "mpr.dll", "crypt32.dll", "bcrypt.dll", "secur32.dll", "ntdll.dll",
    "shcore.dll",
}
WINDOWS_EXECUTABLE_LIMIT = 16 * 1024 * 1024


def wrestool_resources(wrestool, exe):
    """The resources of an executable as read_res gives them."""
    listing = subprocess.run([wrestool, "-l", str(exe)], check=True,
                             capture_output=True, text=True).stdout
    resources = {}
    for line in listing.splitlines():
        fields = dict(re.findall(r"--([a-z]+)=(\S+)", line))
        kind, name = fields["type"], fields["name"]
        raw = subprocess.run([wrestool, "-x", "--raw", f"--type={kind}", f"--name={name}",
                              f"--language={fields['language']}", str(exe)],
                             check=True, capture_output=True).stdout
        number = lambda text: int(text) if text.isdigit() else text
        resources[(number(kind), number(name))] = (int(fields["language"]), raw)
    return resources


def windows_executable(args):
    faults = Faults()
    name = args.exe.stem
    headers = subprocess.run([args.objdump, "-p", str(args.exe)], check=True,
                             capture_output=True, text=True).stdout
    faults.check(re.search(r"^Subsystem\s+00000002\s+\(Windows GUI\)", headers, re.M),
                 "subsystem is not Windows GUI")
    faults.check(re.search(r"^Magic\s+020b\s+\(PE32\+\)", headers, re.M), "not a 64-bit executable")
    dlls = sorted({dll.lower() for dll in re.findall(r"DLL Name: (\S+)", headers)})
    faults.equal("DLLs that Windows lacks", [dll for dll in dlls if dll not in WINDOWS_DLLS
                                             and not dll.startswith("api-ms-win-")], [])
    size = args.exe.stat().st_size
    faults.check(size <= WINDOWS_EXECUTABLE_LIMIT,
                 f"{size / 2**20:.1f} MiB, more than {WINDOWS_EXECUTABLE_LIMIT / 2**20:.0f}")
    faults.check(".symtab" not in headers and not re.search(r"^\s*\d+ \.debug", headers, re.M),
                 "not stripped")
    resources = wrestool_resources(args.wrestool, args.exe)
    versions = [key for key in resources if key[0] == RT_VERSION]
    if faults.equal("version blocks", len(versions), 1):
        language, block = resources[versions[0]]
        check_version_block(faults, language, block, name, DELIVERABLES[name])
    check_icon_resources(faults, resources, args.ico.read_bytes())
    faults.finish(f"{args.exe.name} ({size / 2**20:.1f} MiB, needs {', '.join(dlls)})")


# --- The icon group ---------------------------------------------------------


def icon_group(args):
    faults = Faults()
    listing = subprocess.run([args.icotool, "-l", str(args.ico)], check=True,
                             capture_output=True, text=True).stdout
    images = []
    for line in listing.splitlines():
        fields = dict(re.findall(r"--([a-z-]+)=(\d+)", line))
        faults.check("--icon" in line, f"not an icon image: {line}")
        images.append(tuple(int(fields.get(key, 0)) for key in
                            ("width", "height", "bit-depth", "palette-size")))
    faults.equal("images (width, height, bits, colours)", images, ICON_IMAGES)
    faults.finish(str(args.ico))


# --- Installed files --------------------------------------------------------


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


# --- Hardening ---------------------------------------------------------------

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
        dynamic = subprocess.run([args.readelf, "--dynamic", str(executable)], check=True,
                                 capture_output=True, text=True).stdout
        faults.equal(f"{executable.name}: library search paths",
                     re.findall(r"\((?:RPATH|RUNPATH)\).*\[(.*)\]", dynamic), [])
        fortify = results.get("Fortify Source functions", "")
        unprotected = set(re.findall(r"^\tunprotected: (\S+)$", report, re.MULTILINE))
        faults.check(fortify.startswith("yes") or fortify.startswith("unknown")
                     or unprotected <= UNFORTIFIABLE,
                     f"{executable.name}: Fortify Source functions: {fortify} ({sorted(unprotected)})")
    faults.finish("hardening")


# --- Manual pages and the app store ------------------------------------------


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


# --- Debian packages ---------------------------------------------------------


def packages(args):
    faults = Faults()
    for deb in args.debs:
        fields = {}
        for field in ("Package", "Version", "Depends", "Architecture"):
            fields[field] = subprocess.run(["dpkg-deb", "--field", str(deb), field], check=True,
                                           capture_output=True, text=True).stdout.strip()
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
                check_hardening = [sys.executable, __file__, "hardening",
                                   "--hardening-check", args.hardening_check,
                                   str(root / "usr/bin" / name)]
                faults.check(subprocess.run(check_hardening).returncode == 0,
                             f"{deb.name}: executable not hardened")
            compose = [sys.executable, __file__, "app-store", "--deliverable", name, str(root)]
            faults.check(subprocess.run(compose).returncode == 0,
                         f"{deb.name}: no app store catalogue")
    faults.finish("packages " + ", ".join(deb.name for deb in args.debs))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    commands = parser.add_subparsers(dest="command", required=True)

    command = commands.add_parser("version-resource")
    command.add_argument("--windres", default="x86_64-w64-mingw32-windres")
    command.add_argument("--preprocessor", default="cpp")
    command.add_argument("--name", required=True, choices=sorted(DELIVERABLES))
    command.add_argument("--ico", required=True, type=pathlib.Path)
    command.add_argument("rc", type=pathlib.Path)
    command.set_defaults(run=version_resource)

    command = commands.add_parser("icon-group")
    command.add_argument("--icotool", default="icotool")
    command.add_argument("ico", type=pathlib.Path)
    command.set_defaults(run=icon_group)

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

    command = commands.add_parser("hardening")
    command.add_argument("--hardening-check", default="hardening-check")
    command.add_argument("--readelf", default="readelf")
    command.add_argument("executables", nargs="+", type=pathlib.Path)
    command.set_defaults(run=hardening)

    command = commands.add_parser("manual-pages")
    command.add_argument("--groff", default="groff")
    command.add_argument("--man", default="man")
    command.add_argument("pages", nargs="+", type=pathlib.Path)
    command.set_defaults(run=manual_pages)

    command = commands.add_parser("app-store")
    command.add_argument("--appstreamcli", default="appstreamcli")
    command.add_argument("--prefix", default="/usr", help="where the tree's files are, below root")
    command.add_argument("--deliverable", action="append", choices=sorted(DELIVERABLES))
    command.add_argument("root", type=pathlib.Path)
    command.set_defaults(run=app_store)

    command = commands.add_parser("packages")
    command.add_argument("--hardening-check", default="hardening-check")
    command.add_argument("debs", nargs="+", type=pathlib.Path)
    command.set_defaults(run=packages)

    command = commands.add_parser("windows-executable")
    command.add_argument("--objdump", default="x86_64-w64-mingw32-objdump")
    command.add_argument("--wrestool", default="wrestool")
    command.add_argument("--ico", required=True, type=pathlib.Path)
    command.add_argument("exe", type=pathlib.Path)
    command.set_defaults(run=windows_executable)

    args = parser.parse_args(argv)
    args.run(args)


if __name__ == "__main__":
    main(sys.argv[1:])
