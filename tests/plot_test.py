#!/usr/bin/env python3
"""tools/plot called carelessly and with hostile paths: it writes the picture
to exactly the path it is given, or fails with a message and a non-zero
status; it touches no other file, runs nothing it is handed and never writes
to the terminal. Skipped (status 77) where gnuplot is missing.

usage: plot_test.py SOURCE_DIR WORK_DIR
"""
import os
import shutil
import stat
import subprocess
import sys
import threading

src, work = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
plot = os.path.join(src, "tools", "plot")
if shutil.which("gnuplot") is None:
    print("gnuplot is missing (Debian: gnuplot-nox); skipped")
    sys.exit(77)
work = os.path.join(work, "plot_test")
shutil.rmtree(work, ignore_errors=True)
os.makedirs(os.path.join(work, "dir"))
os.chdir(work)
PNG = b"\x89PNG\r\n\x1a\n"


def write(path, data, mode=0o644):
    with open(path, "wb") as f:
        f.write(data)
    os.chmod(path, mode)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def is_png(path):
    data = read(path)
    return data.startswith(PNG) and data.endswith(b"IEND\xaeB`\x82")


def limit_file_size():
    import resource
    import signal
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (40000, 40000))


def reader(path, into):
    with open(path, "rb") as f:
        into.append(f.read())


write("dir/important", b"keep")
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
    # the committed picture is the correctly rounded build's, drawn anew
    (["cr.png", "--correctly-rounded"], 0,
     lambda r: read("cr.png") == read(os.path.join(src, "docs", "memspec.png")), None, {}, None),
    (["--", "-dash.png"], 0, lambda r: is_png("-dash.png"), None, {}, None),
] + [
    ([p], 0, lambda r, p=p: is_png(p), None, {}, None) for p in hostile
] + [
    (["t.png"], 0, lambda r: is_png("t.png"), None,
     {"TMPDIR": os.path.join(work, "tmp `touch marker`")}, None),
    (["/dev/full"], 1, lambda r: stat.S_ISCHR(os.stat("/dev/full").st_mode), None, {}, None),
    (["missing/x.png"], 1, lambda r: not os.path.exists("missing"), None, {}, None),
    (["/proc/memspec.png"], 1, None, None, {}, None),
    (["dir"], 1, lambda r: os.path.isdir("dir"), None, {}, None),
    (["closed.png"], 1, lambda r: not os.path.exists("closed.png"), None, {},
     lambda: os.close(1)),
    # a picture that cannot be written whole leaves the old file as it was
    (["old.png"], 1, lambda r: read("old.png") == b"old",
     lambda: write("old.png", b"old"), {}, limit_file_size),
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
    left = [n for n in os.listdir(".") + os.listdir("dir") if n.startswith(".memspec-plot")]
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
