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
import signal
import stat
import subprocess
import sys
import struct
import threading
import time

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
old_sig = lambda: write("sig.png", b"old")
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
# a gnuplot that deadlocks whatever it is sent but KILL, as cairo's lock can
os.mkdir("hungbin")
write("hungbin/gnuplot", b"#!/bin/sh\ntrap '' HUP INT TERM\necho $$ >%s\nexec sleep 1000\n"
      % shlex.quote(os.path.join(work, "hung.pid")).encode(), 0o755)
os.mkdir("sigtmp")
hung = {"PATH": os.path.join(work, "hungbin") + os.pathsep + os.environ["PATH"],
        "TMPDIR": os.path.join(work, "sigtmp")}


def gone_after_signal(r):
    """The picture's target as it was, the private directory removed and the
    hung gnuplot ended."""
    pid = int(read("hung.pid")) if os.path.exists("hung.pid") else None
    if pid is not None:
        os.remove("hung.pid")
        try:
            os.kill(pid, 0)
            return False
        except ProcessLookupError:
            pass
    return read("sig.png") == b"old" and os.listdir("sigtmp") == []
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
# Ended by a signal (what, when, whether to the whole group as a Ctrl-C sends
# it, how many times): within two seconds, with 128 + its number, leaving
# nothing. "draw" waits until the hung gnuplot runs; a number, that many
# seconds from the start (in the build).
signals = [
    (signal.SIGINT, "draw", True, 1),
    (signal.SIGINT, "draw", True, 3),
    (signal.SIGTERM, "draw", False, 1),
    (signal.SIGTERM, "draw", False, 2),
    (signal.SIGHUP, "draw", False, 1),
    (signal.SIGINT, 0.3, True, 1),
    (signal.SIGTERM, 0.3, False, 1),
]
cases += [(["sig.png"], 128 + sig, gone_after_signal, old_sig, hung, None, (sig, when, group, k))
          for sig, when, group, k in signals]

expected_files = {"dir", "tmp `touch marker`", "dir/important"}
failures = []
skipped = 0
for args, status, check, before, env, child, *sent in cases:
    what = "tools/plot %r" % ["FULL" if a is None else a for a in args]
    if full is None and (full in args or child is to_full):
        print("%s: skipped, no full device" % what)
        skipped += 1
        continue
    if before:
        before()
    p = subprocess.Popen([plot] + args, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                         stderr=subprocess.PIPE, env=dict(os.environ, **env), preexec_fn=child,
                         start_new_session=bool(sent))
    problems = []
    if sent:
        sig, when, group, k = sent[0]
        what += " with %s %s%s" % (signal.Signals(sig).name, "at the draw" if when == "draw"
                                   else "after %g s" % when, " (twice)" if k > 1 else "")
        deadline = time.time() + 60
        while when == "draw" and not os.path.exists("hung.pid") and time.time() < deadline:
            time.sleep(0.05)
        time.sleep(0.1 if when == "draw" else when)
        for _ in range(k):
            (os.killpg if group else os.kill)(p.pid, sig)
            time.sleep(0.05)
        try:
            p.wait(2)
        except subprocess.TimeoutExpired:
            problems.append("still running two seconds after the signal")
            os.killpg(p.pid, signal.SIGKILL)
    stdout, stderr = p.communicate()
    r = subprocess.CompletedProcess(p.args, p.returncode, stdout, stderr)
    if r.returncode != status:
        problems.append("status %d, not %d" % (r.returncode, status))
    if status in (1, 2) and not r.stderr.strip():
        problems.append("no message")
    if PNG in r.stdout or PNG in r.stderr:
        problems.append("wrote the picture to a terminal's stream")
    if check and not check(r):
        problems.append("the files are not as they should be")
    for gone in ["marker", "y.png", "dir/important", "a", "b.png", "A.png"]:
        if os.path.exists(gone) and not (gone == "dir/important" and read(gone) == b"keep"):
            problems.append("touched " + gone)
    left = [n for n in os.listdir(".") + os.listdir("dir") + os.listdir("rel")
            if n.startswith((".memspec-plot", "memspec-plot.", "tmp."))]
    if left:
        problems.append("left " + ", ".join(left))
    if problems:
        failures.append("%s: %s\n%s" % (what, "; ".join(problems), r.stderr.decode()[-400:]))
    else:
        print("%s: status %d" % (what, r.returncode))

for f in failures:
    print("FAILED:", f)
print("%d passed, %d failed, %d skipped" % (len(cases) - len(failures) - skipped, len(failures),
                                            skipped))
sys.exit(1 if failures else 0)
