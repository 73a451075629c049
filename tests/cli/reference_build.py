#!/usr/bin/env python3
"""An independent second implementation of the catalogue format, for cross-checking vitrine-cat.

Written from the rules of the catalogue format alone (script source sections, record layouts,
the packed block codec with its plain brute-force match search, the tree data, the index), never
from the C++ code. It offers the same subcommands as the tool, printing the same text:

    reference_build.py build SOURCE DIR
    reference_build.py tree DIR
    reference_build.py show DIR INDEX

Exit status 0 on success, 1 on bad input (one line on standard error).
"""

import datetime
import os
import struct
import sys

DATA_NAME = "Vitrine32.dat"
INDEX_NAME = "Vitrine32.idx"
VERSION = b"\x03\x00\x02\x00"
TEXT_BUFFER = 64000
OUTLINE_BUFFER = 1000000

ID_TEXT, ID_OUTLINE, ID_INFO, ID_COMPO, ID_SHORT = 2, 3, 4, 5, 6
KEYWORDS = ["", "OUTLINE", "TEXT", "INFOTEXT", "SHORTTEXT", "COMPONENT"]
COMPONENT_BIT = 0x80000000
SHORT_BIT = 0x40000000
NO_RECORD = 0xFFFFFFFF


class CatalogueError(Exception):
    pass


class SourceError(Exception):
    def __init__(self, line, message):
        super().__init__(message)
        self.line = line


class ListIndexError(Exception):
    def __init__(self):
        super().__init__("List index out of bounds")


# ----------------------------------------------------------------------------------- text rules


def upper(text):
    """Upper-cases the ASCII letters a-z only."""
    return bytes(b - 32 if 0x61 <= b <= 0x7A else b for b in text)


def trim_blanks(text):
    return text.strip(b" ")


def current_year():
    return datetime.date.today().year


def is_valid_date(year, month, day):
    if not (1 <= year <= 9999 and 1 <= month <= 12 and day >= 1):
        return False
    days = [31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31][month - 1]
    leap = (year % 4 == 0 and year % 100 != 0) or year % 400 == 0
    return day <= days + (1 if month == 2 and leap else 0)


def parse_date(text):
    """The program's short date rule "dd.mm.yy": (year, month, day) or None."""
    parts = trim_blanks(text).split(b".")
    if len(parts) not in (2, 3):
        return None
    for part in parts:
        if not part or len(part) > 9 or not all(0x30 <= b <= 0x39 for b in part):
            return None
    day, month = int(parts[0]), int(parts[1])
    year = current_year()
    if len(parts) == 3:
        year = int(parts[2])
        if len(parts[2]) <= 2:
            first = current_year() - 80
            year = first + (year - first) % 100
    if day > 31 or month > 12 or not is_valid_date(year, month, day):
        return None
    return (year, month, day)


DEFAULT_DATE = parse_date(b"02.05.96")
ZERO_DATE = (1899, 12, 30)


def pack_date(date):
    year, month, day = date
    return year << 16 | month << 8 | day


def parse_integer(text):
    """An optional sign followed by decimal digits, stored in 8 bits; anything else is 0."""
    digits = text[1:] if text[:1] in (b"+", b"-") else text
    if not digits or not all(0x30 <= b <= 0x39 for b in digits):
        return 0
    return int(text) % 256


# ------------------------------------------------------------------------------- packed blocks


RING = 2048
RING_START = 2031
MAX_MATCH = 17


class BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.pending = 0
        self.mask = 0x80

    def bits(self, count, value):
        for shift in range(count - 1, -1, -1):
            if value >> shift & 1:
                self.pending |= self.mask
            self.mask >>= 1
            if self.mask == 0:
                self.out.append(self.pending)
                self.pending = 0
                self.mask = 0x80

    def finish(self):
        if self.mask != 0x80:
            self.out.append(self.pending)
        return bytes(self.out)


def encode_block(data):
    """The plain brute-force encoder: every candidate from nearest to farthest, the first longest
    match wins. Candidates are located with rfind on the first two bytes, which visits the same
    positions in the same order as comparing byte by byte (a longer match must start with them)."""
    out = BitWriter()
    buf = bytearray(b" " * RING_START) + bytearray(2 * RING - RING_START)
    taken = 0
    fill_end = RING_START

    def refill():
        nonlocal taken, fill_end
        n = min(len(data) - taken, 2 * RING - fill_end)
        buf[fill_end : fill_end + n] = data[taken : taken + n]
        taken += n
        fill_end += n

    refill()
    r = RING_START
    floor = 0
    while r < fill_end:
        limit = min(fill_end - r, MAX_MATCH)
        best, best_pos = 1, 0
        if limit >= 2:
            head = bytes(buf[r : r + 2])
            end = r + 1
            while True:
                c = buf.rfind(head, floor, end)
                if c < 0:
                    break
                m = 2
                while m < limit and buf[c + m] == buf[r + m]:
                    m += 1
                if m > best:
                    best, best_pos = m, c
                    if best == limit:
                        break
                end = c + 1
        if best <= 1:
            out.bits(1, 1)
            out.bits(8, buf[r])
            consumed = 1
        else:
            out.bits(1, 0)
            out.bits(11, best_pos & (RING - 1))
            out.bits(4, best - 2)
            consumed = best
        r += consumed
        floor += consumed
        if r >= 2 * RING - MAX_MATCH:
            buf[0:RING] = buf[RING : 2 * RING]
            fill_end -= RING
            r -= RING
            floor -= RING
            refill()
    return out.finish()


def decode_block(packed, capacity):
    """Decodes one block; None when it would produce more than capacity bytes."""
    ring = bytearray(b" " * RING)
    r = RING_START
    out = bytearray()
    total_bits = len(packed) * 8
    pos = 0

    def take(count):
        nonlocal pos
        if pos + count > total_bits:
            return None
        value = 0
        for _ in range(count):
            value = value << 1 | (packed[pos >> 3] >> (7 - (pos & 7)) & 1)
            pos += 1
        return value

    while True:
        flag = take(1)
        if flag is None:
            break
        if flag:
            byte = take(8)
            if byte is None:
                break
            produced = [byte]
        else:
            position = take(11)
            length = take(4)
            if position is None or length is None:
                break
            produced = []
            for k in range(length + 2):
                b = ring[(position + k) & (RING - 1)]
                produced.append(b)
                ring[r] = b
                r = (r + 1) & (RING - 1)
            if len(out) + len(produced) > capacity:
                return None
            out.extend(produced)
            continue
        if len(out) + 1 > capacity:
            return None
        out.append(byte)
        ring[r] = byte
        r = (r + 1) & (RING - 1)
    return bytes(out)


class RecordWriter:
    """Collects a record's bytes and stores them as blocks of at most buffer_size bytes."""

    def __init__(self, buffer_size):
        self.buffer_size = buffer_size
        self.data = bytearray()

    def integer(self, value):
        self.data += struct.pack("<i", value if value < 0x80000000 else value - 0x100000000)

    def byte(self, value):
        self.data.append(value)

    def string(self, text):
        if len(text) <= 255:
            self.data += bytes([0x06, len(text)])
        else:
            self.data += b"\x0c" + struct.pack("<I", len(text))
        self.data += text

    def strings(self, items):
        self.integer(len(items))
        for item in items:
            self.string(item)

    def integers(self, items):
        self.integer(len(items))
        for item in items:
            self.integer(item)

    def blocks(self):
        out = bytearray()
        for start in range(0, len(self.data), self.buffer_size):
            chunk = bytes(self.data[start : start + self.buffer_size])
            packed = encode_block(chunk)
            out += struct.pack("<II", len(packed), len(chunk)) + packed
        return bytes(out)


class RecordReader:
    """Reads a record's items, decoding one block per buffer load."""

    def __init__(self, data, offset, buffer_size):
        self.data = data
        self.position = offset
        self.buffer_size = buffer_size
        self.buffer = b""
        self.used = 0

    def fill(self):
        if self.position + 8 > len(self.data):
            raise CatalogueError("Stream read error")
        packed_size = struct.unpack_from("<I", self.data, self.position)[0]
        start = self.position + 8
        if packed_size > len(self.data) - start:
            raise CatalogueError("Stream read error")
        decoded = decode_block(self.data[start : start + packed_size], self.buffer_size)
        self.position = start + packed_size
        if not decoded:
            raise CatalogueError("Stream read error")
        self.buffer, self.used = decoded, 0

    def read(self, count):
        out = bytearray()
        while len(out) < count:
            if self.used == len(self.buffer):
                self.fill()
            n = min(count - len(out), len(self.buffer) - self.used)
            out += self.buffer[self.used : self.used + n]
            self.used += n
        return bytes(out)

    def integer(self):
        return struct.unpack("<i", self.read(4))[0]

    def byte(self):
        return self.read(1)[0]

    def string(self):
        tag = self.byte()
        if tag == 0x06:
            length = self.byte()
        elif tag == 0x0C:
            length = struct.unpack("<I", self.read(4))[0]
        else:
            raise CatalogueError("Invalid property value")
        return self.read(length)

    def strings(self):
        return [self.string() for _ in range(max(0, self.integer()))]

    def integers(self):
        return [self.integer() for _ in range(max(0, self.integer()))]


# ------------------------------------------------------------------------------- script source


def source_lines(data):
    """Lines end at LF, one CR before it is removed; text after the last LF is a last line."""
    lines = data.split(b"\n")
    last = lines.pop()
    lines = [line[:-1] if line.endswith(b"\r") else line for line in lines]
    return lines + [last] if last else lines


class Source:
    def __init__(self, lines):
        self.lines = lines
        self.line = -1

    def find_next_section(self):
        for i in range(self.line + 1, len(self.lines)):
            word = self.lines[i]
            for stop in (b" ", b"\x08"):
                word = word.split(stop)[0]
            word = upper(word)
            for j, keyword in enumerate(KEYWORDS):
                if j > 0 and keyword and word == keyword.encode():
                    self.line = i
                    return j
        return -1

    def collect_body(self, skip_comments):
        """The lines from after the header up to the last "}" line before the next header (or
        the end of the source)."""
        self.line += 1
        start = self.line
        following = self.find_next_section()
        stop = self.line if following >= 0 else len(self.lines)
        end = -1
        for k in range(stop - 1, start - 1, -1):
            if b"}" in self.lines[k]:
                end = k - 1
                break
        if end == -1:
            end = start + 1
        if end >= len(self.lines):
            raise ListIndexError()
        body = [
            line
            for line in self.lines[start : end + 1]
            if not (skip_comments and line.startswith(b";"))
        ]
        if following >= 0:
            self.line -= 1
        else:
            self.line = len(self.lines) - 1
        return body


def section_name(header):
    a, b = header.find(b"["), header.find(b"]")
    if a < 0 or b <= a:
        return b""
    return upper(trim_blanks(header[a + 1 : b]))


def header_date(header):
    a, b = header.find(b"["), header.find(b"]")
    if a < 0 or b <= a:
        return None  # left unchanged
    rest = header[b + 1 :]
    if not rest:
        return DEFAULT_DATE
    for blank in (b" ", b"\t", b"\x08"):
        rest = rest.replace(blank, b"")
    return parse_date(rest[:8]) or DEFAULT_DATE


def strip_font_tag(line):
    at = upper(line).find(b"<F")
    return line if at < 0 else line[:at] + line[at + 4 :]


def join_paragraphs(lines):
    wrap = True
    if lines and b"<NOWRAP>" in upper(lines[0]):
        wrap = False
        lines = lines[1:]
    out = []
    i = 0
    while i < len(lines):
        text = lines[i]
        if i < len(lines) - 1:
            a, b = strip_font_tag(lines[i]), strip_font_tag(lines[i + 1])
            while (
                a
                and i + 1 < len(lines)
                and b
                and lines[i + 1]
                and lines[i + 1][:1] not in (b" ", b"\t", b"\x08")
                and wrap
            ):
                text = lines[i + 1] if not text else text + b" " + lines[i + 1]
                i += 1
        out.append(text)
        i += 1
    return out, wrap


# ---------------------------------------------------------------------------------- tree data


class Tree:
    def __init__(self):
        self.names, self.keys, self.parents = [], [], []
        self.first_children, self.child_counts, self.dates, self.refs = [], [], [], []
        self.root_count = 0

    def add_node(self, name, key, parent):
        if parent == -1:
            p = self.root_count
        else:
            p = self.first_children[parent] + self.child_counts[parent]
            if p < 0:
                p = len(self.names)
        self.first_children = [v + 1 if v >= p else v for v in self.first_children]
        self.parents = [v + 1 if v >= p else v for v in self.parents]
        self.names.insert(p, name)
        self.keys.insert(p, key)
        self.parents.insert(p, parent)
        self.first_children.insert(p, -1)
        self.child_counts.insert(p, 0)
        self.dates.insert(p, None)
        self.refs.insert(p, 0)
        if parent == -1:
            self.root_count += 1
        else:
            self.child_counts[parent] += 1
            if self.child_counts[parent] == 1:
                self.first_children[parent] = p
        return p


def indentation(line):
    return len(line) - len(line.lstrip(b" "))


def build_outline(lines):
    tree = Tree()

    def level(i, depth, parent):
        while True:
            text = lines[i][depth:]
            # The first "[" and the first "]", as for a section header.
            a, b = text.find(b"["), text.find(b"]")
            if a >= 0 and b > a:
                key, name = text[a + 1 : b], text[:a] + text[b + 1 :]
            else:
                key, name = b"", text
            n = tree.add_node(name, key, parent)
            i += 1
            if i >= len(lines):
                return i
            if indentation(lines[i]) > depth:
                i = level(i, indentation(lines[i]), n)
            if i >= len(lines) or indentation(lines[i]) < depth:
                return i

    if lines:
        level(0, 0, -1)
    return tree


# -------------------------------------------------------------------------------- components


COMPONENT_SINGLES = ["ShortName", "LongName", "FileName", "Version", "LastReview", "Copyright",
                     "OS", "Distribution", "Limitations", "Price"]
COMPONENT_LISTS = ["KeyWords", "ShortInfo", "LongInfo", "Installation", "Review",
                   "Documentation", "Contact", "Order"]
COMPONENT_BLOCKS = ["ShortInfo", "LongInfo", "Installation", "Review", "Documentation",
                    "Order", "Contact"]


def key_line(lines, key):
    wanted = upper(key)
    found = -1
    for i, line in enumerate(lines):
        if wanted in upper(line):
            found = i
    if found >= 0 and found + 1 >= len(lines):
        raise ListIndexError()
    return found


def value_of(lines, key):
    k = key_line(lines, key)
    return b"" if k < 0 else lines[k + 1]


def block_of(lines, key):
    k = key_line(lines, key)
    if k < 0:
        return []
    # The value line is always taken; a block ends at the first line beginning with "[" from the
    # value line on, so a value line that is itself a key line stands alone.
    out = [lines[k + 1]]
    if lines[k + 1].startswith(b"["):
        return out
    for line in lines[k + 2 :]:
        if line.startswith(b"["):
            break
        out.append(line)
    return out


def word_tokens(value):
    out = []
    rest = value
    while rest:
        for separator in (b" ", b",", b";"):
            at = rest.find(separator)
            if at >= 0:
                break
        else:
            at = len(rest) - 1
        token = upper(rest[: at + 1])
        rest = rest[at + 1 :]
        for junk in (b" ", b",", b";"):
            token = token.replace(junk, b"")
        token = token.replace(b"&", b"&&")
        if token:
            out.append(token)
    return out


def analyse_component(lines):
    c = {}
    for field in COMPONENT_SINGLES:
        c[field] = value_of(lines, b"[" + field.encode() + b"]")
    for field in COMPONENT_BLOCKS:
        c[field] = block_of(lines, b"[" + field.encode() + b"]")
    c["KeyWords"] = word_tokens(value_of(lines, b"[KeyWords]"))
    compilers = word_tokens(value_of(lines, b"Compiler"))
    c["Compilers"] = (
        (1 if b"PANDEX" in compilers else 0)
        | (2 if b"PANDEX2" in compilers else 0)
        | (4 if b"BP" in compilers else 0)
    )
    c["Rating"] = parse_integer(value_of(lines, b"[Rating]"))
    c["Language"] = parse_integer(value_of(lines, b"[Language]"))
    c["date"] = parse_date(c["LastReview"][:8]) or DEFAULT_DATE
    return c


def component_record(c):
    w = RecordWriter(TEXT_BUFFER)
    for field in COMPONENT_SINGLES:
        w.string(c[field])
    w.byte(c["Rating"])
    w.byte(c["Language"])
    w.byte(c["Compilers"])
    for field in COMPONENT_LISTS:
        w.strings(c[field])
    return w.blocks()


def text_record(lines, wrap):
    w = RecordWriter(TEXT_BUFFER)
    w.strings(lines)
    w.byte(1 if wrap else 0)
    return w.blocks()


def outline_record(tree):
    w = RecordWriter(OUTLINE_BUFFER)
    w.integer(tree.root_count)
    w.strings(tree.names)
    has_keys = any(trim_blanks(key) for key in tree.keys)
    w.byte(1 if has_keys else 0)
    if has_keys:
        w.strings(tree.keys)
    w.integers(tree.parents)
    w.integers(tree.first_children)
    w.integers(tree.child_counts)
    w.integers([pack_date(d) for d in tree.dates])
    for ref in tree.refs:
        w.integer(ref)
    return w.blocks()


# ------------------------------------------------------------------------------------- build


def build(source_bytes):
    """Returns the bytes of the data file and the index file, or raises SourceError."""
    source = Source(source_lines(source_bytes))
    data = bytearray(VERSION)
    index = bytearray()
    stored = {}
    outline = None

    def store(type_id, record):
        offset = len(data)
        index.extend(struct.pack("<HHI", type_id, 0, offset))
        data.extend(record)
        return offset

    while True:
        kind = source.find_next_section()
        if kind < 0:
            break
        header_line = source.line
        header = source.lines[header_line]
        name = section_name(header)
        date = header_date(header)
        try:
            if kind == 5:
                component = analyse_component(source.collect_body(skip_comments=True))
                record, type_id, bit, date = component_record(component), ID_COMPO, COMPONENT_BIT, component["date"]
            else:
                lines = source.collect_body(skip_comments=False)
                if kind == 1:
                    if outline is not None:
                        raise SourceError(header_line + 1, "second OUTLINE section")
                    outline = (build_outline(lines), header_line)
                    continue
                wrap = False
                if kind == 3:
                    lines, wrap = join_paragraphs(lines)
                record = text_record(lines, wrap)
                type_id, bit = {2: (ID_TEXT, 0), 3: (ID_INFO, 0), 4: (ID_SHORT, SHORT_BIT)}[kind]
        except ListIndexError as error:
            raise SourceError(header_line + 1, str(error))
        if name and name in stored:
            raise SourceError(header_line + 1, "duplicate section name")
        offset = store(type_id, record)
        if name:
            stored[name] = (offset | bit, date if date is not None else ZERO_DATE)

    if outline is None:
        raise SourceError(len(source.lines), "no OUTLINE section")
    tree, outline_line = outline
    for n, key in enumerate(tree.keys):
        wanted = upper(trim_blanks(key))
        if not wanted:
            tree.refs[n], tree.dates[n] = NO_RECORD, DEFAULT_DATE
        elif wanted in stored:
            tree.refs[n], tree.dates[n] = stored[wanted]
        else:
            raise SourceError(outline_line + 1, "unknown key")
    store(ID_OUTLINE, outline_record(tree))
    return bytes(data), bytes(index)


# ------------------------------------------------------------------------------------ reading


def ansi_to_text(raw):
    """Windows-1252 to str; the five unassigned bytes become the C1 controls of that value."""
    return "".join(chr(b) if b in (0x81, 0x8D, 0x8F, 0x90, 0x9D) else bytes([b]).decode("cp1252")
                   for b in raw)


def load_catalogue(folder):
    try:
        with open(os.path.join(folder, DATA_NAME), "rb") as f:
            data = f.read()
        with open(os.path.join(folder, INDEX_NAME), "rb") as f:
            index = f.read()
    except OSError as error:
        raise CatalogueError(f"Cannot open file {error.filename}")
    if data[:4] != VERSION:
        raise CatalogueError("wrong version")
    return data, index


def load_tree(data, index):
    for at in range(0, len(index) - 7, 8):
        type_id, _, offset = struct.unpack_from("<HHI", index, at)
        if type_id == ID_OUTLINE:
            break
    else:
        raise CatalogueError("Konnte OutlineText nicht laden!")
    r = RecordReader(data, offset, OUTLINE_BUFFER)
    tree = Tree()
    tree.root_count = r.integer()
    tree.names = r.strings()
    has_keys = r.byte()
    tree.keys = r.strings() if has_keys else [b""] * len(tree.names)
    tree.parents = r.integers()
    tree.first_children = r.integers()
    tree.child_counts = r.integers()
    tree.dates = r.integers()
    tree.refs = [r.integer() & 0xFFFFFFFF for _ in tree.names]
    return tree


def kind_of(ref):
    if ref == NO_RECORD:
        return "none", None
    if ref & COMPONENT_BIT:
        return "compo", ref & 0x7FFFFFFF
    if ref & SHORT_BIT:
        return "short", ref & 0xBFFFFFFF
    return "info", ref


def tree_lines(tree):
    out = []
    for n, name in enumerate(tree.names):
        kind, offset = kind_of(tree.refs[n])
        d = tree.dates[n]
        date = f"{d >> 16:04d}-{d >> 8 & 0xFF:02d}-{d & 0xFF:02d}"
        out.append(f"{n}\t{tree.parents[n]}\t{kind}\t{'-' if offset is None else offset}\t"
                   f"{date}\t{ansi_to_text(name)}")
    return out


def show_lines(data, tree, node):
    kind, offset = kind_of(tree.refs[node])
    out = [f"kind: {kind}"]
    if kind == "none":
        return out
    r = RecordReader(data, offset, TEXT_BUFFER)
    if kind in ("info", "short"):
        lines = r.strings()
        wrap = r.byte()
        out += [f"wrap: {wrap}", f"lines: {len(lines)}"] + [f"| {ansi_to_text(x)}" for x in lines]
        return out
    singles = [r.string() for _ in COMPONENT_SINGLES]
    out += [f"{field}: {ansi_to_text(v)}" for field, v in zip(COMPONENT_SINGLES, singles)]
    out += [f"Rating: {r.byte()}", f"Language: {r.byte()}", f"Compilers: {r.byte()}"]
    for field in COMPONENT_LISTS:
        items = r.strings()
        out.append(f"{field}: {len(items)}")
        out += [f"| {ansi_to_text(x)}" for x in items]
    return out


# -------------------------------------------------------------------------------------- main


def main(argv):
    try:
        if len(argv) == 3 and argv[0] == "build":
            with open(argv[1], "rb") as f:
                source_bytes = f.read()
            try:
                data, index = build(source_bytes)
            except SourceError as error:
                raise CatalogueError(f"{argv[1]}:{error.line}: {error}")
            os.makedirs(argv[2], exist_ok=True)
            with open(os.path.join(argv[2], DATA_NAME), "wb") as f:
                f.write(data)
            with open(os.path.join(argv[2], INDEX_NAME), "wb") as f:
                f.write(index)
            return 0
        if len(argv) == 2 and argv[0] == "tree":
            data, index = load_catalogue(argv[1])
            lines = tree_lines(load_tree(data, index))
        elif len(argv) == 3 and argv[0] == "show":
            data, index = load_catalogue(argv[1])
            tree = load_tree(data, index)
            node = int(argv[2])
            if not 0 <= node < len(tree.names):
                raise CatalogueError("index out of range")
            lines = show_lines(data, tree, node)
        else:
            print(__doc__, file=sys.stderr)
            return 2
    except CatalogueError as error:
        print(error, file=sys.stderr)
        return 1
    sys.stdout.buffer.write("".join(line + "\n" for line in lines).encode("utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
