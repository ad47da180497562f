"""The Windows executables as Windows reads them: subsystem, the DLLs they
need, size, version block, icon group and manifest."""

import pathlib
import re
import subprocess

from checks.common import DELIVERABLES, Faults
from checks.resources import RT_VERSION, check_icon_resources, check_manifest, check_version_block

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
                 f"{size / 2**20:.2f} MiB, more than {WINDOWS_EXECUTABLE_LIMIT / 2**20:.0f}")
    faults.check(".symtab" not in headers and not re.search(r"^\s*\d+ \.debug", headers, re.M),
                 "not stripped")
    resources = wrestool_resources(args.wrestool, args.exe)
    versions = [key for key in resources if key[0] == RT_VERSION]
    if faults.equal("version blocks", len(versions), 1):
        language, block = resources[versions[0]]
        check_version_block(faults, language, block, name, DELIVERABLES[name])
    check_icon_resources(faults, resources, args.ico.read_bytes())
    check_manifest(faults, resources, DELIVERABLES[name])
    faults.finish(f"{args.exe.name} ({size / 2**20:.1f} MiB, needs {', '.join(dlls)})")


def add_commands(commands):
    command = commands.add_parser("windows-executable")
    command.add_argument("--objdump", default="x86_64-w64-mingw32-objdump")
    command.add_argument("--wrestool", default="wrestool")
    command.add_argument("--ico", required=True, type=pathlib.Path)
    command.add_argument("exe", type=pathlib.Path)
    command.set_defaults(run=windows_executable)
