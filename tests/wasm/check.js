// Runs the WebAssembly build of velkano_wasm_check on every sample file in examples/, with
// the files in the module's memory as a page would hold them, and compares every file it
// writes with what the native build of the same program writes; its IGC files must also be
// the golden ones (less their carriage returns: velkano ends IGC lines with CR LF, the
// drivers with LF). A flight file cut short must fail in both with the driver's message.
// Prints the module's size and the times taken.
//   node check.js WASM_JS NATIVE_PROGRAM SOURCE_DIR
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync, spawnSync } = require('child_process');

const [wasmJs, nativeProgram, sourceDir] = process.argv.slice(2);
const failures = [];
const fail = (text) => failures.push(text);

async function main() {
  let started = performance.now();
  const factory = require(path.resolve(wasmJs));
  const messages = [];
  const wasm = await factory({ print: (t) => messages.push(t), printErr: (t) => messages.push(t) });
  console.log(`module: ${fs.statSync(wasmJs).size} bytes, ready in ${(performance.now() - started).toFixed(0)} ms`);

  const examples = path.join(sourceDir, 'examples');
  const samples = fs.readdirSync(examples).filter((n) => /\.(flt|rtx|top)$/.test(n)).sort();
  wasm.FS.mkdir('/in');
  wasm.FS.mkdir('/out');
  for (const name of samples) wasm.FS.writeFile(`/in/${name}`, fs.readFileSync(path.join(examples, name)));

  const nativeOut = fs.mkdtempSync(path.join(os.tmpdir(), 'velkano-wasm-check-'));
  try {
    for (const name of samples.filter((n) => !n.endsWith('.top'))) {
      const command = name.endsWith('.flt') ? 'flights' : 'tasks';
      started = performance.now();
      const status = wasm.callMain([command, `/in/${name}`, '/out']);
      const wasmMs = performance.now() - started;
      started = performance.now();
      execFileSync(nativeProgram, [command, path.join(examples, name), nativeOut]);
      const nativeMs = performance.now() - started;
      console.log(`${command} ${name}: WebAssembly ${wasmMs.toFixed(1)} ms, native process ${nativeMs.toFixed(1)} ms`);
      if (status !== 0) fail(`${name}: the WebAssembly build exits with ${status}: ${messages.join(' ')}`);
    }

    // A flight file cut short: the driver's error reaches the host as an exception in both.
    const cut = path.join(nativeOut, '..', `${path.basename(nativeOut)}-cut.flt`);
    fs.writeFileSync(cut, fs.readFileSync(path.join(examples, 'club_day.flt')).subarray(0, 3000));
    wasm.FS.writeFile('/in/cut.flt', fs.readFileSync(cut));
    messages.length = 0;
    const cutStatus = wasm.callMain(['flights', '/in/cut.flt', '/out']);
    const native = spawnSync(nativeProgram, ['flights', cut, nativeOut], { encoding: 'utf8' });
    fs.rmSync(cut);
    if (cutStatus !== 1 || messages.join('\n') !== '/in/cut.flt: bad object') {
      fail(`cut flight file: WebAssembly exits with ${cutStatus}: ${messages.join(' ')}`);
    }
    if (native.status !== 1 || native.stderr !== `${cut}: bad object\n`) {
      fail(`cut flight file: native exits with ${native.status}: ${native.stderr}`);
    }

    const written = wasm.FS.readdir('/out').filter((n) => n !== '.' && n !== '..').sort();
    const expected = fs.readdirSync(nativeOut).sort();
    if (written.join() !== expected.join()) fail(`files: WebAssembly [${written}], native [${expected}]`);
    for (const name of expected.filter((n) => written.includes(n))) {
      const bytes = Buffer.from(wasm.FS.readFile(`/out/${name}`));
      if (!bytes.equals(fs.readFileSync(path.join(nativeOut, name)))) fail(`${name} differs from the native build's`);
    }

    const golden = path.join(sourceDir, 'tests', 'cli', 'expected');
    const igc = written.filter((n) => n.endsWith('.igc')).map((n) => Buffer.from(wasm.FS.readFile(`/out/${n}`)));
    const goldenIgc = fs.readdirSync(golden).filter((n) => n.endsWith('.igc'));
    if (goldenIgc.length === 0 || igc.length !== goldenIgc.length) fail(`${igc.length} IGC files, ${goldenIgc.length} golden ones`);
    for (const name of goldenIgc) {
      const lf = Buffer.from(fs.readFileSync(path.join(golden, name), 'latin1').replace(/\r\n/g, '\n'), 'latin1');
      if (!igc.some((bytes) => bytes.equals(lf))) fail(`no IGC file of the WebAssembly build is ${name}`);
    }
    console.log(`${written.length} files compared`);
  } finally {
    fs.rmSync(nativeOut, { recursive: true, force: true });
  }
}

main().then(() => {
  for (const text of failures) console.log(`FAIL: ${text}`);
  process.exit(failures.length === 0 ? 0 : 1);
}, (error) => {
  console.log(`FAIL: ${error.stack || error}`);
  process.exit(1);
});
