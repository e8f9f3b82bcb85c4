// The converter page: files dropped or picked are put into groups (a unit of work each) and
// handed to the worker, which converts them with velkano's own code. Each group gets its
// messages, its report, its flight table and its downloads beside it, and whatever was read
// goes onto the map. Texts from files and from the converter are always set as text.
(function () {
  'use strict';

  const $ = (id) => document.getElementById(id);
  const KIND_WORDS = { flights: 'flight file', task: 'task file', build: 'to a task file', other: '' };
  const ZIP_MIME = 'application/zip';

  function element(tag, className, text) {
    const node = document.createElement(tag);
    if (className) node.className = className;
    if (text !== undefined) node.textContent = text;
    return node;
  }

  // ---- Files into groups -------------------------------------------------------------------

  const extension = (name) => {
    const dot = name.lastIndexOf('.');
    return dot > 0 ? name.slice(dot).toLowerCase() : '';
  };
  const stem = (name) => {
    const dot = name.lastIndexOf('.');
    return dot > 0 ? name.slice(0, dot) : name;
  };
  const directory = (path) => path.slice(0, path.lastIndexOf('/') + 1);
  const baseName = (path) => path.slice(path.lastIndexOf('/') + 1);
  const byPath = (a, b) => (a.path < b.path ? -1 : a.path > b.path ? 1 : 0);

  // files: [{path, file}], path as picked ('folder/a.rtx' or 'a.rtx'). One group per unit of
  // work, in the order of their first file's path: a flight file alone; a task file with the
  // turnpoint files beside it of its base name in any case (the route driver picks its own);
  // every CUP file together, as `velkano build a.cup b.cup` reads them; anything else alone.
  function groupFiles(files) {
    const sorted = files.slice().sort(byPath);
    const companions = sorted.filter((f) => extension(f.path) === '.top');
    const paired = new Set();
    const groups = [];
    let cup = null;
    for (const entry of sorted) {
      const ext = extension(entry.path);
      if (ext === '.top') continue;
      if (ext === '.cup') {
        if (!cup) {
          cup = { entries: [] };
          groups.push(cup);
        }
        cup.entries.push(entry);
      } else if (ext === '.rtx') {
        const wanted = (directory(entry.path) + stem(baseName(entry.path))).toLowerCase();
        const tops = companions.filter(
          (c) => (directory(c.path) + stem(baseName(c.path))).toLowerCase() === wanted);
        for (const c of tops) paired.add(c);
        groups.push({ entries: [entry, ...tops] });
      } else {
        groups.push({ entries: [entry] });
      }
    }
    // A turnpoint file with no task file of its name is a group of its own, which says so.
    for (const c of companions) {
      if (!paired.has(c)) groups.push({ entries: [c] });
    }
    groups.sort((a, b) => byPath(a.entries[0], b.entries[0]));
    return groups.map((g, i) => ({ key: String(i + 1), entries: g.entries }));
  }

  // ---- Files dropped or picked -------------------------------------------------------------

  // A dropped folder is read to its last file; items must be taken during the drop event.
  function filesOfDrop(transfer) {
    const entries = [...transfer.items]
      .map((item) => (item.webkitGetAsEntry ? item.webkitGetAsEntry() : null))
      .filter(Boolean);
    if (entries.length === 0) {
      return Promise.resolve([...transfer.files].map((file) => ({ path: file.name, file })));
    }
    const found = [];
    const readAll = (reader) => new Promise((resolve, reject) => {
      const all = [];
      const next = () => reader.readEntries((batch) => {
        if (batch.length === 0) resolve(all); else { all.push(...batch); next(); }
      }, reject);
      next();
    });
    async function walk(entry, prefix) {
      if (entry.isFile) {
        const file = await new Promise((resolve, reject) => entry.file(resolve, reject));
        found.push({ path: prefix + entry.name, file });
      } else if (entry.isDirectory) {
        for (const inner of await readAll(entry.createReader())) {
          await walk(inner, prefix + entry.name + '/');
        }
      }
    }
    return entries.reduce((done, entry) => done.then(() => walk(entry, '')), Promise.resolve())
      .then(() => found);
  }

  const filesOfInput = (input) =>
    [...input.files].map((file) => ({ path: file.webkitRelativePath || file.name, file }));

  // ---- Zips --------------------------------------------------------------------------------

  // A flight's IGC name taken already in one folder: the next number of its day, as
  // `velkano igc` numbers flights it writes into one directory.
  function freeName(name, taken) {
    const numbered = /^(.*-)(\d+)(\.igc)$/i.exec(name);
    let candidate = name;
    for (let n = 2; taken.has(candidate); ++n) {
      candidate = numbered
        ? numbered[1] + String(Number(numbered[2]) + n - 1).padStart(2, '0') + numbered[3]
        : stem(name) + ' (' + n + ')' + name.slice(stem(name).length);
    }
    taken.add(candidate);
    return candidate;
  }

  // files: [{name, bytes}]. Deflated one file at a time, letting the page answer in between.
  async function zipBlob(files) {
    const chunks = [];
    let failure = null;
    const zip = new fflate.Zip((error, chunk) => {
      if (error) failure = error; else chunks.push(chunk);
    });
    for (const file of files) {
      const entry = new fflate.ZipDeflate(file.name, { level: 6 });
      zip.add(entry);
      entry.push(new Uint8Array(file.bytes), true);
      await new Promise((resolve) => setTimeout(resolve));
    }
    zip.end();
    if (failure) throw failure;
    return new Blob(chunks, { type: ZIP_MIME });
  }

  // ---- What a group shows ------------------------------------------------------------------

  const urls = [];
  function link(name, blob) {
    const url = URL.createObjectURL(blob);
    urls.push(url);
    const a = element('a', 'vk-download', name);
    a.href = url;
    a.download = name;
    return a;
  }
  function save(name, blob) {
    const a = link(name, blob);
    document.body.append(a);
    a.click();
    a.remove();
  }

  function groupCard(group) {
    const card = element('article', 'vk-group vk-waiting');
    card.dataset.key = group.key;
    const title = element('h2', '', group.entries.map((e) => e.path).join(' + '));
    title.title = 'click to fold or unfold';
    title.addEventListener('click', () => card.classList.toggle('vk-folded'));
    card.append(title, element('p', 'vk-state', 'waiting'));
    return card;
  }

  function buildName(downloads) {
    const task = downloads.find((d) => extension(d.name) === '.rtx');
    return (task ? stem(task.name) : 'task') + '.zip';
  }

  function showResult(card, result) {
    card.classList.remove('vk-waiting');
    card.classList.toggle('vk-failed', result.errors.length > 0);
    card.querySelector('.vk-state').textContent =
      result.errors.length ? 'failed' : KIND_WORDS[result.kind] || 'done';
    const body = element('div', 'vk-body');
    if (result.errors.length || result.notes.length) {
      const messages = element('ul', 'vk-messages');
      for (const text of result.errors) messages.append(element('li', 'vk-msg-error', text));
      for (const text of result.notes) messages.append(element('li', 'vk-msg-note', text));
      body.append(messages);
    }
    if (result.report) body.append(element('pre', 'vk-report', result.report));
    if (result.table) body.append(element('pre', 'vk-table', result.table));
    const downloads = element('p', 'vk-downloads');
    if (result.kind === 'build' && result.downloads.length) {
      // A task file is no use without its turnpoint file: both go in one zip.
      const files = {};
      for (const d of result.downloads) files[d.name] = new Uint8Array(d.bytes);
      downloads.append(link(buildName(result.downloads),
                            new Blob([fflate.zipSync(files)], { type: ZIP_MIME })));
    } else {
      for (const d of result.downloads) downloads.append(link(d.name, new Blob([d.bytes], { type: d.mime })));
    }
    if (downloads.childNodes.length) body.append(downloads);
    card.append(body);
  }

  // ---- The conversion ----------------------------------------------------------------------

  const view = VelkanoView.create({
    map: 'map', tasks: $('tasks'), flights: $('flights'), barogram: $('barogram'),
  });
  const progress = $('progress');
  const statusText = $('status-text');
  const allFlights = $('all-flights');
  const clearButton = $('clear');
  const optionsForm = $('options');

  let picked = [];  // {path, file}, one per path
  let worker = null;
  let conversion = null;  // {id, groups, cards, flights, finished}
  let nextId = 1;
  // When the last conversion's files were picked, sent to the worker, each result came and
  // all were shown (performance.now()), for the timing script.
  let times = { picked: 0, sent: 0, results: [], finished: 0 };

  function options() {
    const form = optionsForm.elements;
    return {
      text: form.text.value,
      lineEnding: form.lineEnding.value,
      cupColumns: Number(form.cupColumns.value),
      strict: form.strict.checked,
      skipBadRows: form.skipBadRows.checked,
    };
  }

  function setStatus(text, done, total) {
    statusText.textContent = text;
    progress.max = Math.max(total, 1);
    progress.value = done;
  }

  function startWorker() {
    const source = $('velkano-worker').textContent;
    const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
    worker = new Worker(url);
    URL.revokeObjectURL(url);
    worker.onmessage = (event) => onMessage(event.data);
    worker.onerror = (event) => {
      event.preventDefault();
      setStatus('the converter stopped: ' + (event.message || 'unknown failure'), 0, 1);
      document.body.classList.add('vk-broken');
    };
  }

  function onMessage(message) {
    if (message.type === 'ready') {
      if (!conversion) setStatus('ready: drop files or choose them', 0, 1);
      return;
    }
    if (!conversion || message.id !== conversion.id) return;  // from a conversion given up
    if (message.type === 'progress') {
      setStatus(message.done + ' of ' + message.total + ' converted', message.done, message.total);
    } else if (message.type === 'result') {
      times.results.push(performance.now());
      addResult(message.key, message.result);
    } else if (message.type === 'finished') {
      conversion.finished = true;
      const failed = conversion.cards.filter((c) => c.classList.contains('vk-failed')).length;
      const total = conversion.groups.length;
      setStatus(total + (total === 1 ? ' unit' : ' units') + ' converted' +
                (failed ? ', ' + failed + ' with errors' : ''), total, total);
      allFlights.disabled = conversion.flights.length === 0;
      view.fit();
      times.finished = performance.now();
      document.documentElement.dataset.converted = String(conversion.id);
    }
  }

  function addResult(key, result) {
    const at = conversion.groups.findIndex((g) => g.key === key);
    if (at < 0) return;
    showResult(conversion.cards[at], result);
    if (result.kind === 'flights') {
      for (const d of result.downloads) conversion.flights.push({ name: d.name, bytes: d.bytes });
    }
    if (result.view) {
      view.addTaskFiles(result.view.tasks || []);
      view.addFlights(result.view.flights || []);
    }
  }

  async function convert() {
    for (const url of urls.splice(0)) URL.revokeObjectURL(url);
    view.clear();
    $('results').replaceChildren();
    allFlights.disabled = true;
    clearButton.disabled = picked.length === 0;
    delete document.documentElement.dataset.converted;
    if (picked.length === 0) {
      conversion = null;
      setStatus('ready: drop files or choose them', 0, 1);
      return;
    }
    // A conversion under way is given up: its worker goes, and a fresh one starts.
    if (conversion && !conversion.finished) {
      worker.terminate();
      startWorker();
    }
    const groups = groupFiles(picked);
    const id = nextId++;
    conversion = { id, groups, cards: groups.map(groupCard), flights: [], finished: false };
    $('results').append(...conversion.cards);
    setStatus('reading ' + picked.length + (picked.length === 1 ? ' file' : ' files'), 0, groups.length);
    // Files keep the folders they were picked in, for the worker to tell apart files of
    // one name.
    const payload = await Promise.all(groups.map(async (group) => ({
      key: group.key,
      files: await Promise.all(group.entries.map(async (e) => ({
        name: e.path, bytes: await e.file.arrayBuffer(),
      }))),
    })));
    if (!conversion || conversion.id !== id) return;
    setStatus('0 of ' + groups.length + ' converted', 0, groups.length);
    // The worker takes it as soon as its module runs.
    times.sent = performance.now();
    worker.postMessage({ type: 'convert', id, groups: payload, options: options() },
                       payload.flatMap((g) => g.files.map((f) => f.bytes)));
  }

  // Files picked again replace those of the same path; the whole set is converted again, so
  // that a turnpoint file dropped after its task file is paired with it.
  function add(files) {
    times = { picked: performance.now(), sent: 0, results: [], finished: 0 };
    const byPathNow = new Map(picked.map((p) => [p.path, p]));
    for (const f of files) byPathNow.set(f.path, f);
    picked = [...byPathNow.values()];
    convert();
  }

  const drop = $('drop');
  for (const type of ['dragenter', 'dragover']) {
    document.addEventListener(type, (event) => {
      event.preventDefault();
      drop.classList.add('vk-over');
    });
  }
  document.addEventListener('dragleave', (event) => {
    if (!event.relatedTarget) drop.classList.remove('vk-over');
  });
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    drop.classList.remove('vk-over');
    filesOfDrop(event.dataTransfer).then(add, (error) => setStatus('cannot read the drop: ' + error, 0, 1));
  });
  for (const input of [$('pick-files'), $('pick-folder')]) {
    input.addEventListener('change', () => {
      add(filesOfInput(input));
      input.value = '';
    });
  }
  optionsForm.addEventListener('change', () => { if (picked.length) convert(); });
  clearButton.addEventListener('click', () => {
    picked = [];
    convert();
  });
  allFlights.addEventListener('click', async () => {
    if (!conversion) return;
    allFlights.disabled = true;
    const taken = new Set();
    const files = conversion.flights.map((f) => ({ name: freeName(f.name, taken), bytes: f.bytes }));
    try {
      save('flights.zip', await zipBlob(files));
    } finally {
      allFlights.disabled = false;
    }
  });

  startWorker();
  // For the tests and the timing script.
  window.velkanoPage = { view, groupFiles, freeName, times: () => times };
}());
