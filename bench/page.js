// The timings of bench/page: node page.js PAGE VELKANO LONGEST.flt DROP_DIR RUNS
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawnSync } = require('child_process');
const { createRequire } = require('module');
const { chromium } = createRequire(path.join(__dirname, '../tools/web/package.json'))('playwright-core');

const [pagePath, velkano, longest, dropDir, runsText] = process.argv.slice(2);
const runs = Number(runsText);
const GOAL = 2;  // the page within twice the native time
const SAMPLE_MS = 50;  // how often the drop's progress and click answers are looked at

const median = (list) => list.slice().sort((a, b) => a - b)[Math.floor(list.length / 2)];
const ms = (t) => t.toFixed(0) + ' ms';

// The median time of a velkano command on the flight, in a fresh output folder each run.
function native(command) {
  const times = [];
  for (let i = 0; i < runs; ++i) {
    const out = fs.mkdtempSync(path.join(os.tmpdir(), 'velkano-bench-'));
    const args = command === 'igc' ? ['igc', '-q', longest, '-o', out]
      : command === 'view' ? ['view', longest, '-o', path.join(out, 'view.html')] : ['list', longest];
    const started = process.hrtime.bigint();
    const r = spawnSync(velkano, args, { maxBuffer: 1 << 30 });
    times.push(Number(process.hrtime.bigint() - started) / 1e6);
    fs.rmSync(out, { recursive: true });
    if (r.status !== 0) throw new Error(`velkano ${command} failed: ${r.stderr}`);
  }
  return median(times);
}

async function openPage(browser) {
  const context = await browser.newContext({ offline: true, viewport: { width: 1300, height: 900 } });
  const page = await context.newPage();
  await page.goto('file://' + path.resolve(pagePath));
  await page.waitForFunction(() => document.getElementById('status-text').textContent.startsWith('ready'));
  return { context, page };
}

// The worker's time for the flight (files handed over to its result back) and the whole
// time a user waits (picked to everything shown), as the page measures them.
async function inPage(browser) {
  const worker = [], whole = [];
  const { context, page } = await openPage(browser);
  for (let i = 0; i < runs; ++i) {
    if (i > 0) await page.click('#clear');
    await page.setInputFiles('#pick-files', longest);
    await page.waitForFunction(() => document.documentElement.dataset.converted);
    const t = await page.evaluate(() => window.velkanoPage.times());
    worker.push(t.results[0] - t.sent);
    whole.push(t.finished - t.picked);
  }
  await context.close();
  return { worker: median(worker), whole: median(whole) };
}

// 200 files dropped: while they convert, the progress bar is looked at and a group's heading
// clicked every SAMPLE_MS. A click counts as answered when its handler has run and the next
// frame is drawn; the time is taken in the page, from the moment the input reached it.
async function drop(browser) {
  const files = fs.readdirSync(dropDir).sort().map((n) => path.join(dropDir, n));
  const { context, page } = await openPage(browser);
  await page.evaluate(() => {
    window.answers = [];
    document.addEventListener('click', (event) => {
      requestAnimationFrame(() => window.answers.push(performance.now() - event.timeStamp));
    });
  });
  const started = Date.now();
  await page.setInputFiles('#pick-files', files);
  const heading = await (await page.waitForSelector('.vk-group h2')).boundingBox();
  const click = () => page.mouse.click(heading.x + 10, heading.y + heading.height / 2);
  const progress = new Set();
  while (!(await page.evaluate(() => document.documentElement.dataset.converted))) {
    progress.add(await page.evaluate(() => document.getElementById('progress').value));
    await click();
    await page.waitForTimeout(SAMPLE_MS);
  }
  const took = Date.now() - started;
  const t = await page.evaluate(() => window.velkanoPage.times());
  const busy = await page.evaluate(() => window.answers.splice(0));
  // The same clicks once the page has nothing else to do.
  for (let i = 0; i < 10; ++i) {
    await click();
    await page.waitForTimeout(SAMPLE_MS);
  }
  const idle = await page.evaluate(() => window.answers.splice(0));
  await context.close();
  return { files: files.length, took, worker: t.finished - t.sent, progress: progress.size,
           clicks: busy.length, answer: median(busy), slowest: Math.max(...busy), idle: median(idle) };
}

async function main() {
  console.log(`${os.cpus().length} cores, ${os.cpus()[0].model}; medians of ${runs} runs`);
  const nativeTime = native('igc');
  // A flight file in the page gives its IGC files, its list table and its view at once.
  const allThree = nativeTime + native('list') + native('view');
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium',
                                          args: ['--no-sandbox', '--disable-gpu'] });
  try {
    const page = await inPage(browser);
    const ratio = page.worker / nativeTime;
    console.log(`32,767 fixes to IGC: velkano igc ${ms(nativeTime)}; page ${ms(page.worker)} in its ` +
                `worker (${ratio.toFixed(2)}x, goal ${GOAL}x: ${ratio <= GOAL ? 'met' : 'not met'}), ` +
                `${ms(page.whole)} from picking to the flight on the map; the page's worker also ` +
                `lists it and reads it for the map: velkano igc, list and view take ${ms(allThree)} ` +
                `together (${(page.worker / allThree).toFixed(2)}x)`);
    const d = await drop(browser);
    console.log(`${d.files} flight files dropped: all shown after ${ms(d.took)} (worker ${ms(d.worker)}); ` +
                `the progress bar showed ${d.progress} values; ${d.clicks} clicks meanwhile answered ` +
                `in ${ms(d.answer)} (median), slowest ${ms(d.slowest)}; ${ms(d.idle)} once idle`);
  } finally {
    await browser.close();
  }
}

main().catch((e) => { console.error(e); process.exit(1); });
