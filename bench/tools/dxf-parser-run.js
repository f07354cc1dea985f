// node dxf-parser-run.js FILE: parses FILE with the npm package dxf-parser (parseSync on the
// whole text, as a web viewer built on it does) and prints what it saw on one line, for
// dxf-speed.sh to check:
//   entities N vertices V
// V counts the vertices of the polylines (LWPOLYLINE, and the VERTEX records of a POLYLINE).
// The package is found through NODE_PATH (dxf-speed.sh installs it under the build folder).
'use strict';

const fs = require('fs');
const DxfParser = require('dxf-parser');

const file = process.argv[2];
if (!file) {
  console.error('usage: node dxf-parser-run.js FILE');
  process.exit(2);
}

let dxf;
try {
  dxf = new DxfParser().parseSync(fs.readFileSync(file, 'utf8'));
} catch (err) {
  console.error(`${file}: ${err.message || err}`);
  process.exit(1);
}
if (!dxf || !Array.isArray(dxf.entities)) {
  console.error(`${file}: no entities section`);
  process.exit(1);
}
let vertices = 0;
for (const entity of dxf.entities)
  if ((entity.type === 'LWPOLYLINE' || entity.type === 'POLYLINE') && Array.isArray(entity.vertices))
    vertices += entity.vertices.length;
console.log(`entities ${dxf.entities.length} vertices ${vertices}`);
