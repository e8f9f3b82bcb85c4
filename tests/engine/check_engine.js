// The page's worker (tools/web/worker.js) over the WebAssembly engine, driven as the page drives
// it, against the same conversions built natively (velkano_engine_native; test_browser holds
// those to velkano's own files and words): for the samples, flight files cut short, a lone task
// file, the CUP corpus and files of no kind, under two sets of options, every result and every
// download's bytes must be the native build's. The protocol too: ready first, per group a result
// then a progress, in order, finished last, and an empty file system after each request.
// Prints the module's size and the times taken.
//   node check_engine.js ENGINE_JS WORKER_JS NATIVE_PROGRAM SOURCE_DIR
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');

const [engineJs, workerJs, nativeProgram, sourceDir] = process.argv.slice(2).map((a) => path.resolve(a));
const { startWorker, inputNames } = require(path.resolve(workerJs));
const failures = [];
const fail = (text) => failures.push(text);

const kOptionSets = [
  { text: 'utf-8', lineEnding: 'crlf', cupColumns: 14, strict: false, skipBadRows: false },
  { text: 'ascii', lineEnding: 'lf', cupColumns: 11, strict: true, skipBadRows: true },
];

function file(name, bytes) {
  return { name, bytes: bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.length) };
}

function groups() {
  const examples = path.join(sourceDir, 'examples');
  const sample = (name) => fs.readFileSync(path.join(examples, name));
  const list = [
    { key: 'club_day', files: [file('club_day.flt', sample('club_day.flt'))] },
    { key: 'midnight', files: [file('some/folder/midnight_task.flt', sample('midnight_task.flt'))] },
    { key: 'tasks', files: [file('CLUB.RTX', sample('club_tasks.rtx')), file('club.top', sample('club_tasks.top'))] },
    { key: 'json', files: [file('club_tasks.json', sample('club_tasks.json'))] },
    { key: 'lone task file', files: [file('club_tasks.rtx', sample('club_tasks.rtx'))] },
    { key: 'lone turnpoints', files: [file('club_tasks.top', sample('club_tasks.top'))] },
    { key: 'no kind', files: [file('<img src=x onerror=alert(1)>.txt', Buffer.from('<script>alert(1)</script>'))] },
    { key: 'flight by its bytes', files: [file('FLIGHT.DAT', sample('club_day.flt'))] },
  ];
  for (const length of [0, 40, 3000, 60000]) {
    list.push({ key: `cut at ${length}`, files: [file('cut.flt', sample('club_day.flt').subarray(0, length))] });
  }
  const corpus = path.join(sourceDir, 'tests', 'formats', 'cup');
  const all = [];
  for (const folder of ['', 'refused']) {
    const directory = path.join(corpus, folder);
    if (!fs.existsSync(directory)) continue;
    for (const name of fs.readdirSync(directory).filter((n) => n.endsWith('.cup')).sort()) {
      const cup = file(name, fs.readFileSync(path.join(directory, name)));
      list.push({ key: `${folder}/${name}`, files: [cup] });
      if (folder === '') all.push(cup);
    }
  }
  if (all.length < 3) fail(`only ${all.length} CUP files in ${corpus}`);
  list.push({ key: 'all CUP files', files: all });
  // Two files of one name from two folders.
  list.push({ key: 'same names', files: [all[0], { name: `other/${all[1].name}`, bytes: all[0].bytes }] });
  return list;
}

// The worker as the page runs it: every message it posts, and the module it made.
async function runWorker(requests) {
  let velkano = null;
  const posted = [];
  let answered = null;
  const scope = {
    postMessage(message, transfer) {
      posted.push({ message, transfer });
      if (message.type === 'finished' && message.id === requests.length) answered();
    },
  };
  const factory = require(path.resolve(engineJs));
  let started = performance.now();
  await startWorker(scope, () => factory().then((module) => (velkano = module)));
  console.log(`module: ${fs.statSync(engineJs).size} bytes, ready in ${(performance.now() - started).toFixed(0)} ms`);
  const done = new Promise((resolve) => (answered = resolve));
  started = performance.now();
  // Copies, for the worker takes the bytes over.
  requests.forEach((request, index) => scope.onmessage({ data: { type: 'convert', id: index + 1, ...structuredClone(request) } }));
  await done;
  console.log(`${requests.length} requests of ${requests[0].groups.length} groups: ${(performance.now() - started).toFixed(0)} ms`);
  return { posted, velkano };
}

function checkProtocol(posted, requests) {
  const expected = [{ type: 'ready' }];
  requests.forEach((request, index) => {
    request.groups.forEach((group, g) => {
      expected.push({ type: 'result', id: index + 1, key: group.key });
      expected.push({ type: 'progress', id: index + 1, done: g + 1, total: request.groups.length, key: group.key });
    });
    expected.push({ type: 'finished', id: index + 1 });
  });
  const seen = posted.map(({ message }) => {
    const { result, ...rest } = message;
    return JSON.stringify(rest);
  });
  const wanted = expected.map((m) => JSON.stringify(m));
  if (seen.join('\n') !== wanted.join('\n')) fail(`messages:\n${seen.join('\n')}\nwanted:\n${wanted.join('\n')}`);
  for (const { message, transfer } of posted.filter((p) => p.message.type === 'result')) {
    const buffers = message.result.downloads.map((d) => d.bytes);
    if (transfer.length !== buffers.length || transfer.some((t, i) => t !== buffers[i])) {
      fail(`${message.key}: the downloads' bytes are not handed over`);
    }
  }
}

// The same group through the native build: its result, with each download's bytes.
function native(group, options) {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'velkano-engine-check-'));
  try {
    const input = path.join(work, 'in');
    const output = path.join(work, 'out');
    fs.mkdirSync(output);
    const files = inputNames(group.files);
    files.forEach((name, i) => {
      fs.mkdirSync(path.dirname(path.join(input, name)), { recursive: true });
      fs.writeFileSync(path.join(input, name), Buffer.from(group.files[i].bytes));
    });
    const request = JSON.stringify({ files, output, options });
    const result = JSON.parse(execFileSync(nativeProgram, [request], { cwd: input, encoding: 'utf8' }));
    result.downloads = result.downloads.map((d) => ({ ...d, bytes: fs.readFileSync(d.path) }));
    return result;
  } finally {
    fs.rmSync(work, { recursive: true, force: true });
  }
}

function compare(key, page, expected) {
  const { downloads: pageDownloads, ...pageRest } = page;
  const { downloads: nativeDownloads, ...nativeRest } = expected;
  if (JSON.stringify(pageRest) !== JSON.stringify(nativeRest)) {
    fail(`${key}: WebAssembly ${JSON.stringify(pageRest).slice(0, 600)}\n  native ${JSON.stringify(nativeRest).slice(0, 600)}`);
  }
  const names = (list) => list.map((d) => `${d.name} ${d.mime}`).join(', ');
  if (names(pageDownloads) !== names(nativeDownloads)) {
    fail(`${key}: downloads [${names(pageDownloads)}], native [${names(nativeDownloads)}]`);
    return 0;
  }
  pageDownloads.forEach((d, i) => {
    if (!Buffer.from(d.bytes).equals(nativeDownloads[i].bytes)) fail(`${key}: ${d.name} differs from the native build's`);
  });
  return pageDownloads.length;
}

async function main() {
  const requests = kOptionSets.map((options) => ({ groups: groups(), options }));
  const { posted, velkano } = await runWorker(requests);
  checkProtocol(posted, requests);
  const left = ['/in', '/out'].flatMap((d) => velkano.FS.readdir(d).filter((n) => n !== '.' && n !== '..'));
  if (left.length > 0 || velkano.FS.cwd() !== '/') fail(`left in the file system: ${left} (in ${velkano.FS.cwd()})`);

  const results = posted.filter((p) => p.message.type === 'result').map((p) => p.message);
  let compared = 0;
  const started = performance.now();
  requests.forEach((request, r) => {
    request.groups.forEach((group, g) => {
      const page = results[r * request.groups.length + g];
      if (!page) return;
      compared += compare(`${group.key} (options ${r + 1})`, page.result, native(group, request.options));
    });
  });
  console.log(`${results.length} results and ${compared} downloads compared with the native build's (${(performance.now() - started).toFixed(0)} ms native)`);
  if (compared === 0) fail('no downloads compared');
}

main()
  .catch((error) => fail(error.stack || error))
  .then(() => {
    for (const text of failures) console.log(`FAIL: ${text}`);
    process.exit(failures.length === 0 ? 0 : 1);
  });
