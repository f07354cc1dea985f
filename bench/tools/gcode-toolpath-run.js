// node gcode-toolpath-run.js FILE: runs the npm package gcode-toolpath over FILE, as a viewer
// built on it loads a program: every line parsed and interpreted, every move handed to the
// addLine / addArcCurve callbacks. Prints what it saw on one line, for plot-speed.sh to check:
//   lines N moves N arcs N length L
// The package is found through NODE_PATH (plot-speed.sh installs it under the build folder).
'use strict';

const Toolpath = require('gcode-toolpath');

const file = process.argv[2];
if (!file) {
  console.error('usage: node gcode-toolpath-run.js FILE');
  process.exit(2);
}

let moves = 0;
let arcs = 0;
let length = 0; // straight-line length of the moves and arc chords, so the callbacks do work
const chord = (v1, v2) => Math.hypot(v2.x - v1.x, v2.y - v1.y, v2.z - v1.z);

const toolpath = new Toolpath({
  addLine: (modal, v1, v2) => {
    ++moves;
    length += chord(v1, v2);
  },
  addArcCurve: (modal, v1, v2, v0) => {
    ++arcs;
    length += chord(v1, v2);
  },
});

toolpath.loadFromFile(file, (err, results) => {
  if (err) {
    console.error(`${file}: ${err.message || err}`);
    process.exit(1);
  }
  console.log(`lines ${results.length} moves ${moves} arcs ${arcs} length ${length.toFixed(3)}`);
});
