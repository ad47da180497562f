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
  windows-installers  reads the installers back with msiinfo, then
                    installs, upgrades, starts and removes them under Wine

Each exits non-zero with a message per fault found.
"""

import argparse
import sys

# The checks are imported from the source tree: no byte code is left there.
sys.dont_write_bytecode = True

from checks import installed, packages, resources, tools, windows  # noqa: E402


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    commands = parser.add_subparsers(dest="command", required=True)
    for subject in (resources, installed, tools, packages, windows):
        subject.add_commands(commands)
    args = parser.parse_args(argv)
    args.run(args)


if __name__ == "__main__":
    main(sys.argv[1:])
