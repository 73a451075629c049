#!/usr/bin/env python3
"""Builds catalogues with vitrine-cat and with the independent reference_build.py and compares
them: the data and index files byte for byte, the "tree" output, and the "show" output of every
node. A source that one side rejects must be rejected by the other, at the same line.

    crosscheck.py --tool PATH/vitrine-cat [--gen-catalog PATH] [SOURCE ...]

Without SOURCE arguments only the hand-made sources below are checked; with --gen-catalog a few
small generated sources are added. Exit status 0 when everything agrees, 1 otherwise.
"""

import argparse
import os
import subprocess
import sys
import tempfile

import reference_build

HERE = os.path.dirname(os.path.abspath(__file__))

# Small sources aimed at the rules most easily misread. Bytes, Windows-1252.
HAND_MADE = {
    "last-section-runs-to-the-end": b"""OUTLINE [O] 01.01.96 {
[A]Eins
[B]Zwei
}
INFOTEXT [A] 03.04.96 {
alpha
beta
}
SHORTTEXT [B] 05.06.96 {
DATEI.ZIP
eins
zwei
drei
}
""",
    "section-without-closing-brace": b"""INFOTEXT [A] 01.02.96
erste
zweite
dritte
OUTLINE [O]
[A]A
[B]B
}
TEXT [B] 07.08.95 {
x
}
""",
    "body-line-beginning-with-a-keyword": b"""OUTLINE [O] {
[A]A
}
INFOTEXT [A] 01.01.96 {
Ein Absatz
Text und noch mehr
weiter
}
""",
    "header-dates": b"""OUTLINE [O] {
[D1]a
[D2]b
[D3]c
[D4]d
[ d5 ]e
[d6]f
[D7]g
[D8]h
}
INFOTEXT [D1] 12.03.96 {
x
}
INFOTEXT [D2] {
x
}
INFOTEXT [D3] soon {
x
}
INFOTEXT [D4] 1.6.96 {
x
}
INFOTEXT [d5] \t1 2.\x0803.9 6 {
x
}
INFOTEXT [D6]
x
}
INFOTEXT [D7]31.02.96 {
x
}
INFOTEXT [D8] 29.02.96{
x
}
""",
    "paragraphs-and-nowrap": b"""OUTLINE [O] {
[P1]a
[P2]b
[P3]c
[P4]d
}
INFOTEXT [P1] {
alpha
beta

 gamma
delta
\tepsilon
zeta
\x08eta
theta
}
INFOTEXT [P2] {
xx <nowrap> yy
alpha
beta
}
INFOTEXT [P3] {
<F1>Titel
<F0>
Text eins
zwei
<f2>
drei
vier<F0>
fuenf
<F1>sechs
}
INFOTEXT [P4] {
}
""",
    "outline-shapes": b"""OUTLINE [O] 01.01.96 {
A
  A1 [K1]
  A2
    A21
   A3 surplus
 B [ k2 ]
  B1
\tC tab
x] y [K1]
[]empty key
D
      D1
   D2
E [K1] [K2]
}
INFOTEXT [K1] 02.02.96 {
eins
}
INFOTEXT [K2] 03.03.97 {
zwei
}
""",
    "component-keys": b"""OUTLINE [O] {
[C1]eins
[C2]zwei
[C3]drei
[C4]vier
[C5]fuenf
}
COMPONENT [C1] {
; a comment
[ShortName]
Eins & Co
[LongName]
Eins lang
[LastReview]
7.3.96 und mehr
[ShortInfo]
[LongInfo]
lang 1
lang 2
[Rating]
x
[Language]
-1
[Compiler]
PANDEX, BP
[KeyWords]
A,B C;D  E,,F;;G & H
}
COMPONENT [C2] {
[ShortName]
Zwei
[Rating]
 5
[Language]
+44
[Compiler]
PANDEX2
Hier steht Compiler im Text
zweiter Compiler-Wert
[LastReview]
31.02.96
}
COMPONENT [C3] {
[LastReview]

[Rating]
300
[Language]
99999
[Compiler]
A,B C
}
COMPONENT [C4] {
[rating]
7
[LANGUAGE]
33
[compiler]
pandex bp Pandex2
[Price]
DM 10,-
[Order]
Bestellung
;Kommentar mitten im Block
zweite Zeile
[Contact]
Adresse
}
COMPONENT [C5] {
}
""",
    "long-strings-and-blocks": b"OUTLINE [O] {\n[L]lang\n[S]kurz\n}\nINFOTEXT [L] {\n"
    + b"".join(b"Zeile %d " % i + b"\xe4\xf6\xfc\xdf" * (i % 90) + b"\n" for i in range(900))
    + b"}\nSHORTTEXT [S] {\n"
    + b"A" * 255 + b"\n" + b"B" * 256 + b"\n" + bytes(range(32, 256)) + b"\n}\n",
    "crlf-and-last-line-without-lf": b"OUTLINE [O] {\r\n[A]A\r\n}\r\nINFOTEXT [A] 01.01.96 {\r\n"
    b"eins\r\n\r\nzwei\r\r\n}\r",
    "names-compare-ascii-letters-only": b"""OUTLINE [O] {
[\xfcber]klein
[abc]abc
}
INFOTEXT [\xfcber] {
x
}
INFOTEXT [ABC] {
y
}
""",
    "keyword-ends-at-backspace": b"""OUTLINE\x08[O] {
[A]A
}
infotext [A] {
x
}
""",
    "unnamed-sections-are-stored-too": b"""TEXT
frei
}
OUTLINE [O] {
[A]A
}
INFOTEXT {
ohne Namen
}
INFOTEXT [A] {
x
}
""",
    "error-duplicate-name": b"""OUTLINE [O] {
[A]A
}
INFOTEXT [A] {
x
}
TEXT [a] {
y
}
""",
    "error-unknown-key": b"""INFOTEXT [A] {
x
}
OUTLINE [O] {
[A]A
[B]B
}
""",
    "error-second-outline": b"""OUTLINE [O] {
A
}
OUTLINE [P] {
B
}
""",
    "error-no-outline": b"""INFOTEXT [A] {
x
}
""",
    "error-key-line-without-value": b"""OUTLINE [O] {
[C]C
}
COMPONENT [C] {
[ShortName]
Name
[Rating]
}
""",
    "error-outline-key-naming-the-outline": b"""OUTLINE [O] {
[O]O
}
""",
}


class Mismatch(Exception):
    pass


def run(command):
    return subprocess.run(command, capture_output=True)


def build_both(tool, source_path, work):
    ours, theirs = os.path.join(work, "tool"), os.path.join(work, "reference")
    a = run([tool, "build", source_path, ours])
    b = run([sys.executable, os.path.join(HERE, "reference_build.py"), "build", source_path,
             theirs])
    if (a.returncode == 0) != (b.returncode == 0):
        raise Mismatch(f"tool exit {a.returncode} {a.stderr!r}, reference exit {b.returncode} "
                       f"{b.stderr!r}")
    if a.returncode != 0:
        # Both reject it: the same source line, and no output files left behind.
        where = [e.stderr.decode("utf-8", "replace").split(": ")[0] for e in (a, b)]
        if where[0] != where[1]:
            raise Mismatch(f"errors at different places: {where[0]} / {where[1]}")
        if os.path.exists(os.path.join(ours, reference_build.DATA_NAME)):
            raise Mismatch("tool left a data file after an error")
        return None
    for name in (reference_build.DATA_NAME, reference_build.INDEX_NAME):
        with open(os.path.join(ours, name), "rb") as f1, open(os.path.join(theirs, name), "rb") as f2:
            x, y = f1.read(), f2.read()
        if x != y:
            at = next((i for i in range(min(len(x), len(y))) if x[i] != y[i]), min(len(x), len(y)))
            raise Mismatch(f"{name} differs at byte {at} (sizes {len(x)} / {len(y)})")
    return ours


def compare_reading(tool, folder):
    data, index = reference_build.load_catalogue(folder)
    tree = reference_build.load_tree(data, index)
    expected = "".join(line + "\n" for line in reference_build.tree_lines(tree)).encode()
    got = run([tool, "tree", folder])
    if got.returncode != 0 or got.stdout != expected:
        raise Mismatch(f"tree output differs:\n{got.stdout.decode()}\n---\n{expected.decode()}")
    for node in range(len(tree.names)):
        lines = reference_build.show_lines(data, tree, node)
        expected = "".join(line + "\n" for line in lines).encode()
        got = run([tool, "show", folder, str(node)])
        if got.returncode != 0 or got.stdout != expected:
            raise Mismatch(f"show {node} differs:\n{got.stdout.decode()}---\n{expected.decode()}")
    return len(tree.names)


def check(tool, name, source_path):
    with tempfile.TemporaryDirectory() as work:
        try:
            folder = build_both(tool, source_path, work)
            nodes = compare_reading(tool, folder) if folder else None
        except Mismatch as error:
            print(f"MISMATCH {name}: {error}")
            return False
    print(f"ok {name}: " + ("rejected by both" if nodes is None else f"{nodes} nodes identical"))
    return True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--gen-catalog")
    parser.add_argument("sources", nargs="*")
    args = parser.parse_args()
    ok = True
    with tempfile.TemporaryDirectory() as work:
        for name, source in HAND_MADE.items():
            path = os.path.join(work, name + ".src")
            with open(path, "wb") as f:
                f.write(source)
            ok &= check(args.tool, name, path)
        if args.gen_catalog:
            for seed, extra in ((1, []), (2, ["--crlf"]), (3, ["--levels", "1", "--fanout", "2"])):
                path = os.path.join(work, f"generated-{seed}.src")
                with open(path, "wb") as f:
                    subprocess.run([sys.executable, args.gen_catalog, "--components", "30",
                                    "--infotexts", "8", "--shorttexts", "4", "--seed", str(seed),
                                    *extra], stdout=f, check=True)
                ok &= check(args.tool, f"generated seed {seed}", path)
        for path in args.sources:
            ok &= check(args.tool, os.path.basename(path), path)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
