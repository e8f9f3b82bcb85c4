// The page's worker: converts the groups of files the page sends with velkano's own code, the
// WebAssembly module velkano_engine.js, and answers with what velkano would write and say.
//   page -> worker: {type: 'convert', id, groups: [{key, files: [{name, bytes}]}], options}
//   worker -> page: {type: 'ready'} once the module runs; per group, in order,
//                   {type: 'result', id, key, result} then {type: 'progress', id, done, total, key};
//                   {type: 'finished', id} after the last.
// The page runs it in a Blob worker after velkano_engine.js, which defines createVelkano;
// under node, require() gives startWorker to a check that plays the page.
'use strict';

const kInputs = '/in';
const kOutputs = '/out';

// The last element of a dropped file's name: a folder's files come with their relative path.
function plainName(name) {
  const last = String(name).split(/[\\/]/).pop();
  return last === '' || last === '.' || last === '..' ? '_' : last;
}

function removeTree(FS, path) {
  if (FS.isDir(FS.stat(path).mode)) {
    for (const name of FS.readdir(path)) {
      if (name !== '.' && name !== '..') removeTree(FS, `${path}/${name}`);
    }
    FS.rmdir(path);
  } else {
    FS.unlink(path);
  }
}

// Where the group's files go, relative to its folder: under their names, but two files of one
// name (from two folders) cannot lie side by side, so the later ones go into numbered folders.
function inputNames(files) {
  const taken = new Set();
  return files.map((file, index) => {
    let name = plainName(file.name);
    if (taken.has(name)) name = `${index}/${name}`;
    taken.add(name);
    return name;
  });
}

function writeInputs(FS, directory, files) {
  FS.mkdir(directory);
  const names = inputNames(files);
  names.forEach((name, index) => {
    if (name.includes('/')) FS.mkdir(`${directory}/${index}`);
    FS.writeFile(`${directory}/${name}`, new Uint8Array(files[index].bytes), { canOwn: true });
  });
  return names;
}

// The engine's answer with the bytes of each download read back from its file system.
function convertGroup(velkano, group, index, options) {
  const { FS } = velkano;
  const input = `${kInputs}/${index}`;
  const output = `${kOutputs}/${index}`;
  try {
    const files = writeInputs(FS, input, group.files);
    FS.mkdir(output);
    // Run inside the group's folder so that messages name files as they were dropped.
    FS.chdir(input);
    const result = JSON.parse(velkano.convert(JSON.stringify({ files, output, options })));
    result.downloads = result.downloads.map((download) => ({
      name: download.name,
      bytes: FS.readFile(download.path).buffer,
      mime: download.mime,
    }));
    return result;
  } finally {
    FS.chdir('/');
    for (const directory of [input, output]) {
      if (FS.analyzePath(directory).exists) removeTree(FS, directory);
    }
  }
}

// What the page shows of a group the module failed on (out of memory, say): the module is made
// anew for the groups after it.
function failedGroup(group, error) {
  const names = group.files.map((file) => plainName(file.name)).join(', ');
  return {
    kind: 'other',
    errors: [`${names}: the conversion stopped: ${error && error.message ? error.message : error}`],
    notes: [],
    report: '',
    table: '',
    downloads: [],
    view: null,
  };
}

function startWorker(scope, createVelkano) {
  const start = () =>
    createVelkano().then((velkano) => {
      for (const directory of [kInputs, kOutputs]) {
        if (!velkano.FS.analyzePath(directory).exists) velkano.FS.mkdir(directory);
      }
      return velkano;
    });
  let velkano = null;
  let startFailure = null;
  // Requests are served one after another, the first once the module is ready. A module that
  // cannot start fails every group with the reason.
  let queue = start().then(
    (module) => {
      velkano = module;
      scope.postMessage({ type: 'ready' });
    },
    (error) => {
      startFailure = error;
    },
  );

  async function convert(message) {
    const groups = message.groups || [];
    for (let index = 0; index < groups.length; ++index) {
      const group = groups[index];
      let result;
      try {
        if (!velkano) throw startFailure;
        result = convertGroup(velkano, group, index, message.options || {});
      } catch (error) {
        result = failedGroup(group, error);
        velkano = null;
        velkano = await start().catch((failure) => {
          startFailure = failure;
          return null;
        });
      }
      scope.postMessage(
        { type: 'result', id: message.id, key: group.key, result },
        result.downloads.map((download) => download.bytes),
      );
      scope.postMessage({ type: 'progress', id: message.id, done: index + 1, total: groups.length, key: group.key });
    }
    scope.postMessage({ type: 'finished', id: message.id });
  }

  scope.onmessage = (event) => {
    const message = event.data;
    if (message && message.type === 'convert') {
      queue = queue.then(() => convert(message)).catch((error) => {
        console.error(error);
        scope.postMessage({ type: 'finished', id: message.id });
      });
    }
  };
  return queue;
}

if (typeof module === 'object' && module.exports) {
  module.exports = { startWorker, inputNames };
} else {
  startWorker(self, createVelkano); // eslint-disable-line no-undef
}
