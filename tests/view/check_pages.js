// Opens pages of `velkano view` in headless Chromium with the network unavailable and checks
// what they show against what the files hold; then opens the first page with a network that
// fails every request and checks that it asked for map tiles only.
//   node check_pages.js EXPECTED.json
// EXPECTED.json: [{"page": "x.html", "turnpoints": 6, "routes": 2, "fixes": [12, 40],
//                  "texts": ["<b>"], "screenshot": "x.png", "opens": 5}] ("fixes": one count
// per flight; "opens": how often to time the opening, default once).
// Prints one line per page: its size and the time it took to open and draw (the median of
// the openings, and the slowest).
'use strict';
const fs = require('fs');
const path = require('path');
const { createRequire } = require('module');
const viewPackages = path.join(__dirname, '../../tools/web/package.json');
const { chromium } = createRequire(viewPackages)('playwright-core');

// Headless Debian Chromium on a machine without a network: no background connections.
const CHROMIUM_FLAGS = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

const count = (page, selector) => page.locator(selector).count();

async function checkPage(browser, expected) {
  const problems = [];
  const expect = (what, got, want) => {
    if (got !== want) problems.push(`${what}: ${JSON.stringify(got)}, expected ${JSON.stringify(want)}`);
  };
  const context = await browser.newContext({ offline: true, viewport: { width: 1200, height: 800 } });
  const page = await context.newPage();
  page.on('console', (m) => { if (m.type() === 'error' || m.type() === 'warning') problems.push(`console ${m.type()}: ${m.text()}`); });
  page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
  page.on('request', (r) => { if (!/^(file|data):/.test(r.url())) problems.push(`network request: ${r.url()}`); });

  const file = path.resolve(expected.page);
  const times = [];
  for (let i = 0; i < (expected.opens || 1); ++i) {
    const started = performance.now();
    await page.goto('file://' + file);
    await page.waitForFunction(() => document.documentElement.dataset.ready === 'true', null, { timeout: 20000 });
    times.push(performance.now() - started);
  }
  times.sort((a, b) => a - b);

  expect('turnpoint markers', await count(page, '.vk-tp'), expected.turnpoints || 0);
  expect('route lines', await count(page, 'path.vk-route'), expected.routes || 0);
  const fixes = expected.fixes || [];
  expect('flights', await count(page, '.vk-flight'), fixes.length);
  // Only the pinned libraries, the page script and the data: nothing a text could have added.
  expect('script elements', await count(page, 'script'), 5);
  expect('offline note', await count(page, 'body.offline'), 1);
  for (const text of expected.texts || []) {
    const shown = await page.evaluate((t) => document.body.innerText.includes(t), text);
    if (!shown) problems.push(`text not shown as text: ${text}`);
  }
  if (expected.popup) {
    await page.locator('.vk-tp').first().click();
    expect('turnpoint popup', await page.locator('.vk-popup h3').textContent(), expected.popup);
  }

  if (expected.routes) {
    const first = page.locator('#tasks li').first();
    await first.click();
    expect('route lines after hiding one', await count(page, 'path.vk-route'), expected.routes - 1);
    await first.click();
    expect('route lines after showing it again', await count(page, 'path.vk-route'), expected.routes);
  }

  for (let i = 0; i < fixes.length; ++i) {
    if (i > 0) await page.locator('.vk-flight').nth(i).click();
    expect(`flight ${i + 1} barogram points`,
           await page.evaluate(() => window.velkanoView.barogram().data[0].length), fixes[i]);
    expect(`flight ${i + 1} selected`,
           await page.locator('.vk-flight').nth(i).getAttribute('class'), 'vk-flight vk-selected');
  }
  const longest = fixes.indexOf(Math.max(...fixes));
  if (fixes[longest] > 1) {
    // The barogram's cursor moves the marker along the track.
    await page.locator('.vk-flight').nth(longest).click();
    const box = await page.locator('#barogram .u-over').boundingBox();
    const marker = () => page.locator('path.vk-cursor').getAttribute('d');
    await page.mouse.move(box.x + 2, box.y + box.height / 2);
    const before = await marker();
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    if ((await marker()) === before) problems.push('the barogram cursor does not move the track marker');
  }

  if (expected.screenshot) {
    if (fixes.length) await page.locator('.vk-flight').first().click();
    await page.mouse.move(0, 0);
    await page.screenshot({ path: expected.screenshot });
  }
  await context.close();
  const size = fs.statSync(file).size;
  const median = times[Math.floor(times.length / 2)];
  console.log(`${expected.page}: ${size} bytes, opened and drawn in ${median.toFixed(0)} ms` +
              (times.length > 1 ? ` (median of ${times.length}, slowest ${times[times.length - 1].toFixed(0)} ms)` : ''));
  return problems.map((p) => `${expected.page}: ${p}`);
}

// With a network the page asks for nothing but map tiles, and when they fail it falls back
// to the plain background.
async function checkTilesOnly(browser, pagePath) {
  const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
  const asked = [];
  await context.route('**/*', (route) => {
    const url = route.request().url();
    if (url.startsWith('file:')) return route.continue();
    asked.push(url);
    return route.abort('internetdisconnected');
  });
  const page = await context.newPage();
  await page.goto('file://' + path.resolve(pagePath));
  await page.waitForSelector('body.offline', { state: 'attached', timeout: 20000 });
  await context.close();
  const problems = asked.filter((url) => !url.startsWith('https://tile.openstreetmap.org/'))
    .map((url) => `${pagePath}: asked the network for ${url}`);
  if (asked.length === 0) problems.push(`${pagePath}: asked for no map tiles while online`);
  return problems;
}

async function main() {
  const expectations = JSON.parse(fs.readFileSync(process.argv[2], 'utf8'));
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: CHROMIUM_FLAGS });
  let problems = [];
  try {
    for (const expected of expectations) problems = problems.concat(await checkPage(browser, expected));
    if (expectations.length) problems = problems.concat(await checkTilesOnly(browser, expectations[0].page));
  } finally {
    await browser.close();
  }
  for (const p of problems) console.error(p);
  process.exit(problems.length ? 1 : 0);
}

main().catch((e) => { console.error(e); process.exit(1); });
