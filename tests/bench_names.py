#!/usr/bin/env python3
"""Runs the benchmark once, briefly, with a JSON report on stdout, and checks
that it names each benchmark once, the sine and cosine of each SOURCE the
build has among them (libm always; mpfr, quad), and nothing else. With - for
BENCH the report is read from stdin instead.

usage: bench_names.py BENCH|- SOURCE...
"""
import json
import subprocess
import sys

bench = sys.argv[1]
want = sorted(["BM_analysis", "BM_burg", "BM_mem_1"] + ["BM_sincos/" + s for s in sys.argv[2:] if s])
if bench == "-":
    report = sys.stdin.read()
else:
    report = subprocess.run([bench, "--benchmark_min_time=0.001", "--benchmark_format=json"],
                            stdout=subprocess.PIPE, check=True).stdout
got = sorted(b["name"] for b in json.loads(report)["benchmarks"])
print("benchmarks reported:", " ".join(got))
sys.exit(0 if got == want else "wanted: " + " ".join(want))
