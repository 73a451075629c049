"""The demo mailbox's welcome screen: ANSI-BBS text in code page 437. How an 80 x 24 ANSI terminal
shows it (characters and colours) is checked in beside it as welcome.expected."""

ESC = "\x1b"

# (row, column, SGR parameters, text): rows and columns from 1, as the escape sequences count.
_ITEMS = [
    (1, 1, "0;1;34;40", "\u2554" + "\u2550" * 78 + "\u2557"),
    (2, 1, "0;1;34;40", "\u2551"),
    (2, 80, "0;1;34;40", "\u2551"),
    (3, 1, "0;1;34;40", "\u255a" + "\u2550" * 78 + "\u255d"),
    (2, 20, "0;1;33;44", " Willkommen in der Kestrova-Mailbox! "),
    (5, 3, "0;37;40", "Gr\u00fc\u00dfe aus D\u00fcsseldorf - hier gibt es Komponenten f\u00fcr Ihre Programme."),
    (7, 3, "0;32;40", "\u250c" + "\u2500" * 30 + "\u2510"),
    (8, 3, "0;32;40", "\u2502"),
    (8, 34, "0;32;40", "\u2502"),
    (9, 3, "0;32;40", "\u2514" + "\u2500" * 30 + "\u2518"),
    (8, 5, "0;1;37;40", "[D] Dateien herunterladen"),
    (11, 3, "0;36;40", "\u2591\u2592\u2593\u2588 Bl\u00f6cke \u2588\u2593\u2592\u2591"),
    (13, 3, "0;1;31;40", "\u00c4nderungen: \u00fcbermorgen \u00d6ffnungszeit 0-24 Uhr"),
    (14, 3, "0;5;35;40", "Neu!"),
    (16, 3, "0;30;47", " [Q] Abmelden "),
    (24, 1, "0;37;40", "Ihre Wahl: "),
]

SCREEN_START = ESC + "[0m" + ESC + "[2J"


def ansi_text():
    """The screen as the mailbox sends it (a str, to be encoded as cp437)."""
    parts = [SCREEN_START]
    for row, column, sgr, text in _ITEMS:
        parts.append(f"{ESC}[{row};{column}H{ESC}[{sgr}m{text}")
    parts.append(ESC + "[24;12H")
    return "".join(parts)


def screen_bytes():
    return ansi_text().encode("cp437")
