#!/usr/bin/env python3
"""The benchmark's report: a plain run appends to a redirected file and its
JSON names every benchmark; every way of losing the report fails the run with
a message on stderr.

usage: bench_output.py BENCH WORK_DIR
"""
import json
import os
import resource
import signal
import subprocess
import sys

from private_dev import full_device

bench, work = sys.argv[1], sys.argv[2]
quick = ["--benchmark_min_time=0.001"]
names = ["BM_analysis", "BM_burg", "BM_mem_1", "BM_sincos/floor", "BM_sincos/libm",
         "BM_sincos/llvm", "BM_sincos/mpfr"]
failures = []


def run(args, stdout, setup=None):
    def child():
        signal.signal(signal.SIGPIPE, signal.SIG_DFL)
        if setup:
            setup()

    return subprocess.run([bench] + args, stdout=stdout, stderr=subprocess.PIPE,
                          preexec_fn=child)


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


def file_limit():
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (1, 1))


def closing(fd):
    return lambda: os.close(fd)


def valid_json(path):
    try:
        with open(path) as f:
            return sorted(b["name"] for b in json.load(f)["benchmarks"]) == ["BM_burg"]
    except (OSError, ValueError, KeyError):
        return False


full = full_device(work)
report = os.path.join(work, "bench_report.json")
null = subprocess.DEVNULL
# (what, arguments, stdout, set-up in the child, status, check afterwards);
# status 1 and 2 must come with a message
cases = [
    (">full", [], full, None, 1, None),
    (">&-", [], null, closing(1), 1, None),
    (">&- with --benchmark_out", ["--benchmark_out=" + report], null, closing(1), 1,
     lambda: not os.path.exists(report)),
    ("2>&- with --benchmark_out", ["--benchmark_out=" + report], null, closing(2), 0,
     lambda: valid_json(report)),
    ("<&- with --benchmark_out", ["--benchmark_out=" + report], null, closing(0), 0,
     lambda: valid_json(report)),
    ("no reader, SIGPIPE ignored", [], no_reader, ignore(signal.SIGPIPE), 1, None),
    ("file size limit", [], os.path.join(work, "bench_limited.out"), file_limit, 1, None),
    ("--benchmark_out=full", ["--benchmark_out=" + full], null, None, 1, None),
    ("--benchmark_out=full in csv", ["--benchmark_out=" + full, "--benchmark_out_format=csv"],
     null, None, 1, None),
    ("--benchmark_out in a missing directory", ["--benchmark_out=" + work + "/missing/x"],
     null, None, 1, None),
    ("--benchmark_repetitions=-1", ["--benchmark_repetitions=-1"], null, None, 2, None),
    ("--benchmark_repetitions=0", ["--benchmark_repetitions=0"], null, None, 2, None),
    ("--benchmark_format=bogus", ["--benchmark_format=bogus"], null, None, 2, None),
    ("--benchmark_out_format=bogus", ["--benchmark_out=" + report, "--benchmark_out_format=bogus"],
     null, None, 2, None),
    ("--help", ["--help"], os.path.join(work, "bench_help.out"), None, 0,
     lambda: b"--benchmark_filter" in open(os.path.join(work, "bench_help.out"), "rb").read()),
    ("--help >full", ["--help"], full, None, 1, None),
]
for what, args, out, setup, status, check in cases:
    if os.path.exists(report):
        os.remove(report)
    if callable(out):
        out = out()
    f = open(out, "w") if isinstance(out, str) else out
    r = run(quick + ["--benchmark_filter=BM_burg"] + args, f, setup)
    if isinstance(out, str):
        f.close()
    elif isinstance(out, int) and out > 2:
        os.close(out)
    message = r.stderr.decode().strip().splitlines()
    if r.returncode != status or (status != 0 and not message) or (check and not check()):
        failures.append("%s: status %d, not %d; stderr %r" % (what, r.returncode, status,
                                                              r.stderr[-200:]))
    else:
        print("%s: status %d%s" % (what, r.returncode, ", " + message[-1] if status else ""))

for f in failures:
    print("FAILED:", f)
print("%d passed, %d failed" % (len(cases) + 1 - len(failures), len(failures)))
sys.exit(1 if failures else 0)
