#!/usr/bin/env python3
"""Checks the files that the build places beside hushmark.exe, as the program will find them.

Usage: check.py BUILD-FOLDER [--help-source HELP-FOLDER] [--self-test] [--stamp FILE]

BUILD-FOLDER is the folder that holds hushmark.exe. Checked there:
  assets/hushmark.ico     every size 16, 20, 24, 32, 40, 48, 64, 256; 32-bit with alpha
  assets/btn_*.ico        the eight button icons, sizes 16 to 64 and 96
  Sounds/Message.wav      16-bit PCM mono 22050 Hz, about 0.6 s, peak below full scale,
                          silent at both ends
  License.txt             ASCII only, every line ended by CR LF
  help.chm                a CHM file holding every file of the help project, byte counts equal
                          to the sources (with --help-source)
With --help-source the help sources are checked too: every page is in the project, every link,
picture and table-of-contents entry points at a file (and anchor) that exists.

--self-test then damages copies of the files in a temporary folder, one fault at a time, and
fails unless every fault is reported: the checks above must be able to fail.
--stamp FILE is written when everything passed (for the build's dependency tracking).
Exit code 0 when all checks pass, 1 otherwise, 2 for a usage error. Standard library only.
"""

import html.parser
import os
import re
import shutil
import struct
import sys
import tempfile
import zlib

PROGRAM_ICON = ("hushmark.ico", (16, 20, 24, 32, 40, 48, 64, 256))
BUTTON_ICONS = [("btn_%s.ico" % name, (16, 20, 24, 32, 40, 48, 64, 96))
                for name in ("main", "settings", "clean", "search", "options", "shredder",
                             "registry", "exit")]
HELP_PICTURES = ["hushmark.png"] + ["btn_%s.png" % name for name in
                                    ("main", "settings", "clean", "search", "options",
                                     "shredder", "registry", "exit")]

WAV_RATE = 22050
WAV_MIN_SECONDS, WAV_MAX_SECONDS = 0.4, 1.0
WAV_MIN_PEAK = 3000       # audible
WAV_MAX_PEAK = 32766      # below full scale (+32767 / -32768)
WAV_EDGE = 200            # first and last sample this close to silence: no click


# ---------------------------------------------------------------------------------------------
# Icons


def _png_pixels(data):
    """(width, height, rows of RGBA bytes) of an 8-bit RGBA PNG, or raises ValueError."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("no PNG signature")
    pos, header, idat = 8, None, b""
    while pos < len(data):
        if pos + 8 > len(data):
            raise ValueError("truncated chunk header")
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if len(body) != length or pos + 12 + length > len(data):
            raise ValueError("truncated %s chunk" % kind.decode("latin-1"))
        crc = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])[0]
        if zlib.crc32(kind + body) & 0xFFFFFFFF != crc:
            raise ValueError("bad CRC in %s chunk" % kind.decode("latin-1"))
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
        pos += 12 + length
    if header is None:
        raise ValueError("no IHDR chunk")
    width, height, depth, colour, _compression, _filter, interlace = header
    if (depth, colour, interlace) != (8, 6, 0):
        raise ValueError("not 8-bit RGBA without interlace")
    raw = zlib.decompress(idat)
    stride = width * 4
    if len(raw) != height * (stride + 1):
        raise ValueError("pixel data has the wrong length")
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up = previous[i]
            upper_left = previous[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - upper_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upper_left)
                pred = left if pa <= pb and pa <= pc else (up if pb <= pc else upper_left)
                line[i] = (line[i] + pred) & 0xFF
            elif kind != 0:
                raise ValueError("unknown row filter %d" % kind)
        rows.append(bytes(line))
        previous = line
    return width, height, rows


def _bmp_pixels(data, size):
    """Rows (top first) of RGBA bytes from an icon bitmap; checks header and AND mask."""
    if len(data) < 40:
        raise ValueError("bitmap header truncated")
    (header_size, width, height, planes, bits, compression,
     _image_size, _xppm, _yppm, _used, _important) = struct.unpack("<IiiHHIIiiII", data[:40])
    if header_size != 40:
        raise ValueError("bitmap header size %d, not 40" % header_size)
    if width != size or height != 2 * size:
        raise ValueError("bitmap is %dx%d, expected %dx%d" % (width, height, size, 2 * size))
    if planes != 1 or bits != 32 or compression != 0:
        raise ValueError("bitmap is not 32-bit uncompressed")
    mask_stride = ((size + 31) // 32) * 4
    expected = 40 + size * size * 4 + mask_stride * size
    if len(data) != expected:
        raise ValueError("bitmap holds %d bytes, expected %d" % (len(data), expected))
    rows = []
    mask_base = 40 + size * size * 4
    for y in range(size):
        source = 40 + (size - 1 - y) * size * 4
        mask_row = data[mask_base + (size - 1 - y) * mask_stride:]
        row = bytearray()
        for x in range(size):
            b, g, r, a = data[source + 4 * x:source + 4 * x + 4]
            transparent_bit = (mask_row[x // 8] >> (7 - x % 8)) & 1
            if transparent_bit != (1 if a == 0 else 0):
                raise ValueError("AND mask disagrees with alpha at %d,%d" % (x, y))
            row += bytes((r, g, b, a))
        rows.append(bytes(row))
    return rows


def _check_pixels(rows, size, where):
    problems = []
    alphas = [row[i] for row in rows for i in range(3, len(row), 4)]
    opaque = sum(1 for a in alphas if a == 255)
    partial = sum(1 for a in alphas if 0 < a < 255)
    if rows[0][3] != 0 or rows[-1][-1] != 0:
        problems.append("%s: %d px corners are not transparent" % (where, size))
    if opaque < len(alphas) // 5:
        problems.append("%s: %d px image is mostly empty (%d opaque pixels)" %
                        (where, size, opaque))
    if partial == 0:
        problems.append("%s: %d px image has no anti-aliased edge pixels" % (where, size))
    colours = {row[i:i + 3] for row in rows for i in range(0, len(row), 4)
               if row[i + 3] == 255}
    if len(colours) < 3:
        problems.append("%s: %d px image has fewer than three colours" % (where, size))
    return problems


def check_ico(path, sizes):
    where = os.path.basename(path)
    try:
        with open(path, "rb") as handle:
            data = handle.read()
    except OSError as error:
        return ["%s: cannot be read (%s)" % (where, error)]
    if len(data) < 6:
        return ["%s: shorter than an icon header" % where]
    reserved, kind, count = struct.unpack("<HHH", data[:6])
    if reserved != 0 or kind != 1:
        return ["%s: not an icon file (reserved %d, type %d)" % (where, reserved, kind)]
    if len(data) < 6 + 16 * count:
        return ["%s: icon directory truncated" % where]
    problems, found = [], []
    for index in range(count):
        (width, height, colours, zero, planes, bits, length,
         offset) = struct.unpack("<BBBBHHII", data[6 + 16 * index:22 + 16 * index])
        size = width or 256
        found.append(size)
        label = "%s entry %d" % (where, index)
        if width != height:
            problems.append("%s: not square (%dx%d)" % (label, width, height))
        if colours != 0 or zero != 0 or planes != 1 or bits != 32:
            problems.append("%s: not a 32-bit entry (planes %d, bits %d)" % (label, planes, bits))
        if offset + length > len(data) or offset < 6 + 16 * count:
            problems.append("%s: image data lies outside the file" % label)
            continue
        image = data[offset:offset + length]
        try:
            if image[:8] == b"\x89PNG\r\n\x1a\n":
                png_width, png_height, rows = _png_pixels(image)
                if (png_width, png_height) != (size, size):
                    raise ValueError("PNG is %dx%d" % (png_width, png_height))
            else:
                rows = _bmp_pixels(image, size)
        except (ValueError, zlib.error, struct.error) as error:
            problems.append("%s (%d px): %s" % (label, size, error))
            continue
        problems += _check_pixels(rows, size, where)
    if sorted(found) != sorted(sizes):
        problems.append("%s: sizes %s, expected %s" % (where, sorted(found), sorted(sizes)))
    return problems


def check_png_file(path, size):
    where = os.path.basename(path)
    try:
        with open(path, "rb") as handle:
            width, height, rows = _png_pixels(handle.read())
    except (OSError, ValueError, zlib.error, struct.error) as error:
        return ["%s: %s" % (where, error)]
    if (width, height) != (size, size):
        return ["%s: %dx%d, expected %dx%d" % (where, width, height, size, size)]
    return _check_pixels(rows, size, where)


# ---------------------------------------------------------------------------------------------
# Sound and licence


def check_wav(path):
    where = "Sounds/Message.wav"
    try:
        with open(path, "rb") as handle:
            data = handle.read()
    except OSError as error:
        return ["%s: cannot be read (%s)" % (where, error)]
    if len(data) < 12 or data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        return ["%s: not a RIFF WAVE file" % where]
    if struct.unpack("<I", data[4:8])[0] != len(data) - 8:
        return ["%s: RIFF length does not match the file size" % where]
    chunks, pos = {}, 12
    while pos + 8 <= len(data):
        kind, length = struct.unpack("<4sI", data[pos:pos + 8])
        chunks[kind] = data[pos + 8:pos + 8 + length]
        pos += 8 + length + (length & 1)
    problems = []
    fmt = chunks.get(b"fmt ")
    if fmt is None or len(fmt) < 16:
        return ["%s: no format chunk" % where]
    tag, channels, rate, byte_rate, align, bits = struct.unpack("<HHIIHH", fmt[:16])
    if (tag, channels, rate, bits) != (1, 1, WAV_RATE, 16):
        problems.append("%s: format %d, %d channel(s), %d Hz, %d bits; expected PCM mono %d Hz "
                        "16 bits" % (where, tag, channels, rate, bits, WAV_RATE))
    if align != channels * bits // 8 or byte_rate != rate * align:
        problems.append("%s: block align %d / byte rate %d inconsistent" %
                        (where, align, byte_rate))
    pcm = chunks.get(b"data")
    if pcm is None or len(pcm) < 2 or len(pcm) % 2:
        return problems + ["%s: no 16-bit sample data" % where]
    samples = struct.unpack("<%dh" % (len(pcm) // 2), pcm)
    seconds = len(samples) / float(WAV_RATE)
    if not WAV_MIN_SECONDS <= seconds <= WAV_MAX_SECONDS:
        problems.append("%s: lasts %.3f s, expected %.1f to %.1f s" %
                        (where, seconds, WAV_MIN_SECONDS, WAV_MAX_SECONDS))
    peak = max(abs(s) for s in samples)
    if peak > WAV_MAX_PEAK:
        problems.append("%s: peak %d reaches full scale (clipping)" % (where, peak))
    if peak < WAV_MIN_PEAK:
        problems.append("%s: peak %d is too quiet to hear" % (where, peak))
    if abs(samples[0]) > WAV_EDGE or abs(samples[-1]) > WAV_EDGE:
        problems.append("%s: starts or ends with a step (%d, %d): it would click" %
                        (where, samples[0], samples[-1]))
    return problems


def check_license(path):
    where = "License.txt"
    try:
        with open(path, "rb") as handle:
            data = handle.read()
    except OSError as error:
        return ["%s: cannot be read (%s)" % (where, error)]
    problems = []
    if len(data) < 200:
        problems.append("%s: only %d bytes" % (where, len(data)))
    bad = [i for i, byte in enumerate(data) if byte > 126 or (byte < 32 and byte not in b"\r\n")]
    if bad:
        problems.append("%s: %d byte(s) outside printable ASCII, first at offset %d" %
                        (where, len(bad), bad[0]))
    if re.search(rb"(?<!\r)\n", data):
        problems.append("%s: a line ends with LF alone" % where)
    if re.search(rb"\r(?!\n)", data):
        problems.append("%s: a CR without LF" % where)
    if not data.endswith(b"\r\n"):
        problems.append("%s: the last line has no CR LF" % where)
    if b"Hushmark" not in data:
        problems.append("%s: does not name Hushmark" % where)
    return problems


# ---------------------------------------------------------------------------------------------
# Help file


def _encint(data, pos):
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


def chm_directory(data):
    """{name: uncompressed length} of every file in a CHM file, or raises ValueError."""
    if data[:4] != b"ITSF" or len(data) < 0x58:
        raise ValueError("no ITSF header")
    dir_offset, dir_length = struct.unpack("<QQ", data[0x48:0x58])
    directory = data[dir_offset:dir_offset + dir_length]
    if directory[:4] != b"ITSP":
        raise ValueError("no ITSP directory")
    header_length, = struct.unpack("<I", directory[8:12])
    chunk_size, = struct.unpack("<I", directory[0x10:0x14])
    chunk_count, = struct.unpack("<I", directory[0x2C:0x30])
    entries = {}
    for index in range(chunk_count):
        chunk = directory[header_length + index * chunk_size:
                          header_length + (index + 1) * chunk_size]
        if chunk[:4] != b"PMGL":
            continue
        free, = struct.unpack("<I", chunk[4:8])
        pos, end = 20, chunk_size - free
        while pos < end:
            name_length, pos = _encint(chunk, pos)
            name = chunk[pos:pos + name_length].decode("utf-8")
            pos += name_length
            _section, pos = _encint(chunk, pos)
            _offset, pos = _encint(chunk, pos)
            length, pos = _encint(chunk, pos)
            entries[name] = length
    if not entries:
        raise ValueError("empty directory")
    return entries


def _project_files(help_source):
    """The [FILES] of the help project and the names of its TOC and index."""
    with open(os.path.join(help_source, "hushmark.hhp"), "r", encoding="ascii") as handle:
        lines = [line.strip() for line in handle]
    files, options, section = [], {}, None
    for line in lines:
        if not line or line.startswith(";"):
            continue
        if line.startswith("["):
            section = line.strip("[]").upper()
        elif section == "FILES":
            files.append(line.replace("\\", "/"))
        elif section == "OPTIONS" and "=" in line:
            key, value = line.split("=", 1)
            options[key.strip()] = value.strip()
    return files, options


def check_chm(path, help_source, pictures):
    where = "help.chm"
    try:
        with open(path, "rb") as handle:
            entries = chm_directory(handle.read())
    except (OSError, ValueError, IndexError, struct.error, UnicodeDecodeError) as error:
        return ["%s: cannot be listed (%s)" % (where, error)]
    problems = []
    for system in ("/#SYSTEM", "/#TOPICS", "/#URLTBL", "/#STRINGS"):
        if system not in entries:
            problems.append("%s: lacks %s" % (where, system))
    if help_source is None:
        if not any(name.endswith(".html") for name in entries):
            problems.append("%s: holds no pages" % where)
        return problems
    files, options = _project_files(help_source)
    wanted = files + [options.get("Contents file", ""), options.get("Index file", "")]
    folded = {name.lower(): length for name, length in entries.items()}
    for name in wanted:
        inside = folded.get("/" + name.lower())
        if inside is None:
            problems.append("%s: %s is missing" % (where, name))
            continue
        if name.startswith("images/"):
            source = os.path.join(pictures, name[len("images/"):])
        else:
            source = os.path.join(help_source, name)
        if os.path.exists(source) and os.path.getsize(source) != inside:
            problems.append("%s: %s holds %d bytes, its source %d" %
                            (where, name, inside, os.path.getsize(source)))
    return problems


class _Links(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.targets, self.anchors, self.params, self.title = [], set(), [], ""
        self._in_title = False

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        for attribute in ("href", "src"):
            if attrs.get(attribute):
                self.targets.append(attrs[attribute])
        for attribute in ("id", "name"):
            if attrs.get(attribute) and tag != "param":
                self.anchors.add(attrs[attribute])
        if tag == "param" and attrs.get("name", "").lower() == "local":
            self.params.append(attrs.get("value", ""))
        if tag == "script":
            self.targets.append("<script>")
        self._in_title = tag == "title"

    def handle_endtag(self, tag):
        if tag == "title":
            self._in_title = False

    def handle_data(self, data):
        if self._in_title:
            self.title += data


def _parse(path):
    parser = _Links()
    with open(path, "r", encoding="ascii") as handle:
        parser.feed(handle.read())
    return parser


def check_help_sources(help_source, pictures):
    problems = []
    try:
        files, options = _project_files(help_source)
    except (OSError, UnicodeDecodeError) as error:
        return ["help project: cannot be read (%s)" % error]
    pages = sorted(name for name in os.listdir(help_source) if name.endswith(".html"))
    for page in pages:
        if page not in files:
            problems.append("help: %s is not in the project's [FILES]" % page)
    for name in files:
        folder, base = (pictures, name[len("images/"):]) if name.startswith("images/") else \
            (help_source, name)
        if not os.path.exists(os.path.join(folder, base)):
            problems.append("help: %s is listed in the project but does not exist" % name)
    for key in ("Contents file", "Index file", "Default topic", "Compiled file"):
        if key not in options:
            problems.append("help project: no '%s' option" % key)
    if options.get("Compiled file") != "help.chm":
        problems.append("help project: compiles to %r, not help.chm" %
                        options.get("Compiled file"))

    parsed = {}
    for page in pages:
        try:
            parsed[page] = _parse(os.path.join(help_source, page))
        except (OSError, UnicodeDecodeError) as error:
            problems.append("help: %s cannot be read as ASCII HTML (%s)" % (page, error))

    def resolve(target, origin):
        if re.match(r"^[a-z]+:", target) or target.startswith("#") and not target[1:]:
            return "%s: link to %s leaves the help file" % (origin, target)
        if target == "<script>":
            return "%s: holds a script" % origin
        name, _, anchor = target.partition("#")
        name = name or origin
        if name.startswith("images/"):
            return None if os.path.exists(os.path.join(pictures, name[7:])) else \
                "%s: picture %s does not exist" % (origin, name)
        if name not in files:
            return "%s: link to %s, which is not in the help project" % (origin, target)
        if anchor and name in parsed and anchor not in parsed[name].anchors:
            return "%s: link to %s, which has no anchor '%s'" % (origin, name, anchor)
        return None

    for page, parser in parsed.items():
        if not parser.title.strip():
            problems.append("help: %s has no title" % page)
        for target in parser.targets:
            problem = resolve(target, page)
            if problem:
                problems.append("help: " + problem)
    reachable = set()
    for listing in (options.get("Contents file"), options.get("Index file")):
        if not listing:
            continue
        try:
            parser = _parse(os.path.join(help_source, listing))
        except (OSError, UnicodeDecodeError) as error:
            problems.append("help: %s cannot be read (%s)" % (listing, error))
            continue
        for target in parser.params:
            problem = resolve(target, listing)
            if problem:
                problems.append("help: " + problem)
            if listing == options.get("Contents file"):
                reachable.add(target.partition("#")[0])
    for page in pages:
        if page not in reachable:
            problems.append("help: %s is not in the table of contents" % page)
    return problems


# ---------------------------------------------------------------------------------------------


def check_all(build, help_source=None):
    assets = os.path.join(build, "assets")
    pictures = os.path.join(assets, "help-images")
    problems = []
    for name, sizes in [PROGRAM_ICON] + BUTTON_ICONS:
        problems += check_ico(os.path.join(assets, name), sizes)
    for name in HELP_PICTURES:
        problems += check_png_file(os.path.join(pictures, name), 64 if name == "hushmark.png"
                                   else 32)
    problems += check_wav(os.path.join(build, "Sounds", "Message.wav"))
    problems += check_license(os.path.join(build, "License.txt"))
    problems += check_chm(os.path.join(build, "help.chm"), help_source, pictures)
    if help_source is not None:
        problems += check_help_sources(help_source, pictures)
    return problems


def _patch(path, change):
    with open(path, "rb") as handle:
        data = bytearray(handle.read())
    data = change(data)
    with open(path, "wb") as handle:
        handle.write(bytes(data))


def _wav_set_sample(data, index, value):
    start = data.index(b"data") + 8
    data[start + 2 * index:start + 2 * index + 2] = struct.pack("<h", value)
    return data


def _ico_clear_alpha(data):
    """Makes the 16 px bitmap of an icon fully transparent, mask included."""
    offset = struct.unpack("<I", data[18:22])[0]
    for i in range(16 * 16):
        data[offset + 40 + 4 * i + 3] = 0
    mask = offset + 40 + 16 * 16 * 4
    data[mask:mask + 4 * 16] = b"\xff" * (4 * 16)
    return data


def _rename_in_chm(data, old, new):
    position = data.index(old)
    data[position:position + len(old)] = new
    return data


def self_test(build, help_source):
    """Damages copies of the files one fault at a time; returns the faults that went unseen."""
    faults = [
        ("License.txt with one bare LF", "License.txt",
         lambda d: d.replace(b"\r\n", b"\n", 1)),
        ("License.txt with a non-ASCII letter", "License.txt",
         lambda d: d.replace(b"Hushmark", b"Hushm\xe4rk", 1)),
        ("Message.wav clipping", "Sounds/Message.wav", lambda d: _wav_set_sample(d, 4000, 32767)),
        ("Message.wav starting with a click", "Sounds/Message.wav",
         lambda d: _wav_set_sample(d, 0, 9000)),
        ("Message.wav at 44100 Hz", "Sounds/Message.wav",
         lambda d: d[:24] + struct.pack("<I", 44100) + d[28:]),
        ("hushmark.ico without its 256 px image", "assets/hushmark.ico",
         lambda d: d[:4] + struct.pack("<H", 7) + d[6:]),
        ("btn_exit.ico with a 17 px entry", "assets/btn_exit.ico",
         lambda d: d[:6] + b"\x11\x11" + d[8:]),
        ("btn_clean.ico truncated", "assets/btn_clean.ico", lambda d: d[:-100]),
        ("btn_main.ico with an empty 16 px image", "assets/btn_main.ico", _ico_clear_alpha),
        ("help.chm without faq.html", "help.chm",
         lambda d: _rename_in_chm(d, b"/faq.html", b"/fax.html")),
        ("help.chm that is not a CHM", "help.chm", lambda d: b"ITSX" + d[4:]),
    ]
    unseen = []
    work = tempfile.mkdtemp(prefix="hushmark-check-")
    try:
        copy = os.path.join(work, "build")
        os.makedirs(os.path.join(copy, "Sounds"))
        shutil.copytree(os.path.join(build, "assets"), os.path.join(copy, "assets"),
                        ignore=shutil.ignore_patterns("*.stamp"))
        for name in ("License.txt", "help.chm", os.path.join("Sounds", "Message.wav")):
            shutil.copy2(os.path.join(build, name), os.path.join(copy, name))
        if check_all(copy, help_source):
            return ["(the undamaged copy already fails)"]
        for label, relative, change in faults:
            target = os.path.join(copy, relative)
            backup = target + ".good"
            shutil.copy2(target, backup)
            _patch(target, change)
            if not check_all(copy, help_source):
                unseen.append(label)
            shutil.move(backup, target)

        if help_source is not None:
            source_faults = [
                ("a help page linking to a missing page", "faq.html",
                 lambda t: t.replace('href="safety.html"', 'href="safty.html"', 1)),
                ("a help page linking to a missing anchor", "tray.html",
                 lambda t: t.replace('options.html#general', 'options.html#generl', 1)),
                ("a help page with a script", "about.html",
                 lambda t: t.replace("</body>", "<script>x=1</script></body>", 1)),
            ]
            help_copy = os.path.join(work, "help")
            shutil.copytree(help_source, help_copy)
            for label, page, change in source_faults:
                path = os.path.join(help_copy, page)
                with open(path, "r", encoding="ascii") as handle:
                    good = handle.read()
                damaged = change(good)
                if damaged == good:
                    unseen.append(label + " (could not be made)")
                    continue
                with open(path, "w", encoding="ascii") as handle:
                    handle.write(damaged)
                if not check_help_sources(help_copy, os.path.join(copy, "assets",
                                                                   "help-images")):
                    unseen.append(label)
                with open(path, "w", encoding="ascii") as handle:
                    handle.write(good)
            orphan = os.path.join(help_copy, "orphan.html")
            with open(orphan, "w", encoding="ascii") as handle:
                handle.write("<html><head><title>x</title></head><body></body></html>")
            if not check_help_sources(help_copy, os.path.join(copy, "assets", "help-images")):
                unseen.append("a help page outside the project")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return unseen


def main(argv):
    args = argv[1:]
    help_source = stamp = None
    run_self_test = False
    positional = []
    while args:
        arg = args.pop(0)
        if arg == "--help-source" and args:
            help_source = args.pop(0)
        elif arg == "--stamp" and args:
            stamp = args.pop(0)
        elif arg == "--self-test":
            run_self_test = True
        elif arg.startswith("--"):
            positional = []
            break
        else:
            positional.append(arg)
    if len(positional) != 1:
        sys.stderr.write(__doc__)
        return 2
    build = positional[0]
    if stamp is not None and os.path.exists(stamp):
        os.remove(stamp)

    problems = check_all(build, help_source)
    for problem in problems:
        sys.stderr.write("check: %s\n" % problem)
    if problems:
        sys.stderr.write("check: %d problem(s) in the files beside the program\n" % len(problems))
        return 1
    if run_self_test:
        unseen = self_test(build, help_source)
        for label in unseen:
            sys.stderr.write("check: self-test: not detected: %s\n" % label)
        if unseen:
            return 1
    if stamp is not None:
        with open(stamp, "w") as handle:
            handle.write("ok\n")
    print("check: icons, chime, licence and help file are in order" +
          (" (self-test passed)" if run_self_test else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
