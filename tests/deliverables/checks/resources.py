"""The Windows resources: the version block, icon group and application
manifest a deliverable's resource script compiles to, and the images of the
.ico."""

import pathlib
import re
import struct
import subprocess
import tempfile
import xml.etree.ElementTree as ElementTree

from checks.common import DELIVERABLES, Faults, add_command, output

US_ENGLISH = 0x0409
UNICODE_CODE_PAGE = 1200  # 0x04B0

# The icon group: (width, height, bits per pixel, palette size) per image.
ICON_IMAGES = [(32, 32, 1, 2), (32, 32, 4, 16), (16, 16, 4, 16)]

RT_ICON = 3
RT_GROUP_ICON = 14
RT_VERSION = 16
RT_MANIFEST = 24

# What the manifest tells Windows: the Windows versions the program was made
# for, 7 to 11 (none runs it in a compatibility mode).
SUPPORTED_OS = [
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
]


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
            "Comments": expected["comment"],
            "CompanyName": expected["company"],
            "FileDescription": name,
            "FileVersion": expected["version_text"],
            "InternalName": name,
            "OriginalFilename": f"{name}.exe",
            "ProductName": expected["product"],
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


def check_manifest(faults, resources, expected):
    """The one application manifest (resource 1, as Windows reads it for an
    executable): its identity, rights, Windows versions, DPI awareness and
    common controls."""
    manifests = [key for key in resources if key[0] == RT_MANIFEST]
    if not faults.equal("application manifests", manifests, [(RT_MANIFEST, 1)]):
        return
    root = ElementTree.fromstring(resources[manifests[0]][1])
    def every(path):
        return [element.attrib for element in root.iter() if element.tag.endswith(path)]
    identity = every("}assemblyIdentity")
    version = ".".join(str(part) for part in expected["version"])
    faults.equal("manifest's version", identity[0].get("version") if identity else None, version)
    faults.equal("execution level", [level.get("level") for level in every("}requestedExecutionLevel")],
                 ["asInvoker"])
    faults.equal("supported Windows", [os.get("Id") for os in every("}supportedOS")], SUPPORTED_OS)
    awareness = [element.text for element in root.iter() if element.tag.endswith("}dpiAwareness")]
    faults.equal("DPI awareness", awareness, ["PerMonitorV2"])
    faults.equal("common controls", [dependency.get("version") for dependency in identity[1:]
                                     if dependency.get("name") == "Microsoft.Windows.Common-Controls"],
                 ["6.0.0.0"])


def check_resources(faults, resources, name, ico):
    """A deliverable's compiled resources: one version block, the icon group, the manifest."""
    versions = [key for key in resources if key[0] == RT_VERSION]
    if faults.equal("version blocks", len(versions), 1):
        language, block = resources[versions[0]]
        check_version_block(faults, language, block, name, DELIVERABLES[name])
    check_icon_resources(faults, resources, ico.read_bytes())
    check_manifest(faults, resources, DELIVERABLES[name])


def version_resource(args):
    faults = Faults()
    with tempfile.TemporaryDirectory() as scratch:
        res = pathlib.Path(scratch) / "resources.res"
        subprocess.run([args.windres, f"--preprocessor={args.preprocessor}",
                        "-O", "res", str(args.rc), "-o", str(res)], check=True)
        resources = read_res(res.read_bytes())
    check_resources(faults, resources, args.name, args.ico)
    faults.finish(f"version resource of {args.name}")


def icon_group(args):
    faults = Faults()
    listing = output(args.icotool, "-l", args.ico)
    images = []
    for line in listing.splitlines():
        fields = dict(re.findall(r"--([a-z-]+)=(\d+)", line))
        faults.check("--icon" in line, f"not an icon image: {line}")
        images.append(tuple(int(fields.get(key, 0)) for key in
                            ("width", "height", "bit-depth", "palette-size")))
    faults.equal("images (width, height, bits, colours)", images, ICON_IMAGES)
    faults.finish(str(args.ico))


def add_commands(commands):
    command = add_command(commands, "version-resource", version_resource)
    command.add_argument("--windres", default="x86_64-w64-mingw32-windres")
    command.add_argument("--preprocessor", default="cpp")
    command.add_argument("--name", required=True, choices=sorted(DELIVERABLES))
    command.add_argument("--ico", required=True, type=pathlib.Path)
    command.add_argument("rc", type=pathlib.Path)

    command = add_command(commands, "icon-group", icon_group)
    command.add_argument("--icotool", default="icotool")
    command.add_argument("ico", type=pathlib.Path)
