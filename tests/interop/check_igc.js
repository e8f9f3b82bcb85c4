#!/usr/bin/env node
// Parses each IGC file with igc-parser (strict mode) and prints one line per file:
// "<file> <fixes> <task points>". Exits 1 if any file fails to parse.
'use strict';
const fs = require('fs');
const IGCParser = require('igc-parser');

let failed = 0;
for (const file of process.argv.slice(2)) {
  try {
    const result = IGCParser.parse(fs.readFileSync(file, 'latin1'));
    const taskPoints = result.task ? result.task.points.length : 0;
    console.log(`${file} ${result.fixes.length} ${taskPoints}`);
  } catch (error) {
    console.error(`${file}: igc-parser: ${error.message}`);
    failed = 1;
  }
}
process.exit(failed);
