#!/usr/bin/env python3
"""A small mailbox for the tests: on 127.0.0.1 it greets each caller with a German ANSI screen
in code page 437 and, on the key "d", sends files with lrzsz's sz. With --telnet it speaks
telnet (binary mode, IAC escaped both ways); with --noise it corrupts and drops bytes on their
way to the caller. It listens on --port (any free port by default), writes its port number to
--port-file and ends by itself after --lifetime seconds, or when its parent (the test) is gone."""

import argparse
import os
import random
import select
import socket
import subprocess
import sys
import threading
import time

import welcome

IAC, DONT, DO, WONT, WILL, SB, SE = 255, 254, 253, 252, 251, 250, 240
BINARY, ECHO, SGA = 0, 1, 3


class TelnetFilter:
    """Telnet data out of received bytes; negotiation is taken as it comes (we asked first)."""

    def __init__(self):
        self.state = "data"

    def decode(self, data):
        out = bytearray()
        for b in data:
            if self.state == "data":
                if b == IAC:
                    self.state = "iac"
                else:
                    out.append(b)
            elif self.state == "iac":
                if b == IAC:
                    out.append(b)
                    self.state = "data"
                elif b in (WILL, WONT, DO, DONT):
                    self.state = "option"
                elif b == SB:
                    self.state = "sb"
                else:
                    self.state = "data"
            elif self.state == "option":
                self.state = "data"
            elif self.state == "sb":
                if b == IAC:
                    self.state = "sbiac"
            elif self.state == "sbiac":
                self.state = "data" if b == SE else "sb"
        return bytes(out)


def escape(data, telnet):
    return data.replace(b"\xff", b"\xff\xff") if telnet else data


class Noise:
    def __init__(self, setting):
        seed, flip, drop = (int(x) for x in setting.split(":"))
        self.random = random.Random(seed)
        self.flip, self.drop = flip, drop

    def apply(self, data):
        out = bytearray()
        for b in data:
            if self.drop and self.random.randrange(self.drop) == 0:
                continue
            if self.flip and self.random.randrange(self.flip) == 0:
                b ^= 1 << self.random.randrange(8)
            out.append(b)
        return bytes(out)


def send_files(conn, args, telnet_filter):
    command = ["sz"] + args.sz_args.split() + args.files
    raw = not args.telnet and not args.noise
    # Beside the port file, so that the folder of the files stays as it is.
    log = open(os.path.join(os.path.dirname(os.path.abspath(args.port_file)), "sz.log"), "ab")
    if raw:
        # sz speaks straight on the connection, as fast as it can.
        process = subprocess.Popen(command, cwd=args.folder, stdin=conn.fileno(),
                                   stdout=conn.fileno(), stderr=log)
        process.wait()
        return
    process = subprocess.Popen(command, cwd=args.folder, stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, stderr=log, bufsize=0)
    noise = Noise(args.noise) if args.noise else None
    sz_out = process.stdout.fileno()
    while True:
        ready, _, _ = select.select([conn, sz_out], [], [], 1.0)
        if sz_out in ready:
            data = os.read(sz_out, 65536)
            if not data:
                break
            if noise:
                data = noise.apply(data)
            try:
                conn.sendall(escape(data, args.telnet))
            except OSError:
                break
        if conn in ready:
            try:
                data = conn.recv(65536)
            except OSError:
                data = b""
            if not data:
                break
            data = telnet_filter.decode(data) if telnet_filter else data
            try:
                process.stdin.write(data)
            except OSError:
                pass
    process.stdin.close()
    try:
        process.wait(timeout=30)
    except subprocess.TimeoutExpired:
        process.kill()


def serve(conn, args):
    telnet_filter = TelnetFilter() if args.telnet else None
    try:
        if args.telnet:
            conn.sendall(bytes([IAC, WILL, ECHO, IAC, WILL, SGA, IAC, DO, BINARY, IAC, WILL, BINARY]))
        conn.sendall(escape(welcome.screen_bytes(), args.telnet))
        while True:
            data = conn.recv(4096)
            if not data:
                return
            if telnet_filter:
                data = telnet_filter.decode(data)
            for key in data:
                if key in b"dD":
                    conn.sendall(b"\r\nDownload startet...\r\n")
                    send_files(conn, args, telnet_filter)
                    conn.sendall(b"\r\nFertig.\r\nIhre Wahl: ")
                elif key in b"qQ":
                    conn.sendall(b"\r\nAuf Wiedersehen!\r\n")
                    return
                elif key >= 32:
                    conn.sendall(escape(bytes([key]), args.telnet))
    except OSError:
        pass
    finally:
        conn.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--port", type=int, default=0, help="the port to listen on (0: any free)")
    parser.add_argument("--folder", required=True, help="the files are sent from here")
    parser.add_argument("--telnet", action="store_true")
    parser.add_argument("--noise", help="SEED:FLIP:DROP, a byte flipped 1 in FLIP, dropped 1 in DROP")
    parser.add_argument("--sz-args", default="-q")
    parser.add_argument("--lifetime", type=float, default=300)
    parser.add_argument("files", nargs="*")
    args = parser.parse_args()

    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", args.port))
    listener.listen(4)
    temporary = args.port_file + ".tmp"
    with open(temporary, "w") as f:
        f.write(str(listener.getsockname()[1]))
    os.replace(temporary, args.port_file)

    parent = os.getppid()
    end = time.monotonic() + args.lifetime
    while time.monotonic() < end and os.getppid() == parent:
        ready, _, _ = select.select([listener], [], [], 0.5)
        if ready:
            conn, _ = listener.accept()
            conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
            threading.Thread(target=serve, args=(conn, args), daemon=True).start()


if __name__ == "__main__":
    sys.exit(main())
