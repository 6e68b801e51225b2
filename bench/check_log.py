#!/usr/bin/env python3
"""Checks the project's sample and generated logs against what the program
and the benchmarks rely on.

  check_log.py generated --generator PATH [--adif ADIF_DXC.TXT]
      runs the generator (20,000 contacts, two seeds, and once more with
      empty rows) and checks the files: layout, quoting, code page, station
      counts, QSL_VIA contents, DXCC numbers, same bytes for the same seed.

  check_log.py demo LOG_DEMO.csv [--adif ADIF_DXC.TXT]
      checks the sample log of the demonstration folder.

Exits 1 with one line per fault found.
"""

import argparse
import collections
import csv
import io
import os
import subprocess
import sys
import tempfile

FAULTS = []


def fault(text):
    FAULTS.append(text)


def expect(condition, text):
    if not condition:
        fault(text)
    return condition


def adif_numbers(path):
    """Three-digit numbers of current entities in an ADIF_DXC.TXT."""
    numbers = set()
    with open(path, encoding="cp1250", newline="") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if len(line) >= 5 and line[:3].isdigit() and line[3] == " " and "(DELETED)" not in line:
                numbers.add(line[:3])
    return numbers


def read_log(path):
    """Raw bytes, the physical lines (without CR LF) and the parsed rows."""
    data = open(path, "rb").read()
    expect(b"\n" not in data.replace(b"\r\n", b""), f"{path}: a line end that is not CR LF")
    expect(data.endswith(b"\r\n"), f"{path}: the last line has no CR LF")
    try:
        text = data.decode("cp1250")
    except UnicodeDecodeError as e:
        fault(f"{path}: not Windows-1250: {e}")
        text = data.decode("latin-1")
    expect(not text.isascii(), f"{path}: no letter beyond ASCII (Polish names expected)")
    try:
        data.decode("utf-8")
        fault(f"{path}: decodes as UTF-8; the log must be Windows-1250")
    except UnicodeDecodeError:
        pass
    lines = data[:-2].split(b"\r\n") if data.endswith(b"\r\n") else data.split(b"\r\n")
    rows = list(csv.reader(io.StringIO(text.replace("\r\n", "\n"), newline="")))
    return data, lines, rows


def quoted_field_count(line):
    """Number of fields when every field of the line is quoted and quotes
    inside are doubled; -1 when the line is not written that way."""
    i, n, fields = 0, len(line), 0
    while True:
        if i >= n or line[i:i + 1] != b'"':
            return -1
        i += 1
        while True:
            j = line.find(b'"', i)
            if j < 0:
                return -1
            if line[j + 1:j + 2] == b'"':
                i = j + 2
                continue
            break
        fields += 1
        if j + 1 == n:
            return fields
        if line[j + 1:j + 2] != b",":
            return -1
        i = j + 2


def check_common(path, rows, adif):
    header = rows[0]
    expect(header.index("CALL") == 4 if "CALL" in header else False, f"{path}: CALL is not the fifth column")
    for name in ("DXCC", "QSL_VIA"):
        expect(name in header and header.index(name) > 4, f"{path}: {name} missing or not right of CALL")
    data = [r for r in rows[1:] if any(r)]
    call_col, dxcc_col, via_col = header.index("CALL"), header.index("DXCC"), header.index("QSL_VIA")
    for n, r in enumerate(data, 2):
        if not expect(len(r) == len(header), f"{path}: a row of {len(r)} fields, the header has {len(header)}"):
            break
        d = r[dxcc_col]
        if not expect(len(d) == 3 and d.isdigit(), f"{path}: DXCC {d!r} is not three digits"):
            break
        if adif is not None and not expect(d in adif, f"{path}: DXCC {d} is no current entity of ADIF_DXC.TXT"):
            break
    calls = collections.Counter(r[call_col] for r in data)
    vias = collections.Counter(r[via_col] for r in data)
    return data, calls, vias


def check_generated(generator, adif):
    with tempfile.TemporaryDirectory() as tmp:
        a = os.path.join(tmp, "a.csv")
        b = os.path.join(tmp, "b.csv")
        c = os.path.join(tmp, "c.csv")
        e = os.path.join(tmp, "e.csv")
        rows_wanted = 20000
        for path, seed, extra in ((a, "7", []), (b, "7", []), (c, "8", []), (e, "7", ["--empty-rows", "10"])):
            subprocess.run([generator, str(rows_wanted), path, seed] + extra, check=True,
                           stderr=subprocess.DEVNULL)
        raw_a = open(a, "rb").read()
        expect(raw_a == open(b, "rb").read(), "the same seed gave different files")
        expect(raw_a != open(c, "rb").read(), "two seeds gave the same file")
        expect(not [f for f in os.listdir(tmp) if ".part" in f], "a temporary file was left behind")

        raw, lines, rows = read_log(a)
        expect(len(rows) == rows_wanted + 1, f"{len(rows)} lines, expected {rows_wanted + 1}")
        expect(all(len(r) == 53 for r in rows), "a line without 53 fields")
        for line in lines:
            if not expect(quoted_field_count(line) == 53, f"a line not of 53 quoted fields: {line[:80]!r}"):
                break
        mib = len(raw) / rows_wanted * 100000 / 1048576
        expect(20 <= mib <= 30, f"100,000 rows would be {mib:.1f} MiB, about 25 expected")

        data, calls, vias = check_common(a, rows, adif)
        once_rows = sum(1 for n in calls.values() if n == 1)
        expect(0.65 <= once_rows / len(data) <= 0.75,
               f"{once_rows / len(data):.0%} of the rows are stations worked once, about 70 % expected")
        expect(max(calls.values()) >= 30, f"the most worked station has only {max(calls.values())} QSOs")
        expect(len([n for n in calls.values() if n >= 10]) >= 20, "too few stations worked 10 times or more")
        lower = [c for c in calls if c != c.upper()]
        expect(lower and all(c.upper() in calls for c in lower),
               "no lower-case variant of a station worked in upper case")
        direct = {v for v in vias if v.upper().startswith("DIRECT")}
        managers = {v for v in vias if v and v not in direct}
        manager_rows = sum(vias[m] for m in managers)
        expect(0.07 <= manager_rows / len(data) <= 0.13,
               f"{manager_rows / len(data):.1%} of the rows name a manager, about 10 % expected")
        expect(100 <= len(managers) <= 300, f"{len(managers)} distinct managers, a few hundred expected")
        expect(len(direct) >= 3, f"DIRECT in only {len(direct)} spellings")
        expect(vias[""] > len(data) / 2, "most QSL_VIA cells should be empty")
        expect(len({r[30] for r in data}) >= 80, "fewer than 80 countries in 20,000 contacts")
        expect(b"\x0b" in raw, "no cell with a line break (byte 11)")
        expect(b'""' in raw.replace(b'"",""', b"").replace(b'"","', b"").replace(b'",""', b""),
               "no doubled quote inside a field")
        dates = [r[0] for r in data]
        expect(dates == sorted(dates), "the contacts are not in date order")

        _, _, rows_e = read_log(e)
        empty = [r for r in rows_e[1:] if not any(r)]
        expect(len(empty) == 10, f"--empty-rows 10 wrote {len(empty)} empty rows")
        expect(len(rows_e) == rows_wanted + 11, "--empty-rows changed the number of contacts")
        expect([r for r in rows_e if any(r)] == rows, "--empty-rows changed the contacts")


def check_demo(path, adif):
    raw, lines, rows = read_log(path)
    expect(20 <= len(rows[0]) <= 53, f"{len(rows[0])} columns, 20 to 53 expected")
    data, calls, vias = check_common(path, [rows[0]] + [r for r in rows[1:] if any(r)], adif)
    expect(40 <= len(data) <= 60, f"{len(data)} contacts, 40 to 60 expected")
    expect(sum(1 for l in lines if l == b"") >= 1, "no truly empty line")
    expect(sum(1 for r in rows[1:] if r and not any(r)) >= 2, "fewer than two rows of empty fields")
    counts = collections.Counter(calls.values())
    expect(counts[2] and counts[3] and counts[4], "no stations worked 2, 3 and 4 times")
    expect(any(c != c.upper() and c.upper() in calls for c in calls), "no call in two letter cases")
    for v in ("DIRECT", "direct", "Direct", "DIRECT ONLY", "EA5XX", "IK2QEI", "W3HNK", "M0OXO", ""):
        expect(v in vias, f"QSL_VIA {v!r} missing")
    text = raw.decode("cp1250", errors="replace")
    for word in ("Łódź", "Kraków", "Gdańsk", "Wrocław", "Józef", "Świętokrzyskie"):
        expect(word in text, f"{word} missing")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("what", choices=("generated", "demo"))
    parser.add_argument("log", nargs="?")
    parser.add_argument("--generator")
    parser.add_argument("--adif")
    args = parser.parse_args()
    adif = adif_numbers(args.adif) if args.adif and os.path.exists(args.adif) else None
    if args.what == "generated":
        if not args.generator:
            parser.error("--generator is needed")
        check_generated(args.generator, adif)
    else:
        if not args.log:
            parser.error("the log is needed")
        check_demo(args.log, adif)
    for f in FAULTS:
        print("FAULT:", f)
    print(f"{args.what}: {'ok' if not FAULTS else str(len(FAULTS)) + ' fault(s)'}")
    return 1 if FAULTS else 0


if __name__ == "__main__":
    sys.exit(main())
