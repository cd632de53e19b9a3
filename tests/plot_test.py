#!/usr/bin/env python3
"""tools/plot called carelessly and with hostile paths: it writes the picture
to exactly the path it is given, or fails with a message and a non-zero
status; it touches no other file, runs nothing it is handed and never writes
to the terminal. Skipped (status 77) where gnuplot is missing.

usage: plot_test.py SOURCE_DIR WORK_DIR
"""
import os
import shlex
import shutil
import stat
import subprocess
import sys
import struct
import threading

from private_dev import full_device

src, work = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
plot = os.path.join(src, "tools", "plot")
if shutil.which("gnuplot") is None:
    print("gnuplot is missing (Debian: gnuplot-nox); skipped")
    sys.exit(77)
work = os.path.join(work, "plot_test")
shutil.rmtree(work, ignore_errors=True)
os.makedirs(os.path.join(work, "dir"))
os.makedirs(os.path.join(work, "rel"))
os.chdir(work)
full = full_device(work)
PNG = b"\x89PNG\r\n\x1a\n"


def write(path, data, mode=0o644):
    with open(path, "wb") as f:
        f.write(data)
    os.chmod(path, mode)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def is_png(path):
    """A whole PNG of the script's size: signature, header chunk, IEND."""
    data = read(path)
    return (data.startswith(PNG) and data[12:16] == b"IHDR" and
            struct.unpack(">II", data[16:24]) == (1000, 1150) and
            data.endswith(b"IEND\xaeB`\x82"))


def drawn_here():
    """Whether this machine has the packages that drew docs/memspec.png: its
    bytes depend on gnuplot, cairo, pango and the fonts."""
    for line in open(os.path.join(src, "docs", "memspec.png.drawn-with")):
        package, version = line.split()
        r = subprocess.run(["dpkg-query", "-W", "-f", "${Version}", package],
                           capture_output=True, text=True)
        if r.returncode != 0 or r.stdout != version:
            print("%s is not %s here: the picture is checked but not compared byte for byte"
                  % (package, version))
            return False
    return True


same_packages = drawn_here()


def to_full():
    os.dup2(os.open(full, os.O_WRONLY), 1)


def limit_file_size():
    import resource
    import signal
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (40000, 40000))


def reader(path, into):
    with open(path, "rb") as f:
        into.append(f.read())


write("dir/important", b"keep")
# a gnuplot that exits 0 having written half a picture
os.mkdir("fakebin")
write("fakebin/gnuplot", b"#!/bin/sh\nhead -c 4000 %s >plot.png\n"
      % shlex.quote(os.path.join(src, "docs", "memspec.png")).encode(), 0o755)
half = {"PATH": os.path.join(work, "fakebin") + os.pathsep + os.environ["PATH"]}
os.mkdir("tmp `touch marker`")
got_from_pipe = []
hostile = [
    'dir/important";#.png',
    'x"; system("touch marker"); set output "y.png',
    "`touch marker`.png",
    "a\nb.png",
    "\\101.png",
    "\\t.png",
    "new\n",
]

# (arguments, expected status, check after the call, set-up before it,
#  extra environment, set-up in the child)
cases = [
    (["--help"], 0, lambda r: b"usage: tools/plot" in r.stdout, None, {}, None),
    (["-h"], 0, lambda r: b"usage: tools/plot" in r.stdout, None, {}, None),
    ([], 2, None, None, {}, None),
    (["--bogus", "bogus.png"], 2, lambda r: not os.path.exists("bogus.png"), None, {}, None),
    (["a.png", "b.png"], 2, lambda r: not os.path.exists("a.png"), None, {}, None),
    ([""], 2, None, None, {}, None),
    (["--help"], 1, None, None, {}, to_full),
    # the committed picture is the correctly rounded build's, drawn anew
    (["cr.png", "--correctly-rounded"], 0,
     lambda r: is_png("cr.png") and (not same_packages or read("cr.png") == read(
         os.path.join(src, "docs", "memspec.png"))), None, {}, None),
    (["--", "-dash.png"], 0, lambda r: is_png("-dash.png"), None, {}, None),
] + [
    ([p], 0, lambda r, p=p: is_png(p), None, {}, None) for p in hostile
] + [
    (["t.png"], 0, lambda r: is_png("t.png"), None,
     {"TMPDIR": os.path.join(work, "tmp `touch marker`")}, None),
    (["rel.png"], 0, lambda r: is_png("rel.png"), None, {"TMPDIR": "rel"}, None),
    (["dot.png"], 0, lambda r: is_png("dot.png"), None, {"TMPDIR": "."}, None),
    ([full], 1, lambda r: stat.S_ISCHR(os.stat(full).st_mode), None, {}, None),
    (["out.png"], 1, lambda r: is_png("out.png") and b"tools/plot:" in r.stderr, None, {},
     to_full),
    (["new.png/"], 1, lambda r: not os.path.exists("new.png"), None, {}, None),
    (["loop.png"], 1, lambda r: os.path.islink("loop.png") and os.path.islink("loop2.png"),
     lambda: (os.symlink("loop2.png", "loop.png"), os.symlink("loop.png", "loop2.png")), {},
     None),
    (["missing/x.png"], 1, lambda r: not os.path.exists("missing"), None, {}, None),
    (["/proc/memspec.png"], 1, None, None, {}, None),
    (["dir"], 1, lambda r: os.path.isdir("dir"), None, {}, None),
    (["closed.png"], 1, lambda r: not os.path.exists("closed.png"), None, {},
     lambda: os.close(1)),
    # a picture that cannot be written whole leaves the old file as it was
    (["old.png"], 1, lambda r: read("old.png") == b"old",
     lambda: write("old.png", b"old"), {}, limit_file_size),
    (["half.png"], 1, lambda r: read("half.png") == b"old" and b"incomplete" in r.stderr,
     lambda: write("half.png", b"old"), half, None),
    # replaced by a rename, never written in place: a hard link keeps the old bytes
    (["hard.png"], 0, lambda r: is_png("hard.png") and read("hard2.png") == b"old",
     lambda: (write("hard.png", b"old"), os.link("hard.png", "hard2.png")), {}, None),
    (["kept.png"], 0, lambda r: is_png("kept.png") and os.stat("kept.png").st_mode & 0o777 == 0o640,
     lambda: write("kept.png", b"old", 0o640), {}, None),
    (["link.png"], 0, lambda r: os.path.islink("link.png") and is_png("real.png"),
     lambda: (write("real.png", b"old"), os.symlink("real.png", "link.png")), {}, None),
    (["fifo.png"], 0,
     lambda r: stat.S_ISFIFO(os.stat("fifo.png").st_mode) and got_from_pipe[0].startswith(PNG),
     lambda: (os.mkfifo("fifo.png"),
              threading.Thread(target=reader, args=("fifo.png", got_from_pipe)).start()), {},
     None),
]

expected_files = {"dir", "tmp `touch marker`", "dir/important"}
failures = []
for args, status, check, before, env, child in cases:
    if before:
        before()
    r = subprocess.run([plot] + args, stdin=subprocess.DEVNULL, capture_output=True,
                       env=dict(os.environ, **env), preexec_fn=child)
    what = "tools/plot %r" % args
    problems = []
    if r.returncode != status:
        problems.append("status %d, not %d" % (r.returncode, status))
    if status != 0 and not r.stderr.strip():
        problems.append("no message")
    if PNG in r.stdout or PNG in r.stderr:
        problems.append("wrote the picture to a terminal's stream")
    if check and not check(r):
        problems.append("the files are not as they should be")
    for gone in ["marker", "y.png", "dir/important", "a", "b.png", "A.png"]:
        if os.path.exists(gone) and not (gone == "dir/important" and read(gone) == b"keep"):
            problems.append("touched " + gone)
    left = [n for n in os.listdir(".") + os.listdir("dir") + os.listdir("rel")
            if n.startswith((".memspec-plot", "tmp."))]
    if left:
        problems.append("left " + ", ".join(left))
    if problems:
        failures.append("%s: %s\n%s" % (what, "; ".join(problems), r.stderr.decode()[-400:]))
    else:
        print("%s: status %d" % (what, r.returncode))

for f in failures:
    print("FAILED:", f)
print("%d passed, %d failed" % (len(cases) - len(failures), len(failures)))
sys.exit(1 if failures else 0)
