// The snapshot tool built for the browser and run under node writes, for the same steps, size
// and script, the picture the native tool writes, pixel for pixel, text included.
//
//   node snapshot_web_test.js <snapshot.js> <native snapshot tool>
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');
const { decodePng } = require('./png');

const [webTool, nativeTool] = process.argv.slice(2);
const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'corvane-snapshot-web-'));

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

let failed = 0;
for (const r of runs) {
  const script = path.join(dir, `${r.name}.txt`);
  fs.writeFileSync(script, r.script.join('\n') + '\n');
  const args = (out) => ['--steps', String(r.steps), '--out', out, '--width', String(r.w),
                         '--height', String(r.h), '--script', script];
  const nativeOut = path.join(dir, `${r.name}-native.png`);
  const webOut = path.join(dir, `${r.name}-web.png`);
  execFileSync(nativeTool, args(nativeOut));
  execFileSync('node', ['--no-experimental-fetch', webTool, ...args(webOut)]);
  const a = decodePng(fs.readFileSync(nativeOut));
  const b = decodePng(fs.readFileSync(webOut));
  let diff = a.w !== b.w || a.h !== b.h ? -1 : 0;
  if (!diff) for (let i = 0; i < a.px.length; ++i) if (a.px[i] !== b.px[i]) ++diff;
  if (diff) {
    console.error(`FAIL: ${r.name}: ${diff < 0 ? 'sizes differ' : diff + ' pixels differ'} ` +
                  `(${nativeOut}, ${webOut})`);
    failed = 1;
  } else {
    console.log(`${r.name}: ${r.w}x${r.h}, ${r.steps} ticks: equal`);
  }
}
if (!failed) fs.rmSync(dir, { recursive: true });
process.exit(failed);
