// Runs a WASI (preview 1) program under node, with this process's arguments
// after the module's path, its environment and its standard streams. Exits
// with the program's status, or with 125 and a message where the runner
// itself fails: no such file, no WebAssembly module, a trap.
//   node tools/wasi-run.mjs PROGRAM.wasm [ARG...]
import { readFileSync } from 'node:fs';
import process, { argv, env, exit } from 'node:process';
import { WASI } from 'node:wasi';

// node warns on stderr that WASI is experimental; the program's stderr is its own
process.removeAllListeners('warning');
try {
    const wasi = new WASI({ version: 'preview1', args: argv.slice(2), env, returnOnExit: true });
    const imports = { wasi_snapshot_preview1: wasi.wasiImport };
    // node leaves a pipe or a socket on stdout non-blocking, and a write that
    // finds it full fails with EAGAIN (6): it waits a millisecond and is made
    // again, however slow the reader
    const write = wasi.wasiImport.fd_write;
    const nap = new Int32Array(new SharedArrayBuffer(4));
    imports.wasi_snapshot_preview1.fd_write = (...args) => {
        let e;
        while ((e = write(...args)) === 6)
            Atomics.wait(nap, 0, 0, 1);
        return e;
    };
    const module = new WebAssembly.Module(readFileSync(argv[2]));
    exit(wasi.start(new WebAssembly.Instance(module, imports)));
} catch (e) {
    console.error(`wasi-run: ${argv[2]}: ${e.message}`);
    exit(125);
}
