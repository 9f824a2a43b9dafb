// Runs a snapshot tool (its command line before its own arguments) for a number of ticks at a
// size, with script lines '<tick> <event>', and gives the PNG file it writes.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { promisify } = require('util');
const execFile = promisify(require('child_process').execFile);

async function runSnapshot(command, { steps, w, h, script }) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'corvane-snapshot-'));
  const [scriptFile, out] = [path.join(dir, 'script.txt'), path.join(dir, 'out.png')];
  fs.writeFileSync(scriptFile, script.join('\n') + '\n');
  await execFile(command[0], [...command.slice(1), '--steps', String(steps), '--out', out,
                              '--width', String(w), '--height', String(h), '--script', scriptFile]);
  const png = fs.readFileSync(out);
  fs.rmSync(dir, { recursive: true });
  return png;
}

module.exports = { runSnapshot };
