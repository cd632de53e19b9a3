#!/usr/bin/env python3
"""The benchmark's report: a plain run appends to a redirected file and its
JSON names every benchmark; every way of losing the report fails the run with
a message on stderr; --benchmark_out's file is replaced whole by a finished
report or left as it was, and nothing is left beside it.

usage: bench_output.py BENCH WORK_DIR
"""
import json
import os
import resource
import signal
import subprocess
import sys
import time

from private_dev import full_device

bench, work = sys.argv[1], sys.argv[2]
quick = ["--benchmark_min_time=0.001"]
names = ["BM_analysis", "BM_burg", "BM_mem_1", "BM_sincos/floor", "BM_sincos/libm",
         "BM_sincos/llvm", "BM_sincos/mpfr"]
failures = []


def child(setup=None):
    """Signals as a shell would leave them, then setup, in the child."""
    def run():
        for sig in (signal.SIGPIPE, signal.SIGINT):
            signal.signal(sig, signal.SIG_DFL)
        if setup:
            setup()
    return run


def run(args, stdout):
    return subprocess.run([bench] + args, stdout=stdout, stderr=subprocess.PIPE,
                          preexec_fn=child())


# A plain run appends to what the file held and reports in JSON.
log = os.path.join(work, "bench_output.log")
with open(log, "w") as f:
    f.write("earlier line\n")
with open(log, "a") as f:
    r = run(quick + ["--benchmark_format=json"], f)
head, _, report = open(log).read().partition("\n")
if r.returncode != 0 or head != "earlier line":
    failures.append("plain run: status %d, first line %r" % (r.returncode, head))
elif sorted(b["name"] for b in json.loads(report)["benchmarks"]) != names:
    failures.append("plain run: the JSON does not name %s" % names)


def no_reader():
    read, write = os.pipe()
    os.close(read)
    return write


def ignore(sig):
    return lambda: signal.signal(sig, signal.SIG_IGN)


def file_limit(size):
    def child():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (size, size))
    return child


def closing(fd):
    return lambda: os.close(fd)


report = os.path.join(work, "bench_report.json")
OLD = b"the previous report\n"


def read(path):
    with open(path, "rb") as f:
        return f.read()


def kept():
    """The report file holds what it held before the run."""
    return read(report) == OLD


def replaced():
    """The report file is a new JSON report of BM_burg, with the old file's
    permissions."""
    try:
        names = sorted(b["name"] for b in json.loads(read(report))["benchmarks"])
    except (OSError, ValueError, KeyError):
        return False
    return names == ["BM_burg"] and os.stat(report).st_mode & 0o777 == 0o640


full = full_device(work)
null = subprocess.DEVNULL
out = "--benchmark_out=" + report
slow = "--benchmark_min_time=30"
# (what, arguments, stdout, set-up in the child, status, check afterwards,
#  needs the full device, signal sent a second into the run); status 1 and 2
# must come with a message, a negative status is death by that signal. The
# report file holds OLD before each run.
cases = [
    (">full", [], full, None, 1, None, True, None),
    (">&-", [], null, closing(1), 1, None, False, None),
    (">&- with --benchmark_out", [out], null, closing(1), 1, kept, False, None),
    ("2>&- with --benchmark_out", [out], null, closing(2), 0, replaced, False, None),
    ("<&- with --benchmark_out", [out], null, closing(0), 0, replaced, False, None),
    ("no reader, SIGPIPE ignored", [], no_reader, ignore(signal.SIGPIPE), 1, None, False, None),
    ("file size limit", [], os.path.join(work, "bench_limited.out"), file_limit(1), 1, None,
     False, None),
    ("file size limit on --benchmark_out", [out], null, file_limit(300), 1, kept, False, None),
    ("--benchmark_out=full", ["--benchmark_out=%s" % full], null, None, 1, None, True, None),
    ("--benchmark_out=full in csv", ["--benchmark_out=%s" % full, "--benchmark_out_format=csv"],
     null, None, 1, None, True, None),
    ("--benchmark_out in a missing directory", ["--benchmark_out=" + work + "/missing/x"],
     null, None, 1, None, False, None),
    ("a filter that matches nothing", [out, "--benchmark_filter=BM_nothing"], null, None, 2,
     kept, False, None),
    ("a filter that is no expression", [out, "--benchmark_filter=["], null, None, 2, kept,
     False, None),
    ("--benchmark_list_tests", [out, "--benchmark_list_tests=true"], null, None, 0, kept, False,
     None),
    ("SIGINT", [out, slow], null, None, -signal.SIGINT, kept, False, signal.SIGINT),
    ("SIGTERM", [out, slow], null, None, -signal.SIGTERM, kept, False, signal.SIGTERM),
    ("SIGHUP", [out, slow], null, None, -signal.SIGHUP, kept, False, signal.SIGHUP),
    ("--benchmark_format=bogus", ["--benchmark_format=bogus"], null, None, 2, None, False, None),
    ("--benchmark_out_format=bogus", [out, "--benchmark_out_format=bogus"], null, None, 2, kept,
     False, None),
    ("--help", ["--help"], os.path.join(work, "bench_help.out"), None, 0,
     lambda: b"--benchmark_filter" in read(os.path.join(work, "bench_help.out")), False, None),
    ("--help >full", ["--help"], full, None, 1, None, True, None),
] + [
    # values the library would take and act on wrongly, each with its reason
    (value, [out, value], null, None, 2, kept, False, None) for value in [
        "--benchmark_repetitions=-1", "--benchmark_repetitions=0",
        "--benchmark_repetitions=2147483648", "--benchmark_repetitions=2x",
        "--benchmark_min_time=1e400", "--benchmark_min_time=nan", "--benchmark_min_time=0",
        "--benchmark_min_time=", "--benchmark_min_warmup_time=-1",
        "--benchmark_min_warmup_time=inf", "--benchmark_color=bogus",
        "--benchmark_counters_tabular=maybe", "--benchmark_list_tests=maybe",
        "--benchmark_enable_random_interleaving=2"]
]
skipped = 0
for what, args, stdout, setup, status, check, needs_full, sig in cases:
    if needs_full and full is None:
        print("%s: skipped, no full device" % what)
        skipped += 1
        continue
    with open(report, "wb") as f:
        f.write(OLD)
    os.chmod(report, 0o640)
    if callable(stdout):
        stdout = stdout()
    f = open(stdout, "w") if isinstance(stdout, str) else stdout
    p = subprocess.Popen([bench] + quick + ["--benchmark_filter=BM_burg"] + args, stdout=f,
                         stderr=subprocess.PIPE, preexec_fn=child(setup))
    if sig:
        time.sleep(1)
        p.send_signal(sig)
    _, err = p.communicate()
    if isinstance(stdout, str):
        f.close()
    elif isinstance(stdout, int) and stdout > 2:
        os.close(stdout)
    message = err.decode().strip().splitlines()
    flag = args[-1].partition("=")[0] if status == 2 and args else ""
    left = [n for n in os.listdir(work) if n.startswith(".memspec-bench")]
    if (p.returncode != status or (status > 0 and not message) or (check and not check()) or
            left or (flag.startswith("--benchmark_") and flag not in err.decode())):
        failures.append("%s: status %d (want %d)%s; left %s; stderr %r" % (
            what, p.returncode, status, "; the files are not as they should be"
            if check and not check() else "", left, err[-200:]))
        for n in left:
            os.remove(os.path.join(work, n))
    else:
        print("%s: status %d%s" % (what, p.returncode, ", " + message[-1] if status > 0 else ""))

for f in failures:
    print("FAILED:", f)
print("%d passed, %d failed, %d skipped" % (len(cases) + 1 - len(failures) - skipped,
                                            len(failures), skipped))
sys.exit(1 if failures else 0)
