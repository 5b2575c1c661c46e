#!/usr/bin/env python3
"""Writes the files that the build places beside hushmark.exe and compiles into it:

  hushmark.ico          the program icon (16 to 256 pixels)
  btn_*.ico             the eight image buttons of the main window (16 to 96 pixels)
  Message.wav           the chime that the pop-up notification plays
  help-images/*.png     the button pictures and the program icon for the help pages

Usage: generate.py OUTPUT-FOLDER
       generate.py --crlf SOURCE TARGET
The second form copies a text file with every line ended by CR LF, whatever line ends the
source has (a checkout may have changed them), as the licence text is delivered.

Standard library only; the same sources give the same files on every run.
"""

import concurrent.futures
import os
import sys

# The build runs this script from the source tree, which it must leave untouched.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import chime  # noqa: E402
import icon_designs  # noqa: E402
from imagefiles import ico_bytes, png_bytes  # noqa: E402

HELP_PICTURE_SIZE = 32
HELP_LOGO_SIZE = 64


def _write(path, data):
    """Writes through a temporary file, so that an interrupted run leaves no half file."""
    temporary = path + ".tmp"
    with open(temporary, "wb") as handle:
        handle.write(data)
    os.replace(temporary, path)


def _render_button(index, size):
    _stem, _caption, top, bottom, symbol = icon_designs.BUTTONS[index]
    return icon_designs.draw_button(symbol, top, bottom, size).rgba_rows()


def _render_program(size):
    return icon_designs.draw_program_icon(size).rgba_rows()


def _copy_crlf(source, target):
    with open(source, "rb") as handle:
        text = handle.read()
    lines = text.replace(b"\r\n", b"\n").replace(b"\r", b"\n").split(b"\n")
    if lines and lines[-1] == b"":
        lines.pop()
    _write(target, b"".join(line + b"\r\n" for line in lines))
    return 0


def main(argv):
    if len(argv) == 4 and argv[1] == "--crlf":
        return _copy_crlf(argv[2], argv[3])
    if len(argv) != 2:
        sys.stderr.write("usage: generate.py OUTPUT-FOLDER | --crlf SOURCE TARGET\n")
        return 2
    out = argv[1]
    pictures = os.path.join(out, "help-images")
    os.makedirs(pictures, exist_ok=True)

    # Rendering is the slow part; the icons are independent, so they are drawn in parallel.
    # Each job is a pure function of its arguments, so the result does not depend on the order.
    jobs = [(("program", size), _render_program, (size,))
            for size in icon_designs.PROGRAM_SIZES]
    jobs += [((index, size), _render_button, (index, size))
             for index in range(len(icon_designs.BUTTONS))
             for size in icon_designs.BUTTON_SIZES]
    try:
        workers = max(1, min(8, os.cpu_count() or 1))
        with concurrent.futures.ProcessPoolExecutor(max_workers=workers) as pool:
            futures = {key: pool.submit(function, *args) for key, function, args in jobs}
            rows = {key: future.result() for key, future in futures.items()}
    except (OSError, ImportError, NotImplementedError):
        # Some build sandboxes offer no process pool (no shared memory); draw one by one.
        rows = {key: function(*args) for key, function, args in jobs}

    _write(os.path.join(out, "hushmark.ico"),
           ico_bytes([rows[("program", s)] for s in icon_designs.PROGRAM_SIZES]))
    _write(os.path.join(pictures, "hushmark.png"), png_bytes(rows[("program", HELP_LOGO_SIZE)]))
    for index, (stem, _caption, _top, _bottom, _symbol) in enumerate(icon_designs.BUTTONS):
        _write(os.path.join(out, stem + ".ico"),
               ico_bytes([rows[(index, s)] for s in icon_designs.BUTTON_SIZES]))
        _write(os.path.join(pictures, stem + ".png"), png_bytes(rows[(index, HELP_PICTURE_SIZE)]))
    _write(os.path.join(out, "Message.wav"), chime.wav_bytes())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
