#!/usr/bin/env python3
"""An independent implementation of the full-text search, compared with `vitrine-cat search`.

    reference_search.py --tool PATH/vitrine-cat [--gen-catalog PATH] FOLDER [FOLDER ...]

With --gen-catalog a generated catalogue (components, info texts and short texts) is added.

For each catalogue folder and each expression of EXPRESSIONS (with and without case
sensitivity) the tool's output must equal the hits computed here: every entry in tree order, its
searchable text (all lines of a text record; for a component the keywords, long info, short
info, review and installation lines, then the long name and the file name), terms split at
" + " (AND) and " - " (OR), folded left to right, a term found within one line, upper-casing of
the ASCII letters only; a short text whose first line holds ".ZIP" is listed under that line.
Exit status 0 when everything agrees, 1 otherwise.
"""

import argparse
import os
import subprocess
import sys
import tempfile

import reference_build as rb

EXPRESSIONS = [
    "datenbank", "Datenbank", "datenbank - tabelle + drucker", "grafik komponente", "a-b",
    "drucker + ", "drucker - ", "größe", "GRÖSSE", ".zip", "komponente + shareware - demo",
    "x + y - z", "", "e", "Ü",
]


def upper(raw):
    return bytes(b - 32 if 0x61 <= b <= 0x7A else b for b in raw)


def split_terms(expression, case_sensitive):
    rest = expression if case_sensitive else upper(expression)
    terms = []
    while True:
        candidates = [(rest.find(op), flag) for op, flag in ((b" + ", "and"), (b" - ", "or"))]
        candidates = [c for c in candidates if c[0] >= 0]
        if not candidates:
            break
        at, flag = min(candidates)
        terms.append((rest[:at], flag))
        rest = rest[at + 3:]
    terms.append((rest, None))
    return terms


def matches(lines, terms, case_sensitive):
    if not lines:
        return False
    if not case_sensitive:
        lines = [upper(line) for line in lines]

    def found(term):
        return bool(term) and any(term in line for line in lines)

    result = found(terms[0][0])
    for (_, flag), (term, _) in zip(terms, terms[1:]):
        result = (result and found(term)) if flag == "and" else (result or found(term))
    return result


def search_text(data, kind, offset):
    r = rb.RecordReader(data, offset, rb.TEXT_BUFFER)
    if kind in ("info", "short"):
        return r.strings()
    singles = dict(zip(rb.COMPONENT_SINGLES, (r.string() for _ in rb.COMPONENT_SINGLES)))
    r.byte(), r.byte(), r.byte()
    lists = {field: r.strings() for field in rb.COMPONENT_LISTS}
    return (lists["KeyWords"] + lists["LongInfo"] + lists["ShortInfo"] + lists["Review"] +
            lists["Installation"] + [singles["LongName"], singles["FileName"]])


def reference_hits(folder, expression, case_sensitive):
    data, index = rb.load_catalogue(folder)
    tree = rb.load_tree(data, index)
    if not expression:
        return []
    terms = split_terms(expression, case_sensitive)
    hits = []
    for node, name in enumerate(tree.names):
        kind, offset = rb.kind_of(tree.refs[node])
        if kind == "none":
            continue
        lines = search_text(data, kind, offset)
        if matches(lines, terms, case_sensitive):
            shown = name
            if kind == "short" and lines and b".ZIP" in upper(lines[0]):
                shown = lines[0]
            hits.append(f"{node}\t{rb.ansi_to_text(shown)}")
    return hits


def tool_hits(tool, folder, expression, case_sensitive):
    arguments = [tool, "search", folder] + (["--case"] if case_sensitive else []) + [expression]
    done = subprocess.run(arguments, capture_output=True, check=True)
    return done.stdout.decode("utf-8").splitlines()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--gen-catalog")
    parser.add_argument("folders", nargs="+")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as scratch:
        folders = list(args.folders)
        if args.gen_catalog:
            folders.append(generated_catalogue(args.tool, args.gen_catalog, scratch))
        failures = compare(args.tool, folders)
    print("search cross-check:", "ok" if not failures else f"{failures} differences")
    return 1 if failures else 0


def generated_catalogue(tool, generator, scratch):
    source = os.path.join(scratch, "gen.src")
    with open(source, "wb") as out:
        subprocess.run([sys.executable, generator, "--components", "150", "--infotexts", "40",
                        "--shorttexts", "40", "--seed", "7"], stdout=out, check=True)
    folder = os.path.join(scratch, "gen")
    subprocess.run([tool, "build", source, folder], check=True)
    return folder


def compare(tool, folders):
    failures = 0
    for folder in folders:
        for expression in EXPRESSIONS:
            for case_sensitive in (False, True):
                expected = reference_hits(folder, expression.encode("cp1252"), case_sensitive)
                actual = tool_hits(tool, folder, expression, case_sensitive)
                if actual != expected:
                    failures += 1
                    print(f"{folder}: {expression!r} case={case_sensitive}: "
                          f"tool {actual[:5]}... reference {expected[:5]}...")
    return failures


if __name__ == "__main__":
    sys.exit(main())
