// The page's figures in headless chromium: time from navigation to the first picture on
// 127.0.0.1, the CPU of the renderer and GPU processes while the engines run and while paused,
// and what the page transfers (and what gzip makes of it).
//
//   NODE_PATH=<node_modules with puppeteer-core> node measure-page.js <build/web>
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const puppeteer = require('puppeteer-core');
const { serve } = require('../tests/browser/static_server');

const webDir = path.resolve(process.argv[2] || 'build/web');
const seconds = Number(process.env.MEASURE_SECONDS || 10);
const tick = 100;  // clock ticks per second in /proc/PID/stat

// Every process under pid, with its command line.
function descendants(pid) {
  const children = new Map();
  for (const p of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(p)) continue;
    try {
      const stat = fs.readFileSync(`/proc/${p}/stat`, 'utf8');
      const ppid = Number(stat.slice(stat.lastIndexOf(')') + 2).split(' ')[1]);
      if (!children.has(ppid)) children.set(ppid, []);
      children.get(ppid).push(Number(p));
    } catch (e) { /* gone */ }
  }
  const out = [];
  const walk = (p) => { for (const c of children.get(p) || []) { out.push(c); walk(c); } };
  walk(pid);
  return out;
}

function cpuTicks(pid) {
  try {
    const stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
    const f = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
    return Number(f[11]) + Number(f[12]);
  } catch (e) {
    return 0;
  }
}

function kind(pid) {
  try {
    const cmd = fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8');
    const m = cmd.match(/--type=([a-z-]+)/);
    return m ? m[1] : 'browser';
  } catch (e) {
    return '';
  }
}

async function cpuShare(browser) {
  const pids = descendants(browser.process().pid).filter((p) => ['renderer', 'gpu-process'].includes(kind(p)));
  const before = pids.map(cpuTicks);
  const t0 = Date.now();
  await new Promise((r) => setTimeout(r, seconds * 1000));
  const used = pids.map((p, i) => cpuTicks(p) - before[i]).reduce((a, b) => a + b, 0);
  return (100 * used / tick) / ((Date.now() - t0) / 1000);
}

(async () => {
  let total = 0;
  let gz = 0;
  for (const f of ['index.html', 'index.js', 'index.wasm', 'index.data']) {
    const b = fs.readFileSync(path.join(webDir, f));
    total += b.length;
    gz += zlib.gzipSync(b, { level: 9 }).length;
  }
  const single = fs.readFileSync(path.join(webDir, 'corvane.html'));
  console.log(`page: ${(total / 1e6).toFixed(2)} MB, gzipped ${(gz / 1e6).toFixed(2)} MB; ` +
              `single file ${(single.length / 1e6).toFixed(2)} MB, gzipped ` +
              `${(zlib.gzipSync(single, { level: 9 }).length / 1e6).toFixed(2)} MB`);

  const server = await serve(webDir);
  const url = `http://127.0.0.1:${server.address().port}/`;
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'corvane-measure-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/lib/chromium/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
  let page = await browser.newPage();
  await page.setViewport({ width: 1920, height: 1080, deviceScaleFactor: 1 });
  const firsts = [];
  for (let i = 0; i < 5; ++i) {
    await page.evaluateOnNewDocument(() => {
      const look = () => {
        const c = document.getElementById('canvas');
        if (c && c.width > 1) {
          const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
          for (let k = 0; k < d.length; k += 4 * 31) {
            if (d[k + 3] === 255 && (d[k] !== 255 || d[k + 1] !== 255)) {
              window.corvaneFirstPicture = performance.now();
              return;
            }
          }
        }
        requestAnimationFrame(look);
      };
      requestAnimationFrame(look);
    });
    await page.goto(url + `?${i}`, { waitUntil: 'load' });
    await page.waitForFunction(() => window.corvaneFirstPicture !== undefined, { timeout: 20000 });
    firsts.push(await page.evaluate(() => window.corvaneFirstPicture));
  }
  firsts.sort((a, b) => a - b);
  console.log(`navigation to first picture: ${firsts.map((t) => t.toFixed(0)).join(', ')} ms`);
  // The CPU of the page as a visitor has it: in a new tab, without the probe, whose reading
  // back of the canvas leaves chromium drawing that canvas at a higher cost from then on.
  await page.close();
  page = await browser.newPage();
  await page.setViewport({ width: 1920, height: 1080, deviceScaleFactor: 1 });
  await page.goto(url + '?cpu', { waitUntil: 'load' });
  await page.waitForFunction(() => window.Module && Module.corvaneSteps > 0, { timeout: 20000 });
  await new Promise((r) => setTimeout(r, 2000));
  console.log(`animating (renderer + GPU): ${(await cpuShare(browser)).toFixed(1)} % of a core`);
  await page.keyboard.press('.');
  await new Promise((r) => setTimeout(r, 1000));
  console.log(`paused in step mode: ${(await cpuShare(browser)).toFixed(1)} % of a core`);
  await page.keyboard.press(',');
  await page.keyboard.press('Space');
  await new Promise((r) => setTimeout(r, 2000));
  console.log(`crank-angle view, idle: ${(await cpuShare(browser)).toFixed(1)} % of a core`);
  await browser.close();
  fs.rmSync(profile, { recursive: true, force: true });
  server.close();
})();
