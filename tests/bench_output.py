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

bench, work = sys.argv[1], sys.argv[2]
quick = ["--benchmark_min_time=0.001"]
names = ["BM_analysis", "BM_burg", "BM_mem_1", "BM_sincos_floor"]
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


closed = subprocess.DEVNULL  # replaced by closing descriptor 1 below
# (what, arguments, stdout, set-up in the child)
lost = [
    (">/dev/full", [], "/dev/full", None),
    (">&-", [], closed, lambda: os.close(1)),
    ("no reader, SIGPIPE ignored", [], no_reader, ignore(signal.SIGPIPE)),
    ("file size limit", [], os.path.join(work, "bench_limited.out"), file_limit),
    ("--benchmark_out=/dev/full", ["--benchmark_out=/dev/full"], subprocess.DEVNULL, None),
    ("--benchmark_out=/dev/full in csv", ["--benchmark_out=/dev/full",
                                          "--benchmark_out_format=csv"], subprocess.DEVNULL, None),
    ("--benchmark_out in a missing directory", ["--benchmark_out=" + work + "/missing/x"],
     subprocess.DEVNULL, None),
    ("--benchmark_repetitions=-1", ["--benchmark_repetitions=-1"], subprocess.DEVNULL, None),
]
for what, args, out, setup in lost:
    if callable(out):
        out = out()
    f = open(out, "w") if isinstance(out, str) else out
    r = run(quick + ["--benchmark_filter=BM_burg"] + args, f, setup)
    if isinstance(out, str):
        f.close()
    elif isinstance(out, int) and out > 2:
        os.close(out)
    if r.returncode <= 0 or not r.stderr.strip():
        failures.append("%s: status %d, stderr %r" % (what, r.returncode, r.stderr[-200:]))
    else:
        print("%s: status %d, %s" % (what, r.returncode, r.stderr.decode().strip().splitlines()[-1]))

for f in failures:
    print("FAILED:", f)
print("%d passed, %d failed" % (len(lost) + 1 - len(failures), len(failures)))
sys.exit(1 if failures else 0)
