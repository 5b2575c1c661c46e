#!/usr/bin/env python3
"""check_pe.py VERSION FILE...: every Windows program given carries a version resource whose
file and product versions are VERSION (as "6.20" = 6.20.0.0) and an icon. Prints one line per
file; exits with 1 when any file falls short.

Reads the resource directory of the PE file: the types RT_VERSION (16) and RT_GROUP_ICON (14),
and the fixed part (VS_FIXEDFILEINFO) of the first version resource.
"""
import struct
import sys

RT_GROUP_ICON = 14
RT_VERSION = 16
FIXED_FILE_INFO_SIGNATURE = 0xFEEF04BD


class NotAProgram(Exception):
    pass


def sections_and_resources(data):
    if data[:2] != b"MZ":
        raise NotAProgram("no MZ header")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise NotAProgram("no PE header")
    count, optional_size = struct.unpack_from("<xxH12xH", data, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    rva, size = struct.unpack_from("<II", data, directories + 2 * 8)
    sections = []
    for i in range(count):
        entry = optional + optional_size + 40 * i
        virtual_size, virtual_address, raw_size, raw_pointer = struct.unpack_from(
            "<IIII", data, entry + 8)
        sections.append((virtual_address, max(virtual_size, raw_size), raw_pointer))
    return sections, rva, size


def to_offset(sections, rva):
    for address, size, pointer in sections:
        if address <= rva < address + size:
            return pointer + rva - address
    raise NotAProgram(f"address {rva:#x} is in no section")


def directory_entries(data, at):
    named, numbered = struct.unpack_from("<12xHH", data, at)
    for i in range(named + numbered):
        name, target = struct.unpack_from("<II", data, at + 16 + 8 * i)
        yield name, target


def first_leaf(data, base, target):
    """The data entry below a sub-directory: follows the first entry of each level."""
    while target & 0x80000000:
        target = next(directory_entries(data, base + (target & 0x7FFFFFFF)))[1]
    return struct.unpack_from("<II", data, base + target)  # rva, size


def inspect(path):
    data = open(path, "rb").read()
    sections, rva, size = sections_and_resources(data)
    if size == 0:
        return None, False
    base = to_offset(sections, rva)
    types = dict(directory_entries(data, base))
    has_icon = RT_GROUP_ICON in types
    if RT_VERSION not in types:
        return None, has_icon
    leaf_rva, leaf_size = first_leaf(data, base, types[RT_VERSION])
    start = to_offset(sections, leaf_rva)
    block = data[start:start + leaf_size]
    at = block.find(struct.pack("<I", FIXED_FILE_INFO_SIGNATURE))
    if at < 0:
        return None, has_icon
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<8xIIII", block, at)

    def text(ms, ls):
        return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    return (text(file_ms, file_ls), text(product_ms, product_ls)), has_icon


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: check_pe.py VERSION FILE...")
    parts = (sys.argv[1].split(".") + ["0", "0", "0"])[:4]
    wanted = ".".join(str(int(part)) for part in parts)
    failed = False
    for path in sys.argv[2:]:
        try:
            versions, has_icon = inspect(path)
        except (NotAProgram, struct.error, StopIteration) as error:
            print(f"{path}: not a readable Windows program ({error})")
            failed = True
            continue
        faults = []
        if versions is None:
            faults.append("no version resource")
        elif versions != (wanted, wanted):
            faults.append(f"version {versions[0]} / product {versions[1]}, not {wanted}")
        if not has_icon:
            faults.append("no icon")
        print(f"{path}: " + ("; ".join(faults) if faults else f"version {wanted}, icon"))
        failed = failed or bool(faults)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
