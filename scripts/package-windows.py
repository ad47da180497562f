#!/usr/bin/env python3
"""Packs a Windows build of a deliverable into a zip a user unpacks and runs.

The zip holds one folder, <stem>/, with the executable and the text files,
in the order given. Text files get Windows line ends. Every entry has the
same time stamp (SOURCE_DATE_EPOCH, else 1980-01-01), the same permissions
and the same compression, so that the same inputs give the same bytes.

Usage: package-windows.py OUT.zip FILE[=NAME] ...
A FILE ending in .txt, or named with =NAME ending in .txt, is text.
"""

import os
import sys
import time
import zipfile


def entry_time():
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", "315532800"))
    # A zip cannot hold a time before 1980.
    return time.gmtime(max(epoch, 315532800))[:6]


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip().splitlines()[-2], file=sys.stderr)
        return 2
    out, files = argv[1], argv[2:]
    stem = os.path.basename(out).removesuffix(".zip")
    stamp = entry_time()
    temporary = out + ".part"
    with zipfile.ZipFile(temporary, "w") as archive:
        for item in files:
            path, _, name = item.partition("=")
            name = name or os.path.basename(path)
            with open(path, "rb") as source:
                data = source.read()
            if name.endswith(".txt"):
                data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
            info = zipfile.ZipInfo(f"{stem}/{name}", date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # made on "MS-DOS": no Unix owner or mode
            info.external_attr = 0x20  # the archive bit, as Windows sets it
            archive.writestr(info, data, compresslevel=9)
    os.replace(temporary, out)
    print(f"package-windows: {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
