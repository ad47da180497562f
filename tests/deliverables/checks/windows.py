"""The Windows executables as Windows reads them: subsystem, the DLLs they
need, size, version block, icon group and manifest; their installers as
msiinfo reads them, and as Wine installs, upgrades and removes them."""

import os
import pathlib
import re
import subprocess
import tempfile
import time
import uuid

from checks.common import DELIVERABLES, HERE, Faults, add_command, output
from checks.resources import check_resources

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
# Qt built without what the program does not use (scripts/build-qt-windows.sh).
WINDOWS_EXECUTABLE_LIMIT = 9 * 1024 * 1024


def wrestool_resources(wrestool, exe):
    """The resources of an executable as read_res gives them."""
    listing = output(wrestool, "-l", exe)
    resources = {}
    for line in listing.splitlines():
        fields = dict(re.findall(r"--([a-z]+)=(\S+)", line))
        kind, name = fields["type"], fields["name"]
        raw = output(wrestool, "-x", "--raw", f"--type={kind}", f"--name={name}",
                     f"--language={fields['language']}", exe, text=False)
        number = lambda text: int(text) if text.isdigit() else text
        resources[(number(kind), number(name))] = (int(fields["language"]), raw)
    return resources


def windows_executable(args):
    faults = Faults()
    name = args.exe.stem
    headers = output(args.objdump, "-p", args.exe)
    faults.check(re.search(r"^Subsystem\s+00000002\s+\(Windows GUI\)", headers, re.M),
                 "subsystem is not Windows GUI")
    faults.check(re.search(r"^Magic\s+020b\s+\(PE32\+\)", headers, re.M), "not a 64-bit executable")
    dlls = sorted({dll.lower() for dll in re.findall(r"DLL Name: (\S+)", headers)})
    faults.equal("DLLs that Windows lacks", [dll for dll in dlls if dll not in WINDOWS_DLLS
                                             and not dll.startswith("api-ms-win-")], [])
    size = args.exe.stat().st_size
    faults.check(size <= WINDOWS_EXECUTABLE_LIMIT,
                 f"{size / 2**20:.2f} MiB, more than {WINDOWS_EXECUTABLE_LIMIT / 2**20:.0f}")
    faults.check(".symtab" not in headers and not re.search(r"^\s*\d+ \.debug", headers, re.M),
                 "not stripped")
    resources = wrestool_resources(args.wrestool, args.exe)
    check_resources(faults, resources, name, args.ico)
    faults.finish(f"{args.exe.name} ({size / 2**20:.1f} MiB, needs {', '.join(dlls)})")


def msiinfo(*arguments):
    return output("msiinfo", *arguments, text=False)


def msi_table(msi, table):
    return [row.split("\t") for row in msiinfo("export", msi, table).decode().splitlines()[3:]]


def read_installer(faults, name, msi, ico):
    """What msiinfo reads of an installer: 64-bit, compressed, no
    administrator (word count 10, msiinfo's "Source"), per user (no
    ALLUSERS), the product, the four files, the icon of Installed apps."""
    summary = dict(re.findall(r"^(\w+): (.*)$", msiinfo("suminfo", msi).decode(), re.M))
    properties = dict(msi_table(msi, "Property"))
    read = ("ProductName", "Manufacturer", "ProductVersion", "UpgradeCode", "ALLUSERS")
    faults.equal(f"{msi.name}: summary and properties",
                 [summary["Template"], summary["Source"], *map(properties.get, read)],
                 ["x64;1033", "10 (a)", name, DELIVERABLES[name]["company"], msi_version(name),
                  f"{{{DELIVERABLES[name]['upgrade_code']}}}", None])
    faults.equal(f"{msi.name}: files", sorted(row[2] for row in msi_table(msi, "File")),
                 shipped(name))
    faults.check(msiinfo("extract", msi, "Icon.program.ico") == ico.read_bytes(), "not program.ico")
    return properties["ProductCode"]


def msi_version(name):
    return ".".join(map(str, DELIVERABLES[name]["version"]))


def shipped(name):
    return sorted([f"{name}.exe", "LICENSE-Qt.txt", "LICENSE.txt", "README.txt"])


class WinePrefix:
    """A fresh Wine prefix with a home of its own: Wine links none of the
    user's folders and, without winemenubuilder, writes no menu files."""

    def __init__(self, folder):
        self.env = {key: value for key, value in os.environ.items() if not key.startswith("XDG_")}
        self.env.update(WINEPREFIX=str(folder / "wine"), WINEARCH="win64", HOME=str(folder),
                        WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        self.run("wineboot", "--init")
        self.run("wineserver", "--wait")
        self.home = next((folder / "wine/drive_c/users").glob("[!P]*"))

    def run(self, *command):
        # Wine's services inherit the first program's output: none here.
        return subprocess.run(command, env=self.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode

    def state(self):
        """The user's files but Temp, the registry's keys with their values."""
        state = {str(path) for path in self.home.rglob("*") if "Temp" not in path.parts}
        for hive in ("HKCU", "HKLM"):
            self.run("wine", "reg", "export", hive, f"Z:{self.home.parent}/r.reg", "/y")
            text = (self.home.parent / "r.reg").read_text(encoding="utf-16")
            state |= set(re.findall(r"^\[.*\]$(?:\n.+)*", text, re.M))
        return state


def windows_installers(args):
    faults = Faults()
    with tempfile.TemporaryDirectory(dir=".") as folder:
        scratch = pathlib.Path(folder).resolve()
        wine = WinePrefix(scratch)
        menu = wine.home / "AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
        before = wine.state()
        marks = sorted({facts["company"] for facts in DELIVERABLES.values()})
        deliverables = [(str(name), *rest) for name, *rest in args.deliverable]

        def installed(name, version, exe):
            programs, where = wine.home / "AppData/Local/Programs" / name, f"{name} {version}"
            faults.equal(f"{where}: files", sorted(path.name for path in programs.iterdir()),
                         shipped(name))
            faults.check((programs / exe.name).read_bytes() == exe.read_bytes(), f"{where}: exe")
            faults.check(f"Programs\\{name}\\{exe.name}".encode()
                         in (menu / f"{name}.lnk").read_bytes(), f"{where}: shortcut")
            faults.equal(f"{where}: uninstall entries", [
                sorted(re.findall(r'^"(DisplayVersion|Publisher)"="(.*)"$', key, re.M))
                for key in wine.state() if "\\Uninstall\\" in key and f'="{name}"' in key],
                [[("DisplayVersion", version), ("Publisher", DELIVERABLES[name]["company"])]])

        for name, msi, wxs, exe, *files in deliverables:
            # The same installer, one version lower, as another product.
            older, product = scratch / f"{name}-older.msi", str(uuid.uuid4()).upper()
            text = re.sub(r'(<Product Id=")[^"]+', rf"\g<1>{product}", wxs.read_text())
            (scratch / "older.wxs").write_text(re.sub(r'(\sVersion=")[^"]+', r"\g<1>1.0.0.0", text))
            subprocess.run([HERE.parents[2] / "scripts/package-windows.py", older, scratch /
                            "older.wxs", exe, *files], check=True, stdout=subprocess.DEVNULL)
            marks += [name, product, read_installer(faults, name, msi, args.ico)]
            # Upgraded, not downgraded, installed again.
            current = msi_version(name)
            for installer, status, version in ((older, 0, "1.0.0.0"), (msi, 0, current),
                                               (older, 1, current), (msi, 0, current)):
                faults.equal(f"msiexec /i {installer.name}", min(1, wine.run(
                    "wine", "msiexec", "/i", installer, "/qn")), status)
                installed(name, version, exe)
            # Started from its shortcut, the program shows its window.
            wine.run("wine", "start", "/unix", menu / f"{name}.lnk")
            deadline = time.monotonic() + 60
            while wine.run("xdotool", "search", "--onlyvisible", "--name", "^Time until") != 0:
                if not faults.check(time.monotonic() < deadline, f"{name}: no window"):
                    break
                time.sleep(0.5)
            wine.run("wineserver", "-k")
        # Removed one by one, the other staying.
        for index, (name, msi, *_) in enumerate(deliverables):
            faults.equal(f"msiexec /x {msi.name}", wine.run("wine", "msiexec", "/x", msi, "/qn"), 0)
            for other, _, _, exe, *_ in deliverables[index + 1:]:
                installed(other, msi_version(other), exe)
        faults.equal("left behind", sorted(entry for entry in wine.state() - before
                                           if any(mark in entry for mark in marks)), [])
        wine.run("wineserver", "-k")
    faults.finish(f"{len(deliverables)} installers read, installed, upgraded, kept and removed")


def add_commands(commands):
    command = add_command(commands, "windows-executable", windows_executable)
    command.add_argument("--objdump", default="x86_64-w64-mingw32-objdump")
    command.add_argument("--wrestool", default="wrestool")
    command.add_argument("--ico", required=True, type=pathlib.Path)
    command.add_argument("exe", type=pathlib.Path)
    command = add_command(commands, "windows-installers", windows_installers)
    command.add_argument("--ico", required=True, type=pathlib.Path)
    command.add_argument("--deliverable", action="append", nargs="+", type=pathlib.Path,
                         required=True, metavar="NAME MSI WXS EXE FILE")
