"""A small Windows program with an icon: a valid 32-bit PE executable whose only code returns 0,
and whose resources hold one icon group (32 x 32 and 16 x 16, 32 bits per pixel with an AND mask).
The picture is drawn here: a rounded tile in the program's colour with a small window on it."""

import struct

SECTION_ALIGNMENT = 0x1000
FILE_ALIGNMENT = 0x200
IMAGE_BASE = 0x400000
TEXT_RVA = 0x1000
RSRC_RVA = 0x2000
RT_ICON = 3
RT_GROUP_ICON = 14
LANGUAGE_GERMAN = 0x0407
TIMESTAMP = 0x31B0F000  # June 1996

DOS_STUB_CODE = bytes([0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09, 0xCD, 0x21, 0xB8, 0x01, 0x4C,
                       0xCD, 0x21])
DOS_STUB_TEXT = b"Dieses Programm braucht Windows.\r\r\n$"


def _align(value, alignment):
    return (value + alignment - 1) // alignment * alignment


def _pad(data, alignment):
    return data + b"\0" * (_align(len(data), alignment) - len(data))


def _inside_rounded(x, y, size, radius):
    """Whether pixel (x, y) lies on a tile of size pixels with corners of the given radius."""
    cx = min(max(x, radius), size - 1 - radius)
    cy = min(max(y, radius), size - 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def draw_icon(size, colour):
    """Rows top-down of (b, g, r, a) pixels."""
    r, g, b = colour
    dark = (b // 2, g // 2, r // 2, 255)
    rows = []
    margin = max(1, size // 16)
    window = (size * 5 // 16, size * 4 // 16, size * 13 // 16, size * 12 // 16)  # l, t, r, b
    for y in range(size):
        row = []
        for x in range(size):
            if not _inside_rounded(x, y, size, size // 5) or x < margin - 1:
                row.append((0, 0, 0, 0))
            elif window[0] <= x < window[2] and window[1] <= y < window[3]:
                title = y < window[1] + max(2, size // 8)
                edge = x in (window[0], window[2] - 1) or y == window[3] - 1
                row.append(dark if title or edge else (255, 255, 255, 255))
            else:
                row.append((b, g, r, 255))
        rows.append(row)
    return rows


def icon_image(size, colour):
    """One icon image as a device-independent bitmap: header, colours bottom-up, AND mask."""
    rows = draw_icon(size, colour)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes(c for pixel in row for c in pixel) for row in reversed(rows))
    mask_row_bytes = _align((size + 7) // 8, 4)
    mask = b""
    for row in reversed(rows):
        bits = bytearray(mask_row_bytes)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + pixels + mask


def _directory(entries):
    """A resource directory table: its header and id entries (id, offset, is_directory)."""
    table = struct.pack("<IIHHHH", 0, 0, 0, 0, 0, len(entries))
    for ident, offset, is_directory in entries:
        table += struct.pack("<II", ident, offset | (0x80000000 if is_directory else 0))
    return table


def resource_section(images):
    """The .rsrc section: icons 1..n and icon group 1, each in German, followed by their data."""
    count = len(images)
    group = struct.pack("<HHH", 0, 1, count)
    for index, (size, data) in enumerate(images, start=1):
        group += struct.pack("<BBBBHHIH", size % 256, size % 256, 0, 0, 1, 32, len(data), index)
    blobs = [data for _, data in images] + [group]

    # Layout: root, two type tables, count + 1 language tables, data entries, then the data.
    root_size = 16 + 2 * 8
    icon_types_size = 16 + count * 8
    group_types_size = 16 + 8
    language_size = 16 + 8
    languages_at = root_size + icon_types_size + group_types_size
    entries_at = languages_at + (count + 1) * language_size
    data_at = entries_at + (count + 1) * 16

    section = _directory([(RT_ICON, root_size, True),
                          (RT_GROUP_ICON, root_size + icon_types_size, True)])
    section += _directory([(index + 1, languages_at + index * language_size, True)
                           for index in range(count)])
    section += _directory([(1, languages_at + count * language_size, True)])
    for index in range(count + 1):
        section += _directory([(LANGUAGE_GERMAN, entries_at + index * 16, False)])
    offset = data_at
    for blob in blobs:
        section += struct.pack("<IIII", RSRC_RVA + offset, len(blob), 0, 0)
        offset = _align(offset + len(blob), 4)
    for blob in blobs:
        section += _pad(blob, 4)
    return section


def executable(colour):
    """The bytes of the program."""
    code = bytes([0x31, 0xC0, 0xC3])  # xor eax, eax; ret
    resources = resource_section([(size, icon_image(size, colour)) for size in (32, 16)])
    text_raw = _pad(code, FILE_ALIGNMENT)
    rsrc_raw = _pad(resources, FILE_ALIGNMENT)
    headers_size = FILE_ALIGNMENT
    size_of_image = RSRC_RVA + _align(len(resources), SECTION_ALIGNMENT)

    dos_stub = DOS_STUB_CODE + DOS_STUB_TEXT
    pe_offset = _align(64 + len(dos_stub), 8)
    dos_header = struct.pack("<2s58xI", b"MZ", pe_offset)
    dos_header = dos_header[:2] + struct.pack("<HHHHHHHHHHHH", 0x90, 3, 0, 4, 0, 0xFFFF, 0, 0xB8,
                                              0, 0, 0, 0x40) + dos_header[26:]
    coff = struct.pack("<4sHHIIIHH", b"PE\0\0", 0x014C, 2, TIMESTAMP, 0, 0, 0xE0, 0x010F)
    directories = [(0, 0)] * 16
    directories[2] = (RSRC_RVA, len(resources))
    optional = struct.pack("<HBBIIIIIIIIIHHHHHHIIIIHHIIIIII", 0x10B, 2, 25, len(text_raw),
                           len(rsrc_raw), 0, TEXT_RVA, TEXT_RVA, RSRC_RVA, IMAGE_BASE,
                           SECTION_ALIGNMENT, FILE_ALIGNMENT, 4, 0, 1, 0, 4, 0, 0, size_of_image,
                           headers_size, 0, 2, 0, 0x100000, 0x1000, 0x100000, 0x1000, 0, 16)
    optional += b"".join(struct.pack("<II", rva, size) for rva, size in directories)
    sections = struct.pack("<8sIIIIIIHHI", b".text", len(code), TEXT_RVA, len(text_raw),
                           headers_size, 0, 0, 0, 0, 0x60000020)
    sections += struct.pack("<8sIIIIIIHHI", b".rsrc", len(resources), RSRC_RVA, len(rsrc_raw),
                            headers_size + len(text_raw), 0, 0, 0, 0, 0x40000040)
    head = _pad(dos_header + dos_stub, 8) + coff + optional + sections
    assert len(head) <= headers_size
    return _pad(head, FILE_ALIGNMENT) + text_raw + rsrc_raw
