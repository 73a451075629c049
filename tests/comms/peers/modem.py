#!/usr/bin/env python3
"""A Hayes modem for the tests, on a pseudo-terminal: it writes the terminal's device name to
--device-file, answers AT commands with echo and verbose result codes, and on ATDT of a number
connects to the mailbox whose port is in --bbs-port-file ("CONNECT 38400"). The numbers given
with --busy and --no-dialtone answer BUSY and NO DIALTONE; any other number connects. "+++"
between a second of silence on each side returns to command mode; ATH hangs up ("NO CARRIER"),
and so does the mailbox closing. It ends by itself after --lifetime seconds or when its parent
(the test) is gone."""

import argparse
import os
import select
import socket
import sys
import time
import tty

GUARD = 1.0


class Modem:
    def __init__(self, args):
        self.args = args
        self.master, self.slave = os.openpty()
        tty.setraw(self.slave)
        tty.setraw(self.master)
        self.line = bytearray()
        self.conn = None
        self.online = False
        self.echo = True
        self.last_data = 0.0
        self.plus_count = 0
        self.plus_time = 0.0

    def reply(self, text):
        os.write(self.master, b"\r\n" + text.encode() + b"\r\n")

    def hang_up(self):
        if self.conn:
            self.conn.close()
        self.conn = None
        self.online = False
        self.reply("NO CARRIER")

    def dial(self, number):
        if number in self.args.busy:
            self.reply("BUSY")
            return
        if number in self.args.no_dialtone:
            self.reply("NO DIALTONE")
            return
        try:
            with open(self.args.bbs_port_file) as f:
                port = int(f.read())
            self.conn = socket.create_connection(("127.0.0.1", port), timeout=10)
            self.conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        except (OSError, ValueError):
            self.reply("NO CARRIER")
            return
        time.sleep(0.2)
        self.online = True
        self.reply("CONNECT 38400")

    def command(self, text):
        upper = text.upper()
        if not upper.startswith("AT"):
            return
        body = upper[2:]
        if body.startswith("D"):
            number = body[1:]
            if number[:1] in ("T", "P"):
                number = number[1:]
            self.dial(number.strip())
        elif body.startswith("H"):
            if self.conn:
                self.hang_up()
            else:
                self.reply("OK")
        elif body.startswith("O") and self.conn:
            self.online = True
            self.reply("CONNECT 38400")
        elif body.startswith("E0"):
            self.echo = False
            self.reply("OK")
        elif body.startswith("E1"):
            self.echo = True
            self.reply("OK")
        elif body == "" or body[0] in "Z&SLMXQV" or body.startswith("E"):
            self.reply("OK")
        else:
            self.reply("ERROR")

    def from_terminal(self, data):
        now = time.monotonic()
        if self.online:
            # Only "+" after a second without data counts; any other byte, even one read
            # together with the "+++", spoils the escape.
            for b in data:
                if b == ord("+") and (self.plus_count > 0 or now - self.last_data >= GUARD):
                    self.plus_count += 1
                    self.plus_time = now
                else:
                    self.plus_count = 0
                    self.last_data = now
            try:
                self.conn.sendall(data)
            except OSError:
                self.hang_up()
            return
        for b in data:
            if self.echo:
                os.write(self.master, bytes([b]))
            if b in (13, 10):
                text = self.line.decode("latin-1").strip()
                self.line.clear()
                if text:
                    self.command(text)
            elif b in (8, 127):
                del self.line[-1:]
            elif len(self.line) < 200:
                self.line.append(b)

    def run(self):
        temporary = self.args.device_file + ".tmp"
        with open(temporary, "w") as f:
            f.write(os.ttyname(self.slave))
        os.replace(temporary, self.args.device_file)
        parent = os.getppid()
        end = time.monotonic() + self.args.lifetime
        while time.monotonic() < end and os.getppid() == parent:
            watched = [self.master] + ([self.conn] if self.conn else [])
            ready, _, _ = select.select(watched, [], [], 0.2)
            now = time.monotonic()
            if self.plus_count >= 3 and now - self.plus_time >= GUARD and now - self.last_data >= GUARD:
                self.plus_count = 0
                self.online = False
                self.reply("OK")
            if self.master in ready:
                self.from_terminal(os.read(self.master, 65536))
            if self.conn and self.conn in ready:
                try:
                    data = self.conn.recv(65536)
                except OSError:
                    data = b""
                if data:
                    if self.online:
                        os.write(self.master, data)
                else:
                    self.hang_up()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--device-file", required=True)
    parser.add_argument("--bbs-port-file", required=True)
    parser.add_argument("--busy", action="append", default=[])
    parser.add_argument("--no-dialtone", action="append", default=[])
    parser.add_argument("--lifetime", type=float, default=300)
    Modem(parser.parse_args()).run()


if __name__ == "__main__":
    sys.exit(main())
