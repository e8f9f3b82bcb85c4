#!/usr/bin/env node
// Reads each CUP file with gpsbabel and checks that it finds every row at its coordinates
// (within 0.001 minutes). gpsbabel 1.8 takes the classic columns by position, names a waypoint
// by its code and reads each task line as one more waypoint at 0,0, so rows are matched by
// position and the task lines counted. Where `velkano dump` of the source task file lies beside
// a CUP file (same name, .json), the rows are checked against its turnpoints rather than the
// CUP text, so a wrong coordinate in the export is caught as well.
// Usage: check_cup.js FILE.cup...
'use strict';
const fs = require('fs');
const { execFileSync } = require('child_process');

const kSeparator = '-----Related Tasks-----';
const kToleranceMinutes = 0.001;

// The lat and lon fields (the fourth and fifth) of a row; neither is ever quoted.
function rowCoordinates(line) {
  const fields = [];
  let field = '', quoted = false;
  for (const c of line) {
    if (c === '"') quoted = !quoted;
    else if (c === ',' && !quoted) { fields.push(field); field = ''; }
    else field += c;
  }
  fields.push(field);
  return [degrees(fields[3], 2), degrees(fields[4], 3)];
}

// DDMM.mmmN / DDDMM.mmmE to signed degrees.
function degrees(text, degreeDigits) {
  const value = Number(text.slice(0, degreeDigits)) + Number(text.slice(degreeDigits, -1)) / 60;
  return 'SW'.includes(text.slice(-1)) ? -value : value;
}

let failed = 0, checked = 0;
for (const file of process.argv.slice(2)) {
  const lines = fs.readFileSync(file, 'utf8').split(/\r?\n/).filter((line) => line !== '');
  const separator = lines.indexOf(kSeparator);
  const dump = file.replace(/\.cup$/, '.json');
  const rows = fs.existsSync(dump)
    ? JSON.parse(fs.readFileSync(dump, 'utf8')).turnpoints.map((tp) => [tp.latitude, tp.longitude])
    : lines.slice(1, separator).map(rowCoordinates);
  const tasks = lines.length - separator - 1;
  let gpx;
  try {
    gpx = execFileSync('gpsbabel', ['-i', 'cup', '-f', file, '-o', 'gpx', '-F', '-'], { encoding: 'utf8' });
  } catch (error) {
    console.error(`${file}: gpsbabel failed: ${error.message}`);
    failed = 1;
    continue;
  }
  const points = [...gpx.matchAll(/<wpt lat="([^"]+)" lon="([^"]+)"/g)].map((m) => [Number(m[1]), Number(m[2])]);
  const problems = [];
  if (points.length !== rows.length + tasks)
    problems.push(`gpsbabel found ${points.length} waypoints, the file has ${rows.length} rows and ${tasks} task lines`);
  rows.forEach(([lat, lon], i) => {
    const p = points[i];
    if (!p) return;
    const off = Math.max(Math.abs(p[0] - lat), Math.abs(p[1] - lon)) * 60;
    if (!(off <= kToleranceMinutes)) problems.push(`row ${i + 1} read ${off.toFixed(4)}' away`);
  });
  points.slice(rows.length).forEach(([lat, lon], i) => {
    if (lat !== 0 || lon !== 0) problems.push(`task line ${i + 1} read at ${lat},${lon}`);
  });
  if (problems.length > 0) {
    console.error(`${file}: ${problems.join('; ')}`);
    failed = 1;
  }
  checked += 1;
}
console.log(`interop: ${checked} CUP files checked with gpsbabel`);
process.exit(failed);
