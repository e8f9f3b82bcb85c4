#!/usr/bin/env node
// The three text modes of velkano igc on one flight with accented names, as a reader that
// takes IGC files as UTF-8 sees them. Usage: check_text.js UTF8.igc ASCII.igc RAW.igc
'use strict';
const fs = require('fs');
const IGCParser = require('igc-parser');

const [utf8File, asciiFile, rawFile] = process.argv.slice(2);
const problems = [];
const expect = (what, got, want) => {
  if (got !== want) problems.push(`${what}: got ${JSON.stringify(got)}, want ${JSON.stringify(want)}`);
};
const names = (file) => {
  const igc = IGCParser.parse(fs.readFileSync(file, 'utf8'));
  return [igc.pilot, igc.gliderType, igc.callsign, ...igc.task.points.map((p) => p.name)];
};

expect('utf-8', names(utf8File).join('|'), 'Jörg Müller|Élan ß€|Æø|Zürich-Süd|Zürich-Süd|Crête*!~|Crête*!~');
expect('ascii', names(asciiFile).join('|'), 'Joerg Mueller|Elan ssEUR|AEo|Zuerich-Sued|Zuerich-Sued|Crete|Crete');

const lines = (file) => fs.readFileSync(file, 'latin1').split('\r\n');
const raw = lines(rawFile);
for (const line of lines(asciiFile)) {
  if (/^[AHC]/.test(line) && !/^[\x20-\x7e]*$/.test(line.replace(/[$*!\\^~]/g, '\x01'))) {
    problems.push(`ascii: ${JSON.stringify(line)} holds characters IGC files may not`);
  }
}
expect('raw pilot', raw.find((l) => l.startsWith('HFPLT')), 'HFPLTPILOT:J\xf6rg M\xfcller');
// Fixes are the driver's bytes in every mode.
const fixes = (l) => l.filter((line) => line.startsWith('B')).join('\n');
expect('utf-8 fixes', fixes(lines(utf8File)), fixes(raw));
expect('ascii fixes', fixes(lines(asciiFile)), fixes(raw));

for (const problem of problems) console.error(`text modes: ${problem}`);
if (problems.length === 0) console.log('text modes: utf-8, ascii and raw as readers should see them');
process.exit(problems.length === 0 ? 0 : 1);
