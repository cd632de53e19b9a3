#!/usr/bin/env python3
"""The WebAssembly runner delivers the whole output to a reader that waits
a second and then takes 100 bytes at a time, through a pipe and a socket
whose buffers hold a page, as it does to a file; and it ends with status 125 and a
message of its own where it fails itself: no file, no module, a trap.

usage: wasi_runner.py RUNNER MODULE
"""
import fcntl
import os
import socket
import subprocess
import sys
import tempfile
import time

runner, module = sys.argv[1], sys.argv[2]
failures = []


def run(program, stdout):
    return subprocess.run(["node", runner, program], stdout=stdout, stderr=subprocess.PIPE)


with tempfile.TemporaryFile() as f:
    run(module, f)
    f.seek(0)
    whole = f.read()

pipe_r, pipe_w = os.pipe()
fcntl.fcntl(pipe_r, fcntl.F_SETPIPE_SZ, 4096)
sock_r, sock_w = socket.socketpair()
for end in sock_r, sock_w:
    end.setsockopt(socket.SOL_SOCKET, socket.SO_SNDBUF, 4096)
    end.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
for name, r, w in [("pipe", pipe_r, pipe_w), ("socket", sock_r.fileno(), sock_w.fileno())]:
    p = subprocess.Popen(["node", runner, module], stdout=w)
    os.close(w)
    time.sleep(1)
    got = b""
    while chunk := os.read(r, 100):
        got += chunk
        time.sleep(0.001)
    status = p.wait()
    print("%s: %d bytes, status %d" % (name, len(got), status))
    if status != 0 or got != whole:
        failures.append("a slow reader on a %s got %d of %d bytes, status %d"
                        % (name, len(got), len(whole), status))

# (module (memory (export "memory") 1) (func (export "_start") unreachable))
trap = bytes.fromhex("0061736d01000000 010401600000 03020100 0503010001"
                     "071302065f7374617274000006 6d656d6f72790200 0a0501030000 0b")
with tempfile.TemporaryDirectory() as d:
    cases = {"no file": os.path.join(d, "none.wasm"), "no module": runner,
             "a trap": os.path.join(d, "trap.wasm")}
    with open(cases["a trap"], "wb") as f:
        f.write(trap)
    for name, program in cases.items():
        r = run(program, subprocess.DEVNULL)
        if r.returncode != 125 or not r.stderr.startswith(b"wasi-run: " + program.encode()):
            failures.append("%s: status %d, %r" % (name, r.returncode, r.stderr))
print("\n".join(failures) or "whole output to slow readers; 125 on the runner's own failures")
sys.exit(1 if failures else 0)
