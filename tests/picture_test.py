#!/usr/bin/env python3
"""The picture target and what it draws from.

  picture_test.py CMAKE TREE GNUPLOT

The data tools/picture.py gives gnuplot hold each tone and its image at
fs - f, and the spectrum in dB of power at every evaluated frequency, from
the tree's own run. The target draws a whole PNG (signature, 1000 x 1150
pixels, IEND last) from nothing, and twice at once over an old one. A
gnuplot that fails, leaves half a picture or garbage with a PNG's ending,
hangs, or is interrupted fails the draw and leaves the old picture as it was,
with nothing beside it. Skipped (77) without gnuplot.
"""
import glob
import math
import os
import signal
import subprocess
import sys
import tempfile
import time

cmake, tree = sys.argv[1], sys.argv[2]
gnuplot = sys.argv[3] if len(sys.argv) > 3 else ""
if not gnuplot or not os.path.exists(gnuplot):
    print("gnuplot is missing; skipped")
    sys.exit(77)
tool = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools", "picture.py")
png = os.path.join(tree, "memspec.png")
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAILED:", what)


def whole(what):
    with open(png, "rb") as f:
        data = f.read()
    head = data[:24].hex()
    check(head == "89504e470d0a1a0a0000000d49484452000003e80000047e", what + ": not the PNG: " + head)
    check(data[-12:].hex() == "0000000049454e44ae426082", what + ": the PNG does not end")


def beside():
    """What lies beside the picture that a draw may have left."""
    return sorted(glob.glob(png + ".*"))


def draw_target(what):
    r = subprocess.run([cmake, "--build", tree, "--target", "picture"], stdout=subprocess.DEVNULL)
    check(r.returncode == 0, what + ": the picture target failed")


# from nothing (which builds the value table too)
if os.path.exists(png):
    os.remove(png)
draw_target("from nothing")
whole("from nothing")
# what gnuplot is given, against the value table
with tempfile.TemporaryDirectory() as d:
    out = subprocess.run([os.path.join(tree, "memspec")], stdout=subprocess.PIPE, check=True).stdout
    vals = subprocess.run([os.path.join(tree, "values")], stdout=subprocess.PIPE, check=True).stdout
    for name, data in (("memspec.out", out), ("values.txt", vals)):
        with open(os.path.join(d, name), "wb") as f:
            f.write(data)
    subprocess.run([sys.executable, tool, "--data", d, os.path.join(d, "memspec.out"),
                    os.path.join(d, "values.txt")], check=True)

    def dat(name):
        with open(os.path.join(d, name)) as f:
            return [[float(x) for x in line.split()] for line in f]

    tones = dat("tones.dat")
    want = [[124.5, 115.5], [65, 175], [64, 176], [4, 236]]
    check(len(tones) == 4 and all(abs(a - b) <= 1e-12 * b for t, w in zip(tones, want)
                                  for a, b in zip(t, w)), "tones and their images: %s" % tones)
    v = {}
    for line in vals.decode().splitlines():
        key, h = line.split()
        v.setdefault(key.split("[")[0], []).append(float.fromhex(h))
    spectrum = dat("spectrum.dat")
    check(len(spectrum) == 241, "%d spectrum points" % len(spectrum))
    for (f, db), want_f, s in zip(spectrum, v["f"], v["spec"]):
        want = 10 * math.log(s) / math.log(10)
        check(f == want_f and abs(db - want) <= 1e-9 * abs(want),
              "spectrum at %g: %r dB, wanted %r" % (want_f, db, want))
    printed = [row[0] for row in dat("printed.dat")]
    check(printed == [4, 64, 65, 175, 176, 236], "printed peaks at %s" % printed)
    check([row[1] for row in dat("fpe.dat")] == v["fpe"], "final prediction errors")
    check(len(dat("auto.dat")) == 50, "autocorrelation lags")

# two draws at once over an old picture
os.utime(png, (0, 0))
both = [subprocess.Popen([cmake, "--build", tree, "--target", "picture"], stdout=subprocess.DEVNULL)
        for _ in range(2)]
check(all(p.wait() == 0 for p in both), "two draws at once over an old one")
check(os.stat(png).st_mtime > 0, "two draws at once: the old picture left in place")
whole("two draws at once over an old one")
check(beside() == [], "left beside the picture: %s" % beside())

with open(png, "rb") as f:
    old = f.read()
# each fake gnuplot takes a copy of a whole picture, then fails its own way;
# it takes the copy's path from its environment, never from its own text
fakes = {
    "fails": 'exit 1',
    "half a picture": 'head -c 100 keep >memspec.png.new',
    "garbage with an ending":
        '{ head -c 1000 keep; printf garbage; tail -c 12 keep; } >memspec.png.new',
    "hangs": 'exec sleep 60',
    "is interrupted": 'kill -INT "$PPID"; exec sleep 60',
    "says where it draws": 'pwd >"$WHERE"; exit 1',
}
fake = os.path.join(tree, "fake-gnuplot")
for name, body in fakes.items():
    with open(fake, "w") as f:
        f.write('#!/bin/sh\ncp "$WHOLE_PICTURE" keep || exit 1\n%s\n' % body)
    os.chmod(fake, 0o755)
    where = os.path.join(tree, "picture_test.where")
    env = dict(os.environ, WHOLE_PICTURE=png, WHERE=where)
    start = time.monotonic()
    r = subprocess.run([sys.executable, tool, "--memspec", os.path.join(tree, "memspec"),
                        "--values", os.path.join(tree, "values"), "--gnuplot", fake, "--cr", "0",
                        "--out", png, "--timeout", "1"], env=env, stderr=subprocess.PIPE)
    took = time.monotonic() - start
    want = 128 + signal.SIGINT if name == "is interrupted" else 1
    check(r.returncode == want, "a gnuplot that %s: status %d" % (name, r.returncode))
    check(took < 30, "a gnuplot that %s: the draw took %.0f s" % (name, took))
    with open(png, "rb") as f:
        check(f.read() == old, "a gnuplot that %s: the old picture changed" % name)
    check(beside() == [], "a gnuplot that %s left %s" % (name, beside()))
with open(where) as f:
    drawn_in = f.read().strip()
check(os.path.dirname(drawn_in) == os.path.realpath(tree), "gnuplot drew in " + drawn_in)
os.remove(where)
os.remove(fake)
if failures:
    sys.exit("%d failures" % len(failures))
print("memspec.png: its data, whole, kept when a draw fails, nothing left beside it")
