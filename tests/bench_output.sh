#!/usr/bin/env bash
# The benchmark appends to a redirected file rather than replacing it, and
# its JSON report is whole and names every benchmark.
# usage: bench_output.sh BENCH WORK_DIR
set -euo pipefail
bench=$1 log=$2/bench_output.log
echo "earlier line" >"$log"
"$bench" --benchmark_format=json --benchmark_min_time=0.001 >>"$log"
python3 - "$log" <<'PY'
import json, sys
lines = open(sys.argv[1]).read().split("\n", 1)
assert lines[0] == "earlier line", "the earlier line was lost: %r" % lines[0]
names = sorted(b["name"] for b in json.loads(lines[1])["benchmarks"])
want = sorted(["BM_burg", "BM_mem_1", "BM_analysis", "BM_sincos_floor"])
assert names == want, names
print("kept the earlier line; JSON names", ", ".join(names))
PY
