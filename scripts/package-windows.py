#!/usr/bin/env python3
"""Packs a Windows build of a deliverable into a zip a user unpacks and runs,
or into an installer (.msi) built by wixl from a WiX source.

The zip holds one folder, <stem>/, with the executable and the text files,
in the order given. Text files get Windows line ends. Every entry has the
same time stamp (SOURCE_DATE_EPOCH, else 1980-01-01), the same permissions
and the same compression, so that the same inputs give the same bytes.

The installer is built in a folder holding the files under their names,
where the WiX source finds them. It is reproducible too: wixl runs under a
clock stopped at SOURCE_DATE_EPOCH (libfaketime), the files carry that time,
and the package code, which wixl draws at random, is replaced by one
derived from the WiX source and the files.

Usage: package-windows.py OUT.zip FILE[=NAME] ...
       package-windows.py OUT.msi SOURCE.wxs FILE[=NAME] ...
A FILE ending in .txt, or named with =NAME ending in .txt, is text.
"""

import glob
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import uuid
import zipfile


# A zip cannot hold a time before 1980.
EPOCH = max(int(os.environ.get("SOURCE_DATE_EPOCH", "315532800")), 315532800)
FAKETIME = "/usr/lib/*/faketime/libfaketime.so.1"


def read_files(items):
    """(name, bytes) of every FILE[=NAME], texts with Windows line ends."""
    files = []
    for item in items:
        path, _, name = item.partition("=")
        name = name or os.path.basename(path)
        with open(path, "rb") as source:
            data = source.read()
        if name.endswith(".txt"):
            data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
        files.append((name, data))
    return files


def write_zip(path, stem, files):
    with zipfile.ZipFile(path, "w") as archive:
        for name, data in files:
            info = zipfile.ZipInfo(f"{stem}/{name}", date_time=time.gmtime(EPOCH)[:6])
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # made on "MS-DOS": no Unix owner or mode
            info.external_attr = 0x20  # the archive bit, as Windows sets it
            archive.writestr(info, data, compresslevel=9)


def summary(msi):
    """The summary information of an installer, as msiinfo prints it."""
    text = subprocess.run(["msiinfo", "suminfo", msi], check=True, capture_output=True,
                          text=True).stdout
    return dict(re.findall(r"^([^:\n]+): (.*)$", text, re.M))


def write_msi(out, wxs, files):
    with open(wxs, "rb") as source:
        digest = hashlib.sha256(source.read())
    libraries = sorted(glob.glob(FAKETIME))
    missing = [tool for tool in ("wixl", "msiinfo", "msibuild") if not shutil.which(tool)]
    if missing or not libraries:
        raise SystemExit(f"package-windows: {' '.join(missing or [FAKETIME])} missing: "
                         "run scripts/install-deps.sh windows")
    stopped = time.strftime("%Y-%m-%d %H:%M:%S", time.gmtime(EPOCH))
    clock = dict(os.environ, TZ="UTC", LD_PRELOAD=libraries[0], FAKETIME=stopped)
    with tempfile.TemporaryDirectory() as folder:
        for name, data in files:
            digest.update(f"{name}\0{len(data)}\0".encode())
            digest.update(data)
            path = os.path.join(folder, name)
            with open(path, "wb") as staged:
                staged.write(data)
            # The cabinet keeps each file's time.
            os.utime(path, (EPOCH, EPOCH))
        subprocess.run(["wixl", "--arch", "x64", "--output", os.path.abspath(out),
                        os.path.abspath(wxs)], cwd=folder, env=clock, check=True)
    info = summary(out)
    package_code = uuid.uuid5(uuid.NAMESPACE_OID, digest.hexdigest())
    subprocess.run(["msibuild", out, "-s", info["Subject"], info["Author"], info["Template"],
                    f"{{{str(package_code).upper()}}}"], env=clock, check=True)


def main(argv):
    if len(argv) < 3 or (argv[1].endswith(".msi") and len(argv) < 4):
        print("\n".join(__doc__.strip().splitlines()[-3:-1]), file=sys.stderr)
        return 2
    out = argv[1]
    temporary = out + ".part"
    if out.endswith(".msi"):
        write_msi(temporary, argv[2], read_files(argv[3:]))
    else:
        write_zip(temporary, os.path.basename(out).removesuffix(".zip"), read_files(argv[2:]))
    os.replace(temporary, out)
    print(f"package-windows: {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
