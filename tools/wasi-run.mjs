// Runs a WASI (preview 1) program under node, with this process's arguments
// after the module's path, its environment and its standard streams; exits
// with the program's status.
//   node tools/wasi-run.mjs PROGRAM.wasm [ARG...]
import { readFile } from 'node:fs/promises';
import process, { argv, env, exit } from 'node:process';
import { WASI } from 'node:wasi';

// node warns on stderr that WASI is experimental; the program's stderr is
// its own
process.removeAllListeners('warning');
const wasi = new WASI({ version: 'preview1', args: argv.slice(2), env, returnOnExit: true });
const module = await WebAssembly.compile(await readFile(argv[2]));
const instance = await WebAssembly.instantiate(module, wasi.getImportObject
    ? wasi.getImportObject() : { wasi_snapshot_preview1: wasi.wasiImport });
exit(wasi.start(instance));
