// Drives the converter page (velkano.html) in headless Chromium with the network unavailable.
// For every case below it picks the files, waits for the page to convert them, and checks
// each group the page shows against velkano run on the same files with the same options:
// every file offered for download (zips unpacked) byte for byte, the messages, report and
// flight table word for word, and the flights and turnpoints on the map. Then: how the page
// groups files, a drop of files, names that are markup, and that the page asks the network
// for map tiles only.
//   node check_page.js PAGE VELKANO ROOT INTEROP_DIR MARKUP_JSON [SCREENSHOT.png]
// (SCREENSHOT: the page with the samples on it)
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawnSync } = require('child_process');
const { createRequire } = require('module');
const { chromium } = createRequire(path.join(__dirname, '../../tools/web/package.json'))('playwright-core');

const [pagePath, velkano, root, interopDir, markupJson, screenshot] = process.argv.slice(2).map((a) => path.resolve(a));
const CHROMIUM_FLAGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const DEFAULTS = { text: 'utf-8', lineEnding: 'crlf', cupColumns: 14, strict: false, skipBadRows: false };
// Every sample file cut at this many lengths (and at each of its last bytes up to CUT_TAIL).
const CUT_LENGTHS = 12;
const CUT_TAIL = 3;

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'velkano-page-'));
let scratchCount = 0;
const scratch = () => {
  const dir = path.join(work, String(++scratchCount));
  fs.mkdirSync(dir);
  return dir;
};
const extension = (name) => path.extname(name).toLowerCase();
const stem = (name) => path.basename(name, path.extname(name));
const files = (dir) => fs.readdirSync(dir).sort();
const inDir = (dir, names) => names.map((n) => path.join(dir, n));

function run(args, cwd) {
  const r = spawnSync(velkano, args, { cwd, encoding: 'utf8' });
  if (r.error) throw r.error;
  return { status: r.status, stdout: r.stdout, lines: r.stderr.split('\n').filter(Boolean) };
}

function unzip(zipPath) {
  const dir = scratch();
  const r = spawnSync('cmake', ['-E', 'tar', 'xf', zipPath], { cwd: dir, encoding: 'utf8' });
  if (r.status !== 0) throw new Error(`cannot unpack ${zipPath}: ${r.stderr}`);
  return dir;
}

// What velkano writes and says of one group of the page, given its files (copied into a
// folder of their own and named as there) and the options. The page names every note of a
// CUP import or export, as --notes all does, and the report after them.
function velkanoOf(groupFiles, options) {
  const dir = scratch();
  for (const f of groupFiles) fs.copyFileSync(f, path.join(dir, path.basename(f)));
  const names = groupFiles.map((f) => path.basename(f));
  const out = path.join(dir, 'out');
  fs.mkdirSync(out);
  const first = names[0];
  const expected = { lines: [], failed: [], table: '', out, turnpoints: 0, flights: 0 };
  const said = (r) => {
    expected.lines.push(...r.lines);
    if (r.status !== 0) expected.failed.push(r.lines[r.lines.length - 1]);
    return r.status === 0;
  };
  const turnpointsOf = (task) => {
    const r = run(['dump', task], dir);
    return r.status === 0 ? JSON.parse(r.stdout).turnpoints.length : 0;
  };
  switch (extension(first)) {
    case '.flt':
      expected.kind = 'flights';
      said(run(['igc', '-q', '--text', options.text, '--line-ending', options.lineEnding, first, '-o', out], dir));
      expected.table = run(['list', first], dir).stdout;
      expected.flights = files(out).length;
      break;
    case '.rtx':
      expected.kind = 'task';
      if (said(run(['dump', first, '-o', path.join(out, stem(first) + '.json')], dir))) {
        said(run(['cup', first, '--columns', String(options.cupColumns), '--notes', 'all',
                  '-o', path.join(out, stem(first) + '.cup')], dir));
        expected.turnpoints = turnpointsOf(first);
      }
      break;
    case '.cup':
    case '.json': {
      expected.kind = 'build';
      const cupOptions = extension(first) === '.cup'
        ? ['--notes', 'all', ...(options.strict ? ['--strict'] : []), ...(options.skipBadRows ? ['--skip-bad-rows'] : [])]
        : [];
      const task = path.join(out, stem(first) + '.rtx');
      if (said(run(['build', ...names, ...cupOptions, '-o', task], dir))) expected.turnpoints = turnpointsOf(task);
      expected.zip = stem(first) + '.zip';
      break;
    }
    default:
      // No command reads it: the page says so, naming it.
      expected.kind = 'other';
      expected.lines = null;
  }
  return expected;
}

const withoutPrefix = (line) => line.replace(/^velkano: /, '');
const sortedLines = (lines) => lines.map(withoutPrefix).sort();

function sameFiles(what, gotDir, wantDir, problems) {
  const got = files(gotDir), want = files(wantDir);
  if (JSON.stringify(got) !== JSON.stringify(want)) {
    problems.push(`${what}: files ${JSON.stringify(got)}, velkano writes ${JSON.stringify(want)}`);
    return;
  }
  for (const name of got) {
    if (!fs.readFileSync(path.join(gotDir, name)).equals(fs.readFileSync(path.join(wantDir, name)))) {
      problems.push(`${what}: ${name} differs from velkano's`);
    }
  }
}

// Chromium refuses downloads that come faster than about ten a second.
const DOWNLOAD_GAP_MS = 150;
let lastDownload = 0;

async function download(page, locator) {
  await page.waitForTimeout(Math.max(0, lastDownload + DOWNLOAD_GAP_MS - Date.now()));
  lastDownload = Date.now();
  const [event] = await Promise.all([page.waitForEvent('download'), locator.click()]);
  const saved = path.join(scratch(), event.suggestedFilename());
  await event.saveAs(saved);
  return saved;
}

async function setOptions(page, options) {
  await page.selectOption('select[name=text]', options.text);
  await page.selectOption('select[name=lineEnding]', options.lineEnding);
  await page.selectOption('select[name=cupColumns]', String(options.cupColumns));
  await page.setChecked('input[name=strict]', options.strict);
  await page.setChecked('input[name=skipBadRows]', options.skipBadRows);
}

async function clear(page) {
  if (await page.isEnabled('#clear')) await page.click('#clear');
}

async function converted(page) {
  await page.waitForFunction(() => document.documentElement.dataset.converted, null, { timeout: 120000 });
}

// One case: its files picked with the options set, every group checked.
async function checkCase(page, testCase) {
  const options = { ...DEFAULTS, ...testCase.options };
  const problems = [];
  const expect = (what, got, want) => {
    if (JSON.stringify(got) !== JSON.stringify(want)) {
      problems.push(`${what}: ${JSON.stringify(got)}, expected ${JSON.stringify(want)}`);
    }
  };
  await clear(page);
  await setOptions(page, options);
  if (testCase.folder) await page.setInputFiles('#pick-folder', testCase.folder);
  else await page.setInputFiles('#pick-files', testCase.files);
  await converted(page);

  // The file a group names: by its path in the folder picked, or its name.
  const byName = new Map(testCase.files.map((f) => [path.basename(f), f]));
  const locate = (shown) => (testCase.folder ? path.join(path.dirname(testCase.folder), shown) : byName.get(shown));
  const cards = page.locator('.vk-group');
  let flights = 0, turnpoints = 0;
  const flightFiles = [];
  for (let i = 0; i < await cards.count(); ++i) {
    const card = cards.nth(i);
    const names = (await card.locator('h2').textContent()).split(' + ');
    const what = `${testCase.name}: ${names.join(' + ')}`;
    const want = velkanoOf(names.map(locate), options);
    flights += want.flights;
    turnpoints += want.turnpoints;
    if (want.kind === 'flights') flightFiles.push(locate(names[0]));

    const errors = await card.locator('.vk-msg-error').allTextContents();
    const notes = await card.locator('.vk-msg-note').allTextContents();
    const report = await card.locator('.vk-report').allTextContents();
    const shown = [...errors, ...notes, ...report.join('').split('\n').filter(Boolean)];
    if (want.lines) {
      expect(`${what}: messages`, sortedLines(shown), sortedLines(want.lines));
      expect(`${what}: errors`, errors.length > 0, want.failed.length > 0);
    } else if (errors.length === 0 || !errors.every((e) => e.startsWith(path.basename(names[0]) + ': '))) {
      problems.push(`${what}: errors ${JSON.stringify(errors)} do not say it is no file velkano reads`);
    }
    for (const failure of want.failed) {
      if (!errors.includes(withoutPrefix(failure))) problems.push(`${what}: no error "${failure}"`);
    }
    if (want.kind === 'flights') {
      expect(`${what}: flight table`, (await card.locator('.vk-table').allTextContents()).join(''), want.table);
    }

    const links = card.locator('a.vk-download');
    const got = scratch();
    for (let j = 0; j < await links.count(); ++j) {
      const saved = await download(page, links.nth(j));
      fs.renameSync(saved, path.join(got, path.basename(saved)));
    }
    if (want.zip && files(want.out).length) {
      expect(`${what}: downloads`, files(got), [want.zip]);
      if (files(got).length === 1) sameFiles(what, unzip(path.join(got, files(got)[0])), want.out, problems);
    } else {
      sameFiles(what, got, want.out, problems);
    }
  }
  expect(`${testCase.name}: groups`, await cards.count(), testCase.groups);
  expect(`${testCase.name}: flights on the map`, await page.locator('.vk-flight').count(), flights);
  expect(`${testCase.name}: turnpoints on the map`, await page.locator('.vk-tp').count(), turnpoints);

  // All flights of all files in one zip: what `velkano igc` writes of them into one folder.
  if (flightFiles.length) {
    const dir = scratch();
    const args = ['igc', '-q', '--text', options.text, '--line-ending', options.lineEnding];
    run([...args, ...flightFiles, '-o', dir], work);
    const zip = await download(page, page.locator('#all-flights'));
    sameFiles(`${testCase.name}: all flights`, unzip(zip), dir, problems);
  }
  if (testCase.screenshot && screenshot) {
    await page.mouse.move(0, 0);
    await page.screenshot({ path: screenshot });
  }
  console.log(`${testCase.name}: ${await cards.count()} groups, ${flights} flights, ${turnpoints} turnpoints`);
  return problems;
}

// Each sample cut short at lengths spread over it and at its last bytes; a task file cut or
// with its turnpoint file cut. Written under new names, so that each is a group of its own.
function cutFiles() {
  const dir = scratch();
  const made = [];
  const cut = (source, name, length, companion) => {
    const bytes = fs.readFileSync(source);
    const to = path.join(dir, name + extension(source));
    fs.writeFileSync(to, bytes.subarray(0, length));
    made.push(to);
    if (companion) {
      const other = path.join(dir, name + extension(companion));
      fs.copyFileSync(companion, other);
      made.push(other);
    }
  };
  const lengths = (size) => {
    const set = new Set();
    for (let i = 0; i < CUT_LENGTHS; ++i) set.add(Math.floor(size * i / CUT_LENGTHS));
    for (let i = 1; i <= CUT_TAIL; ++i) set.add(size - i);
    return [...set].sort((a, b) => a - b);
  };
  const examples = path.join(root, 'examples');
  for (const flight of ['club_day.flt', 'midnight_task.flt']) {
    const source = path.join(examples, flight);
    for (const n of lengths(fs.statSync(source).size)) cut(source, `${stem(flight)}-${n}`, n);
  }
  const task = path.join(examples, 'club_tasks.rtx'), top = path.join(examples, 'club_tasks.top');
  for (const n of lengths(fs.statSync(task).size)) cut(task, `task-${n}`, n, top);
  for (const n of lengths(fs.statSync(top).size)) cut(top, `turnpoints-${n}`, n, task);
  return made;
}

// The samples in a folder, as a user keeps them: one again in a subfolder, a task file with
// its turnpoint file in other cases, a turnpoint file alone, a text file.
function sampleFolder() {
  const examples = path.join(root, 'examples');
  const folder = path.join(scratch(), 'flights and tasks');
  const more = path.join(folder, 'more');
  fs.mkdirSync(more, { recursive: true });
  for (const name of files(examples).filter((n) => /\.(flt|rtx|top|json)$/.test(n))) {
    fs.copyFileSync(path.join(examples, name), path.join(folder, name));
  }
  const copies = [['club_day.flt', 'club_day.flt'], ['club_tasks.rtx', 'Club_Tasks.RTX'],
                  ['club_tasks.top', 'club_tasks.TOP'], ['club_tasks.top', 'lonely.top']];
  for (const [from, to] of copies) fs.copyFileSync(path.join(examples, from), path.join(more, to));
  fs.writeFileSync(path.join(more, 'readme.txt'), 'not a file velkano reads\n');
  return folder;
}

function cases() {
  const examples = path.join(root, 'examples');
  const samples = inDir(examples, files(examples).filter((n) => /\.(flt|rtx|top|json)$/.test(n)));
  const interop = inDir(interopDir, files(interopDir));
  const cupDir = path.join(root, 'tests/formats/cup');
  const cups = inDir(cupDir, files(cupDir).filter((n) => n.endsWith('.cup')));
  const cut = cutFiles();
  const list = [
    { name: 'samples', files: samples, groups: 4, screenshot: true },
    { name: 'a folder', folder: sampleFolder(), files: [], groups: 8 },
    { name: 'samples, LF and classic CUP', files: samples, groups: 4, options: { lineEnding: 'lf', cupColumns: 11 } },
    { name: 'interop flights', files: interop, groups: interop.length },
    { name: 'interop flights in ASCII', files: interop, groups: interop.length, options: { text: 'ascii' } },
    { name: 'interop flights raw with LF', files: interop, groups: interop.length, options: { text: 'raw', lineEnding: 'lf' } },
    { name: 'cut files', files: cut, groups: cut.filter((f) => !f.endsWith('.top')).length },
    { name: 'CUP round trip', files: [path.join(cupDir, 'round-trip.json')], groups: 1 },
    { name: 'all CUP files skipping bad rows', files: cups, groups: 1, options: { skipBadRows: true } },
    { name: 'markup names', files: [markupJson], groups: 1 },
  ];
  for (const cup of cups) {
    for (const options of [{}, { skipBadRows: true }, { strict: true }]) {
      list.push({ name: `${path.basename(cup)} ${JSON.stringify(options)}`, files: [cup], groups: 1, options });
    }
  }
  return list;
}

// How files are put into groups, by their paths as picked.
const GROUPING = [
  { paths: ['a.flt', 'b.FLT'], groups: [['a.flt'], ['b.FLT']] },
  { paths: ['t.rtx', 't.top'], groups: [['t.rtx', 't.top']] },
  { paths: ['T.RTX', 't.top'], groups: [['T.RTX', 't.top']] },
  { paths: ['t.rtx'], groups: [['t.rtx']] },
  { paths: ['t.top'], groups: [['t.top']] },
  { paths: ['d/t.rtx', 'e/t.top'], groups: [['d/t.rtx'], ['e/t.top']] },
  { paths: ['x/a.cup', 'b.cup', 'c.json', 'z.flt'], groups: [['b.cup', 'x/a.cup'], ['c.json'], ['z.flt']] },
  { paths: ['readme.txt', 'a.json', 'b.json'], groups: [['a.json'], ['b.json'], ['readme.txt']] },
  { paths: ['u.rtx', 'u.top', 'U.TOP'], groups: [['u.rtx', 'U.TOP', 'u.top']] },
];

async function checkGrouping(page) {
  const problems = [];
  for (const { paths, groups } of GROUPING) {
    const got = await page.evaluate((list) => window.velkanoPage.groupFiles(list.map((p) => ({ path: p })))
      .map((g) => g.entries.map((e) => e.path)), paths);
    if (JSON.stringify(got) !== JSON.stringify(groups)) {
      problems.push(`grouping ${JSON.stringify(paths)}: ${JSON.stringify(got)}, expected ${JSON.stringify(groups)}`);
    }
  }
  return problems;
}

// Files dropped (as a drop without folders hands them over) are converted like picked ones;
// a file name that is markup stays text everywhere the page shows it.
async function checkDropAndMarkup(page) {
  const problems = [];
  const name = '<img src=x onerror=document.title=1>.flt';
  const bytes = [...fs.readFileSync(path.join(root, 'examples/club_day.flt'))];
  await clear(page);
  await setOptions(page, DEFAULTS);
  await page.evaluate(({ name, bytes }) => {
    const transfer = new DataTransfer();
    transfer.items.add(new File([new Uint8Array(bytes)], name));
    document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true }));
  }, { name, bytes });
  await converted(page);
  const heading = await page.locator('.vk-group h2').allTextContents();
  if (JSON.stringify(heading) !== JSON.stringify([name])) problems.push(`dropped file shown as ${JSON.stringify(heading)}`);
  const table = await page.locator('.vk-table').textContent();
  if (!table.startsWith(name + '\n')) problems.push('the flight table does not name the dropped file as text');
  if (await page.locator('img[src=x]').count()) problems.push('a file name became an element');
  return problems;
}

// With a network, the page asks for nothing but map tiles.
async function checkTilesOnly(browser, files) {
  const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
  const asked = [];
  await context.route('**/*', (route) => {
    const url = route.request().url();
    if (/^(file|blob|data):/.test(url)) return route.continue();
    asked.push(url);
    return route.abort('internetdisconnected');
  });
  const page = await context.newPage();
  await page.goto('file://' + path.resolve(pagePath));
  await page.setInputFiles('#pick-files', files);
  await converted(page);
  await page.waitForSelector('body.offline', { state: 'attached', timeout: 20000 });
  await context.close();
  const problems = asked.filter((url) => !url.startsWith('https://tile.openstreetmap.org/'))
    .map((url) => `asked the network for ${url}`);
  if (asked.length === 0) problems.push('asked for no map tiles while online');
  return problems;
}

async function main() {
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: CHROMIUM_FLAGS });
  let problems = [];
  try {
    const context = await browser.newContext({ offline: true, acceptDownloads: true, viewport: { width: 1300, height: 900 } });
    const page = await context.newPage();
    page.on('console', (m) => { if (m.type() === 'error' || m.type() === 'warning') problems.push(`console ${m.type()}: ${m.text()}`); });
    page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
    page.on('dialog', (d) => { problems.push(`a dialog opened: ${d.message()}`); d.dismiss(); });
    page.on('request', (r) => { if (!/^(file|blob|data):/.test(r.url())) problems.push(`network request: ${r.url()}`); });
    await page.goto('file://' + path.resolve(pagePath));
    await page.waitForFunction(() => document.getElementById('status-text').textContent.startsWith('ready'), null, { timeout: 60000 });
    problems = problems.concat(await checkGrouping(page));
    for (const testCase of cases()) problems = problems.concat(await checkCase(page, testCase));
    await clear(page);
    await page.setInputFiles('#pick-files', [markupJson]);
    await converted(page);
    if (await page.locator('img[src=x]').count()) problems.push('a turnpoint or route name became an element');
    problems = problems.concat(await checkDropAndMarkup(page));
    if ((await page.title()) === '1') problems.push('markup in a name ran');
    await context.close();
    problems = problems.concat(await checkTilesOnly(browser, [path.join(root, 'examples/club_tasks.rtx'),
                                                              path.join(root, 'examples/club_tasks.top')]));
  } finally {
    await browser.close();
    fs.rmSync(work, { recursive: true, force: true });
  }
  for (const p of problems) console.error(p);
  console.log(problems.length ? `${problems.length} problems` : 'converter page: no problems');
  process.exit(problems.length ? 1 : 0);
}

main().catch((e) => { console.error(e); process.exit(1); });
