#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into corpus/<target>/seed-*: a real ZModem batch
as lrzsz's sz sends it to rz (recorded on the way), telnet negotiations, and the mailbox's
welcome screen. Each seed starts with the target's control byte(s). Run it from this folder;
libFuzzer grows the corpus from these."""

import os
import select
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "peers"))
import welcome  # noqa: E402


def record_sz(files, sz_args):
    """The bytes sz sends while rz receives files (name, content) in a scratch folder."""
    with tempfile.TemporaryDirectory() as source, tempfile.TemporaryDirectory() as target:
        for name, content in files:
            with open(os.path.join(source, name), "wb") as f:
                f.write(content)
        sz = subprocess.Popen(["sz"] + sz_args + [name for name, _ in files], cwd=source,
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, bufsize=0)
        rz = subprocess.Popen(["rz", "-q"], cwd=target, stdin=subprocess.PIPE,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, bufsize=0)
        sent = bytearray()
        pipes = {sz.stdout.fileno(): rz.stdin, rz.stdout.fileno(): sz.stdin}
        while pipes:
            ready, _, _ = select.select(list(pipes), [], [], 5)
            if not ready:
                break
            for fd in ready:
                data = os.read(fd, 65536)
                if not data:
                    pipes.pop(fd).close()
                    continue
                if fd == sz.stdout.fileno():
                    sent += data
                try:
                    pipes[fd].write(data)
                except (BrokenPipeError, KeyError):
                    pass
        sz.wait()
        rz.wait()
        return bytes(sent)


def write(target, name, data):
    folder = os.path.join("corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "seed-" + name), "wb") as f:
        f.write(data)


def main():
    batch = [("a.txt", b"Hallo\r\n" * 20), ("b.bin", bytes(range(256)) * 8), ("leer", b"")]
    stream = record_sz(batch, ["-q"])
    write("zmodem", "batch-crc32", bytes([0x7F | 0x80]) + stream)
    write("zmodem", "batch-small-pieces", bytes([0x0F]) + stream)
    write("zmodem", "resume", bytes([0xFF]) + record_sz([("r.bin", b"x" * 3000)], ["-q", "-r"]))
    write("zmodem", "escape-all", bytes([0x41]) + record_sz(batch[:1], ["-q", "-e"]))
    write("zmodem", "cancel", bytes([0x01]) + b"**\x18B0100000023be50\r\x8a\x11" + b"\x18" * 8)
    write("zmodem", "command", bytes([0x7F]) + b"**\x18B120000000029df\r\x8a\x11")

    write("telnet", "negotiation",
          bytes([3, 255, 251, 1, 255, 251, 3, 255, 253, 0, 255, 251, 0, 255, 253, 24,
                 255, 250, 24, 1, 255, 240, 255, 253, 31, 255, 253, 99]) + b"Login: \xff\xff")
    write("telnet", "ascii", bytes([0, 255, 254, 0, 255, 252, 0]) + b"a\r\0b\r\nc\xff\xff")

    screen = welcome.screen_bytes()
    write("terminal", "welcome", bytes([255, 23]) + screen)
    write("terminal", "welcome-small", bytes([3, 5]) + screen)
    write("terminal", "sequences",
          bytes([7, 23]) + b"\x1b[2J\x1b[1;1H\x1b[0;1;5;31;44mX\x1b[s\x1b[10C\x1b[u\x1b[6n"
          b"\x1b[?25l\x1b[K\x1b[1M\x1b[3L\x1b[38;5;200mY\x1b[48;2;1;2;3mZ\x1b]0;t\x07\r\n" * 30)


if __name__ == "__main__":
    main()
