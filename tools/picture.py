#!/usr/bin/env python3
"""Draws the picture of one run for the picture target.

  picture.py --memspec PROGRAM --values PROGRAM --gnuplot GNUPLOT --cr 0|1 --out PNG [--timeout S]
  picture.py --data DIR MEMSPEC_OUT VALUES_TXT

The first form runs the tree's program and value table, writes gnuplot's data
into a private directory beside PNG, has gnuplot (tools/picture.gp, given no
path but its files' names) draw there, checks that the picture is a whole PNG
and puts it in place by a rename. Each program it runs has S seconds (120).
A draw that fails, times out or is
interrupted (SIGINT, SIGTERM, SIGHUP) removes its directory, leaves the old
picture (or none) and ends with a failure status. The second form writes the
data alone, for the tests:
  spectrum.dat  f and 10 log10(spec), one line for each evaluated frequency
  tones.dat     each tone's frequency f and its image fs - f
  printed.dat   frequency and spectrum of the rows that print above 0.000
  fpe.dat       order and final prediction error, to the bit
  auto.dat      lag and autocorrelation, as printed
"""
import argparse
import math
import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import zlib

TOOLS = os.path.dirname(os.path.abspath(__file__))


def printed(text):
    """The printed table's peaks and lags, as tools/table.awk reads it:
    {"peak": [(f, s), ...], "lag": [(lag, c), ...]}."""
    awk = ["awk", "-f", os.path.join(TOOLS, "table.awk"), "-f", os.path.join(TOOLS, "picture.awk")]
    out = subprocess.run(awk, input=text.encode(), stdout=subprocess.PIPE, check=True).stdout
    rows = {"peak": [], "lag": []}
    for line in out.decode().splitlines():
        kind, a, b = line.split()
        rows[kind].append((float(a), float(b)))
    return rows


def values(text):
    """The value table as {name: [v1, v2, ...]}, each value to the bit."""
    v = {}
    for line in text.splitlines():
        key, hexval = line.split()
        name = key.split("[")[0]
        v.setdefault(name, []).append(float.fromhex(hexval))
    return v


def write_data(directory, memspec_out, values_txt):
    rows = printed(memspec_out)
    v = values(values_txt)
    fs = v["f"][-1]

    def put(name, lines):
        with open(os.path.join(directory, name), "w") as f:
            f.writelines("%s\n" % " ".join(repr(x) for x in line) for line in lines)

    put("spectrum.dat", [(f, 10 * math.log10(s)) for f, s in zip(v["f"], v["spec"]) if s > 0])
    put("tones.dat", [(1 / p, fs - 1 / p) for p in v["period"]])
    put("printed.dat", rows["peak"])
    put("fpe.dat", list(enumerate(v["fpe"])))
    put("auto.dat", rows["lag"])


def whole_png(path, width, height):
    """Whether path is a PNG of that size whose every chunk is whole, its CRC
    right, from IHDR first to IEND last with nothing after."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return False
    at, names = 8, []
    while at + 12 <= len(data):
        (length,) = struct.unpack(">I", data[at:at + 4])
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + length]
        end = at + 12 + length
        if end > len(data) or struct.unpack(">I", data[end - 4:end])[0] != zlib.crc32(kind + body):
            return False
        if not names and (kind != b"IHDR" or struct.unpack(">II", body[:8]) != (width, height)):
            return False
        names.append(kind)
        at = end
    return at == len(data) and names[-1:] == [b"IEND"]


class Interrupted(Exception):
    pass


def interrupted(signum, frame):
    raise Interrupted(signum)


def draw(args):
    out = os.path.abspath(args.out)
    work = tempfile.mkdtemp(prefix=os.path.basename(out) + ".", dir=os.path.dirname(out))
    try:
        def run(what, command, **kw):
            try:
                r = subprocess.run(command, cwd=work, stderr=subprocess.PIPE, timeout=args.timeout,
                                   **kw)
            except OSError as e:
                sys.exit("picture: %s cannot run: %s" % (what, e))
            if r.returncode != 0:
                sys.exit("picture: %s failed (%d): %s" % (what, r.returncode, r.stderr.decode()[:500]))
            return r

        text = {}
        for name, program in (("memspec", args.memspec), ("values", args.values)):
            text[name] = run(name, [program], stdout=subprocess.PIPE).stdout.decode()
        write_data(work, text["memspec"], text["values"])
        run("gnuplot (Debian: gnuplot-nox)",
            [args.gnuplot, "-e", "cr = %d" % args.cr, os.path.join(TOOLS, "picture.gp")])
        new = os.path.join(work, "memspec.png.new")
        if not os.path.isfile(new) or not whole_png(new, 1000, 1150):
            sys.exit("picture: gnuplot left no whole picture (is the disk full?)")
        os.replace(new, out)
    except subprocess.TimeoutExpired as e:
        sys.exit("picture: %s took more than %g s" % (e.cmd[0], args.timeout))
    except Interrupted as e:
        sys.exit(128 + e.args[0])
    finally:
        for s in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
            signal.signal(s, signal.SIG_IGN)
        shutil.rmtree(work, ignore_errors=True)


def main():
    for s in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(s, interrupted)
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--data", nargs=3, metavar=("DIR", "MEMSPEC_OUT", "VALUES_TXT"))
    for name in ("memspec", "values", "gnuplot", "out"):
        p.add_argument("--" + name)
    p.add_argument("--cr", type=int, choices=(0, 1))
    p.add_argument("--timeout", type=float, default=120)
    args = p.parse_args()
    if args.data:
        directory, memspec_out, values_txt = args.data
        with open(memspec_out) as a, open(values_txt) as b:
            write_data(directory, a.read(), b.read())
        return
    missing = [n for n in ("memspec", "values", "gnuplot", "cr", "out") if getattr(args, n) is None]
    if missing:
        p.error("missing: " + ", ".join("--" + n for n in missing))
    draw(args)


if __name__ == "__main__":
    main()
