// The page's engine under node against velkano igc: the module's size, and the time to convert
// one flight file through tools/web/worker.js (the IGC file, the list table and the view data
// of every flight, as the page gets them) beside the time `velkano igc FILE -o DIR` takes as a
// process. The median of RUNS runs each (default 9), after one run to warm up.
//   node bench/engine.js ENGINE_JS WORKER_JS VELKANO FLIGHT.flt [RUNS]
// bench/make_bench_flight writes the flight file (32767 fixes, the most a flight holds).
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');

const [engineJs, workerJs, velkano, flight] = process.argv.slice(2, 6).map((a) => path.resolve(a));
const runs = Number(process.argv[6] || 9);

const median = (times) => [...times].sort((a, b) => a - b)[Math.floor(times.length / 2)];

async function engineTimes() {
  const { startWorker } = require(workerJs);
  let finished = null;
  const scope = { postMessage: (message) => message.type === 'finished' && finished() };
  const started = performance.now();
  await startWorker(scope, require(engineJs));
  const ready = performance.now() - started;
  const bytes = fs.readFileSync(flight);
  const times = [];
  for (let run = 0; run <= runs; ++run) {
    const group = { key: 'bench', files: [{ name: path.basename(flight), bytes: bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.length) }] };
    const done = new Promise((resolve) => (finished = resolve));
    const begin = performance.now();
    scope.onmessage({ data: { type: 'convert', id: run, groups: [group], options: {} } });
    await done;
    if (run > 0) times.push(performance.now() - begin);
  }
  return { ready, times };
}

function nativeTimes() {
  const times = [];
  for (let run = 0; run <= runs; ++run) {
    const out = fs.mkdtempSync(path.join(os.tmpdir(), 'velkano-bench-'));
    const begin = performance.now();
    execFileSync(velkano, ['igc', flight, '-q', '-o', out]);
    if (run > 0) times.push(performance.now() - begin);
    fs.rmSync(out, { recursive: true, force: true });
  }
  return times;
}

async function main() {
  const text = fs.readFileSync(engineJs, 'latin1');
  const base64 = /data:application\/octet-stream;base64,([A-Za-z0-9+/=]+)/.exec(text);
  console.log(`velkano_engine.js: ${text.length} bytes, of which ${base64 ? base64[1].length : '?'} base64 (${base64 ? Buffer.from(base64[1], 'base64').length : '?'} bytes of WebAssembly)`);
  const { ready, times } = await engineTimes();
  const native = nativeTimes();
  console.log(`module ready in ${ready.toFixed(0)} ms`);
  console.log(`${path.basename(flight)} (${fs.statSync(flight).size} bytes), median of ${runs}:`);
  console.log(`  worker and engine (IGC, table, view): ${median(times).toFixed(1)} ms`);
  console.log(`  velkano igc, a process:               ${median(native).toFixed(1)} ms`);
  console.log(`  ratio: ${(median(times) / median(native)).toFixed(2)}`);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
