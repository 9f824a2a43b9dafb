// The page in a real browser: Debian's chromium, headless, driven over the DevTools protocol
// with puppeteer-core. Each case loads the page from a server on 127.0.0.1 (or the single file
// from disk) and checks what the canvas shows against the native snapshot tool's pictures of
// the same input, pixel for pixel, where the picture does not depend on timing.
//
//   node page_test.js <case> <build/web> <native snapshot tool>
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');
const puppeteer = require('puppeteer-core');
const { decodePng } = require('./png');
const { serve } = require('./static_server');

const [caseName, webDir, snapshotTool] = process.argv.slice(2);
const CHROMIUM = process.env.CHROMIUM || '/usr/lib/chromium/chromium';
const W = 1016;
const H = 830;

function fail(msg) {
  throw new Error(msg);
}

async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'corvane-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
  browser.profile = profile;
  return browser;
}

// The canvas's pixels as 0xRRGGBB numbers, with its size.
async function canvasPixels(page) {
  const { w, h, b64 } = await page.evaluate(() => {
    const c = document.getElementById('canvas');
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let s = '';
    for (let i = 0; i < d.length; i += 0x8000) {
      s += String.fromCharCode.apply(null, d.subarray(i, i + 0x8000));
    }
    return { w: c.width, h: c.height, b64: btoa(s) };
  });
  const bytes = Buffer.from(b64, 'base64');
  const px = new Uint32Array(w * h);
  for (let i = 0; i < w * h; ++i) {
    px[i] = (bytes[4 * i] << 16) | (bytes[4 * i + 1] << 8) | bytes[4 * i + 2];
  }
  return { w, h, px };
}

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// Waits until the canvas shows something other than white (the first picture).
async function firstPicture(page, timeoutMs = 20000) {
  await page.waitForFunction(() => {
    const c = document.getElementById('canvas');
    if (!c || c.width < 2) return false;
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    for (let i = 0; i < d.length; i += 4 * 97) {
      if (d[i + 3] === 255 && (d[i] !== 255 || d[i + 1] !== 255)) return true;
    }
    return false;
  }, { timeout: timeoutMs, polling: 50 });
}

// The native picture for a script, at the given size.
function nativePicture(lines, steps, w = W, h = H) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'corvane-native-'));
  const script = path.join(dir, 'script.txt');
  const out = path.join(dir, 'out.png');
  fs.writeFileSync(script, lines.join('\n') + '\n');
  execFileSync(snapshotTool, ['--steps', String(steps), '--out', out, '--width', String(w),
                              '--height', String(h), '--script', script]);
  const png = decodePng(fs.readFileSync(out));
  fs.rmSync(dir, { recursive: true });
  return png;
}

function differing(a, b) {
  if (a.w !== b.w || a.h !== b.h) return `size ${a.w}x${a.h} against ${b.w}x${b.h}`;
  let n = 0;
  let first = -1;
  for (let i = 0; i < a.px.length; ++i) {
    if (a.px[i] !== b.px[i]) {
      if (first < 0) first = i;
      ++n;
    }
  }
  if (!n) return '';
  const x = first % a.w;
  const y = Math.floor(first / a.w);
  return `${n} pixels differ, the first at (${x}, ${y}): ${a.px[first].toString(16)} against ` +
         `${b.px[first].toString(16)}`;
}

// Waits until the canvas equals the expected picture (the page draws at its own pace).
async function expectCanvas(page, want, what, timeoutMs = 15000) {
  const until = Date.now() + timeoutMs;
  let diff = '';
  for (;;) {
    diff = differing(await canvasPixels(page), want);
    if (!diff || Date.now() > until) break;
    await sleep(100);
  }
  if (diff) {
    const shot = path.join(os.tmpdir(), `corvane-${caseName}-${what.replace(/\W+/g, '-')}.png`);
    await page.screenshot({ path: shot });
    fail(`${what}: the canvas is not the native picture (${diff}); the page: ${shot}`);
  }
}

function countColour(pic, colour) {
  let n = 0;
  for (const p of pic.px) if (p === colour) ++n;
  return n;
}

async function openPage(browser, url, viewport = { width: W, height: H, deviceScaleFactor: 1 }) {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
  page.errors = errors;
  await page.setViewport(viewport);
  await page.goto(url, { waitUntil: 'load' });
  await firstPicture(page);
  return page;
}

const kCaptionText =
  "          Corvane (outgoing air control) and Lumivent (outgoing and ingoing air control) " +
  "versus Kestrom's Tessimo (ingoing air control)         SpaceBar    MouseMove: " +
  "r.p.m.-Load    ESC:Quit";
// The title as the browser reports it, its runs of spaces collapsed.
const kCaption = kCaptionText.replace(/\s+/g, " ").trim();

const cases = {
  // The engine view first, under the caption; each space bar the next view, which is the
  // native picture of the same view; the fourth is the help page and the fifth the engines.
  async views(browser, url) {
    const page = await openPage(browser, url);
    if ((await page.title()) !== kCaption) fail(`the title is '${await page.title()}'`);
    const engine = await canvasPixels(page);
    if (countColour(engine, 0x000000) < 2000) fail('the engine view shows too little black');
    await page.keyboard.press('Space');
    await expectCanvas(page, nativePicture(['1 key space'], 40), 'the crank-angle view');
    await page.keyboard.press('Space');
    await expectCanvas(page, nativePicture(['1 key space', '3 key space'], 40), 'the time view');
    await page.keyboard.press('Space');
    await expectCanvas(page, nativePicture(['1 key space', '3 key space', '5 key space'], 40),
                       'the help page');
    await page.keyboard.press('Space');
    await sleep(500);
    const back = await canvasPixels(page);
    if (!differing(back, nativePicture(['1 key space', '3 key space', '5 key space'], 40)))
      fail('the help page stayed after the fourth space bar');
    if (countColour(back, 0x000000) < 2000) fail('the engine view did not come back');
    if (page.errors.length) fail(`errors in the page: ${page.errors.join('; ')}`);
  },

  // The pointer's height at the left sets the speed: the crank-angle view after a move is the
  // native picture after the same move, and two heights give two different pictures.
  async pointer(browser, url) {
    const page = await openPage(browser, url,
                                { width: W, height: H, deviceScaleFactor: 1, hasTouch: true });
    await page.keyboard.press('Space');
    await expectCanvas(page, nativePicture(['1 key space'], 40), 'the crank-angle view');
    const pictures = [];
    for (const y of [150, 600]) {
      await page.mouse.move(30, y);
      const want = nativePicture(['1 key space', `3 move 30 ${y}`], 40);
      await expectCanvas(page, want, `the pointer at height ${y}`);
      pictures.push(want);
    }
    if (differing(pictures[0], pictures[1]) === '') fail('two heights gave one picture');
    // A finger is the pointer: a touch moves it and presses it. The first touch switches the
    // automatic change on, which changes speed and load at random; a touch at another height
    // switches it off with the speed of that height: the time view then shows that speed.
    // (The gauge may keep a few pixels of the random changes, so the time view it is.)
    await page.touchscreen.tap(30, 400);
    await sleep(300);
    const during = await canvasPixels(page);
    await sleep(300);
    if (!differing(during, await canvasPixels(page))) fail('a touch started no automatic change');
    await page.touchscreen.tap(30, 150);
    await sleep(200);
    await page.keyboard.press('Space');
    await expectCanvas(page, nativePicture(['1 key space', '3 move 30 150', '5 key space'], 40),
                       'the time view after touches at height 150');
  },

  // The colour key reverses the colours, in the crank-angle view as natively.
  async colours(browser, url) {
    const page = await openPage(browser, url);
    await page.keyboard.press('Space');
    await expectCanvas(page, nativePicture(['1 key space'], 40), 'the crank-angle view');
    await page.keyboard.press('c');
    const want = nativePicture(['1 key space', '3 key c'], 40);
    await expectCanvas(page, want, 'the reversed colours');
    if (countColour(want, 0x000000) < want.px.length / 2) fail('the reversal is not dark');
  },

  // ESC ends: the picture is cleared and the line says so; a key starts the animation again
  // from the beginning; the arrow and page keys do not scroll the page.
  async end(browser, url) {
    const page = await openPage(browser, url);
    await page.keyboard.press('Escape');
    await page.waitForFunction(
        () => getComputedStyle(document.getElementById('ended')).display !== 'none',
        { timeout: 5000 });
    const line = await page.$eval('#ended', (e) => e.textContent.trim());
    if (line !== 'The animation has ended. Press any key or click to start again.')
      fail(`the line reads '${line}'`);
    const ended = await canvasPixels(page);
    if (countColour(ended, 0xffffff) !== ended.px.length) fail('ESC did not clear the picture');
    await page.keyboard.press('x');
    await page.waitForFunction(
        () => getComputedStyle(document.getElementById('ended')).display === 'none',
        { timeout: 5000 });
    await firstPicture(page);
    await page.keyboard.press('Space');
    await expectCanvas(page, nativePicture(['1 key space'], 40), 'after the restart');
    // A double click ends as well; a click restarts.
    await page.mouse.click(500, 400, { clickCount: 1 });
    await page.mouse.click(500, 400, { clickCount: 2 });
    await page.waitForFunction(
        () => getComputedStyle(document.getElementById('ended')).display !== 'none',
        { timeout: 5000 });
    await page.mouse.click(500, 400);
    await page.waitForFunction(
        () => getComputedStyle(document.getElementById('ended')).display === 'none',
        { timeout: 5000 });
    for (const key of ['ArrowDown', 'PageDown', 'End', 'Space']) await page.keyboard.press(key);
    const scrolled = await page.evaluate(() => window.scrollY + document.scrollingElement.scrollTop);
    if (scrolled !== 0) fail(`the page scrolled by ${scrolled}`);
  },

  // The canvas fills the page at the device's pixel ratio and refits on a resize, the zoom
  // rule's picture at the new size.
  async resize(browser, url) {
    const page = await openPage(browser, url);
    await page.keyboard.press('Space');
    await expectCanvas(page, nativePicture(['1 key space'], 40), 'the crank-angle view');
    await page.setViewport({ width: 1400, height: 700, deviceScaleFactor: 1 });
    await expectCanvas(page, nativePicture(['1 key space'], 40, 1400, 700), 'at 1400x700');
    await page.setViewport({ width: 600, height: 500, deviceScaleFactor: 2 });
    const size = await page.$eval('#canvas', (c) => [c.width, c.height, c.clientWidth]);
    if (size.join() !== '1200,1000,600') fail(`at 600x500, ratio 2: canvas ${size}`);
    await expectCanvas(page, nativePicture(['1 key space'], 40, 1200, 1000), 'at ratio 2');
    // The pointer in page pixels is the picture's pixels times the ratio.
    await page.mouse.move(20, 100);
    await expectCanvas(page, nativePicture(['1 key space', '3 move 40 200'], 40, 1200, 1000),
                       'the pointer at ratio 2');
  },

  // The single file from disk: the picture, without a server and without the network.
  async single(browser) {
    const file = 'file://' + path.resolve(webDir, 'corvane.html');
    const page = await browser.newPage();
    const elsewhere = [];
    page.on('request', (r) => { if (!r.url().startsWith('file:') && !r.url().startsWith('data:')) elsewhere.push(r.url()); });
    await page.setViewport({ width: W, height: H, deviceScaleFactor: 1 });
    await page.goto(file, { waitUntil: 'load' });
    await firstPicture(page);
    if ((await page.title()) !== kCaption) fail('the single file has another title');
    await page.keyboard.press('Space');
    await expectCanvas(page, nativePicture(['1 key space'], 40), 'the single file');
    if (elsewhere.length) fail(`the single file fetched ${elsewhere.join(', ')}`);
  },

  // A browser without WebAssembly: one plain sentence says so, and no canvas shows.
  async nowasm(browser, url) {
    const page = await browser.newPage();
    await page.evaluateOnNewDocument(() => { delete window.WebAssembly; });
    await page.goto(url, { waitUntil: 'load' });
    const shown = await page.$eval('#nowasm', (e) => !e.hidden && e.textContent.trim());
    if (shown !== 'This animation needs WebAssembly, which this browser does not run.')
      fail(`without WebAssembly the page shows '${shown}'`);
    if (await page.$eval('#canvas', (c) => !c.hidden)) fail('the canvas shows');
  },

  // The presenter's and keyboard's keys: Page Down is the next view, the arrows set speed and
  // load as natively, Page Up goes back through the engines to the help page.
  async keys(browser, url) {
    const page = await openPage(browser, url);
    await page.keyboard.press('PageDown');
    await expectCanvas(page, nativePicture(['1 key pgdn'], 40), 'Page Down: the crank-angle view');
    for (const key of ['ArrowUp', 'ArrowUp', 'ArrowUp', 'ArrowLeft', 'ArrowLeft']) {
      await page.keyboard.press(key);
      await sleep(50);
    }
    await expectCanvas(page, nativePicture(['1 key pgdn', '3 key up', '4 key up', '5 key up',
                                            '6 key left', '7 key left'], 40),
                       'three Up and two Left');
    await page.keyboard.press('PageUp');
    await sleep(300);
    await page.keyboard.press('PageUp');
    await expectCanvas(page, nativePicture(['1 key pgup'], 40), 'Page Up twice: the help page');
  },

  // Step mode: after '.' the engine stands still; each '.' more is one step. The canvas after
  // N steps equals the native picture of the same steps.
  async steps(browser, url) {
    const page = await openPage(browser, url);
    await page.keyboard.press('.');
    await sleep(300);
    const k = await page.evaluate(() => Module.corvaneSteps);
    const extra = 5;
    for (let i = 0; i < extra; ++i) {
      await page.keyboard.press('.');
      await sleep(150);
    }
    const lines = [`${k} key .`];
    for (let i = 1; i <= extra; ++i) lines.push(`${k + 2 * i} key .`);
    await expectCanvas(page, nativePicture(lines, k + 2 * extra + 4), `after ${k}+${extra} steps`);
    const after = await page.evaluate(() => Module.corvaneSteps);
    if (after !== k + extra) fail(`${after - k} steps for ${extra} presses of '.'`);
  },
};

(async () => {
  const run = cases[caseName];
  if (!run) fail(`no case '${caseName}'`);
  const server = await serve(path.resolve(webDir));
  const url = `http://127.0.0.1:${server.address().port}/`;
  const browser = await launch();
  let status = 0;
  try {
    await run(browser, url);
    console.log(`browser ${caseName}: passed`);
  } catch (e) {
    console.error(`FAIL: browser ${caseName}: ${e.message}`);
    status = 1;
  } finally {
    await browser.close();
    fs.rmSync(browser.profile, { recursive: true, force: true });
    server.close();
  }
  process.exit(status);
})();
