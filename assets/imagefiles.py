"""Writers for PNG files and Windows icon (.ico) files, from rows of straight RGBA bytes."""

import struct
import zlib


def png_bytes(rows):
    """A PNG file (8-bit RGBA, no interlace) of the given rows, top to bottom."""
    height = len(rows)
    width = len(rows[0]) // 4
    raw = b"".join(b"\x00" + row for row in rows)

    def chunk(kind, data):
        body = kind + data
        crc = zlib.crc32(body) & 0xFFFFFFFF
        return struct.pack(">I", len(data)) + body + struct.pack(">I", crc)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def _bmp_icon_image(rows):
    """The icon-resource form of a bitmap: a BITMAPINFOHEADER with the doubled height, 32-bit
    BGRA pixels bottom-up, then the 1-bit AND mask (set where the pixel is fully transparent)."""
    size = len(rows)
    mask_stride = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         size * size * 4 + mask_stride * size, 0, 0, 0, 0)
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        mask_row = bytearray(mask_stride)
        for i in range(size):
            r, g, b, a = row[4 * i:4 * i + 4]
            pixels += bytes((b, g, r, a))
            if a == 0:
                mask_row[i // 8] |= 0x80 >> (i % 8)
        mask += mask_row
    return header + bytes(pixels) + bytes(mask)


def ico_bytes(images):
    """An .ico file holding the given images, a list of rows (square, any size up to 256).
    The 256-pixel image is stored as PNG, as Windows expects for that size; the others as
    bitmaps, which every version of Windows reads."""
    images = sorted(images, key=len)
    blobs = [png_bytes(rows) if len(rows) >= 256 else _bmp_icon_image(rows) for rows in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for rows, blob in zip(images, blobs):
        size = len(rows)
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)
