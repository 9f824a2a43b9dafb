// The snapshot tool built for the browser and run under node writes, for the same steps, size
// and script, the picture the native tool writes, pixel for pixel, text included. Both encode
// with the same versions of cairo, libpng and zlib, so equal pictures are equal files.
//
//   node snapshot_web_test.js <snapshot.js> <native snapshot tool>
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { runSnapshot } = require('./run_snapshot');

const [webTool, nativeTool] = process.argv.slice(2);

// Each: steps, size, script: the engine view (captions, figure), both graph views with their
// readouts after pointer moves, reversed colours, and the help page's text, at odd sizes too.
const runs = [
  { name: 'engine', steps: 200, w: 1920, h: 1080, script: [] },
  { name: 'crank-angle', steps: 60, w: 1016, h: 830,
    script: ['1 key space', '3 move 40 200', '5 move 700 500'] },
  { name: 'time-reversed', steps: 60, w: 1333, h: 777,
    script: ['1 key space', '3 key space', '5 key c', '7 move 20 400'] },
  { name: 'help', steps: 30, w: 801, h: 1203,
    script: ['1 key space', '3 key space', '5 key space'] },
  { name: 'step-mode', steps: 140, w: 640, h: 480,
    script: ['100 key .', '103 key .', '110 key ,', '120 key t', '121 key p'] },
];

// The runs start together: most of each is node starting and compiling the WebAssembly.
Promise.all(runs.map(async (r) => {
  const pictures = await Promise.all(
      [runSnapshot(['node', '--no-experimental-fetch', webTool], r), runSnapshot([nativeTool], r)]);
  if (pictures[0].equals(pictures[1])) {
    console.log(`${r.name}: ${r.w}x${r.h}, ${r.steps} ticks: equal`);
    return true;
  }
  const files = ['web', 'native'].map((t) => path.join(os.tmpdir(), `${r.name}-${t}.png`));
  files.forEach((file, i) => fs.writeFileSync(file, pictures[i]));
  console.log(`FAIL: ${r.name}: the pictures differ: ${files.join(', ')}`);
  return false;
})).then((equal) => process.exit(equal.every(Boolean) ? 0 : 1));
