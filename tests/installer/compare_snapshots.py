#!/usr/bin/env python3
"""Compares two snapshots of a Wine prefix taken by scripts/test-installer, before an install
and after the uninstall, and fails when anything was added or changed.

A snapshot folder holds:
  hkcu.reg, hklm.reg   `reg export` of HKEY_CURRENT_USER and of HKEY_LOCAL_MACHINE\\Software
                       (the 64-bit view, which holds the 32-bit one under Wow6432Node)
  files.txt            `find -printf '%y %P\\n'` of the prefix's drive_c, sorted

What was removed is listed but is no failure: the pass in between erases traces on purpose.

Left out of the comparison, as no trace of the program:
  - HKCU\\Software\\Wine\\Temporary System Parameters: Wine's user32 keeps the session's system
    parameters (colours, window metrics) there the first time a program with windows reads
    them; the installer is the first such program in the sandbox;
  - HKCU\\Console: Wine's console host writes its defaults there the first time it gives a
    console program a window of its own, as it does for the installed hushmark-cli.exe;
  - an empty ~nsu*.tmp folder directly in a user's Temp: the uninstaller runs from a copy there
    and asks Windows to delete copy and folder at the next restart; the test restarts Wine,
    which deletes the copy, but the folder, asked to go while it still held the copy, can stay.
"""
import re
import sys
from pathlib import Path

VOLATILE_KEYS = [
    r"^HKEY_CURRENT_USER\\Software\\Wine\\Temporary System Parameters(\\|$)",
    r"^HKEY_CURRENT_USER\\Console(\\|$)",
]
VOLATILE_FILES = [
    r"^users/[^/]+/Temp/~nsu[^/]*\.tmp$",
]


def read_reg(path):
    """{key: {value name: data}} from a .reg export (UTF-16 with a byte-order mark)."""
    text = path.read_bytes().decode("utf-16")
    keys = {}
    current = None
    pending = ""
    for raw in text.splitlines():
        line = pending + raw.strip() if pending else raw.rstrip()
        if line.endswith("\\") and current is not None and not line.startswith("["):
            pending = line[:-1]
            continue
        pending = ""
        if line.startswith("[") and line.endswith("]"):
            current = line[1:-1]
            keys.setdefault(current, {})
        elif current is not None and line and not line.startswith(";"):
            name, _, data = line.partition("=")
            if line.startswith('"'):
                # "name"=data, the name possibly holding an escaped quote or an '='.
                match = re.match(r'^"((?:[^"\\]|\\.)*)"=(.*)$', line)
                if match:
                    name, data = match.group(1), match.group(2)
            keys[current][name] = data
    return keys


def read_files(path):
    """{relative path: type letter} from find's listing."""
    entries = {}
    for line in path.read_text(encoding="utf-8", errors="surrogateescape").splitlines():
        kind, _, name = line.partition(" ")
        if name:
            entries[name] = kind
    return entries


def ignored(name, patterns):
    return any(re.search(pattern, name, re.IGNORECASE) for pattern in patterns)


def compare_reg(before, after, label, problems, removed):
    for key in sorted(after):
        if ignored(key, VOLATILE_KEYS):
            continue
        if key not in before:
            problems.append(f"{label}: key added: {key}")
            for name, data in sorted(after[key].items()):
                problems.append(f"{label}:   {name} = {data}")
            continue
        for name, data in sorted(after[key].items()):
            if name not in before[key]:
                problems.append(f"{label}: value added: {key} : {name} = {data}")
            elif before[key][name] != data:
                problems.append(f"{label}: value changed: {key} : {name} = {data}"
                                f" (was {before[key][name]})")
    for key in sorted(before):
        if ignored(key, VOLATILE_KEYS):
            continue
        if key not in after:
            removed.append(f"{label}: key removed: {key}")
        else:
            for name in sorted(set(before[key]) - set(after[key])):
                removed.append(f"{label}: value removed: {key} : {name}")


def compare_files(before, after, problems, removed):
    folders_with_content = {name.rsplit("/", 1)[0] for name in after if "/" in name}
    for name in sorted(set(after) - set(before)):
        if ignored(name, VOLATILE_FILES) and after[name] == "d" and name not in folders_with_content:
            continue
        problems.append(f"drive_c: added: {name} ({after[name]})")
    for name in sorted(set(before) - set(after)):
        removed.append(f"drive_c: removed: {name}")


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: compare_snapshots.py BEFORE-FOLDER AFTER-FOLDER")
    before_dir, after_dir = Path(sys.argv[1]), Path(sys.argv[2])
    problems, removed = [], []
    for name, label in (("hkcu.reg", "HKCU"), ("hklm.reg", "HKLM\\Software")):
        compare_reg(read_reg(before_dir / name), read_reg(after_dir / name), label, problems,
                    removed)
    compare_files(read_files(before_dir / "files.txt"), read_files(after_dir / "files.txt"),
                  problems, removed)
    for line in removed:
        print(f"  (gone since the first snapshot) {line}")
    if problems:
        print("left behind or changed since the first snapshot:")
        for line in problems:
            print(f"  {line}")
        return 1
    print("nothing added or changed since the first snapshot")
    return 0


if __name__ == "__main__":
    sys.exit(main())
