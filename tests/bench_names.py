#!/usr/bin/env python3
"""Runs the benchmark once, briefly, with a JSON report on stdout, and checks
that it names each benchmark, MPFR's sine and cosine among them where the
build has MPFR (mpfr).

usage: bench_names.py BENCH libm|mpfr
"""
import json
import subprocess
import sys

bench, sources = sys.argv[1], sys.argv[2]
want = ["BM_analysis", "BM_burg", "BM_mem_1", "BM_sincos/floor", "BM_sincos/libm"]
if sources == "mpfr":
    want.append("BM_sincos/mpfr")
run = subprocess.run([bench, "--benchmark_min_time=0.001", "--benchmark_format=json"],
                     stdout=subprocess.PIPE, check=True)
got = sorted(b["name"] for b in json.loads(run.stdout)["benchmarks"])
print("benchmarks reported:", " ".join(got))
sys.exit(0 if got == want else "wanted: " + " ".join(want))
