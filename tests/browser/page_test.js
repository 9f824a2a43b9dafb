// The page in real browsers: Debian's chromium and firefox, headless, driven with
// puppeteer-core (over the DevTools protocol and WebDriver BiDi). Each case runs on a fresh
// page loaded from a server on 127.0.0.1 (or the single file from disk), and checks what the
// canvas shows against the native snapshot tool's pictures of the same input, pixel for
// pixel, where the picture does not depend on timing. A failing case is named and the others
// still run.
//
//   node page_test.js <build/web> <native snapshot tool>
'use strict';
const path = require('path');
const puppeteer = require('puppeteer-core');
const { runSnapshot } = require('./run_snapshot');
const { serve } = require('./static_server');

const [webDir, snapshotTool] = process.argv.slice(2);
const [W, H] = [1016, 830];  // the design size
// The title as the browser reports it, its runs of spaces collapsed.
const kCaption = "Corvane (outgoing air control) and Lumivent (outgoing and ingoing air " +
    "control) versus Kestrom's Tessimo (ingoing air control) SpaceBar MouseMove: r.p.m.-Load " +
    'ESC:Quit';

const fail = (msg) => { throw new Error(msg); };

// Script lines for events one after another, every other tick from the first.
const seq = (...events) => events.map((e, i) => `${2 * i + 1} ${e}`);

// The native picture after a script; a promise, so that the snapshot tool runs while the page
// works. The crank-angle view, which most cases see, is made once, while chromium starts.
const native = (script, w = W, h = H, steps = 40) =>
  runSnapshot([snapshotTool], { steps, w, h, script });
const crank = native(seq('key space'));

// Runs in the page: decodes a PNG picture as the one the canvas is to show.
async function wantPicture(png) {
  const bytes = Uint8Array.from(atob(png), (c) => c.charCodeAt(0));
  const image = await createImageBitmap(new Blob([bytes]),
                                        { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
  const context = new OffscreenCanvas(image.width, image.height).getContext('2d');
  context.drawImage(image, 0, 0);
  const px = new Uint32Array(context.getImageData(0, 0, image.width, image.height).data.buffer);
  window.corvaneWanted = { w: image.width, h: image.height, px };
}

// Runs in the page: the canvas's size, a hash of its pixels, its opaque black and white
// pixels, and how it differs from the wanted picture ('' where it does not).
function canvasState() {
  const c = document.getElementById('canvas');
  const got = new Uint32Array(c.getContext('2d').getImageData(0, 0, c.width, c.height).data.buffer);
  const want = window.corvaneWanted || { px: [] };
  const sameSize = want.w === c.width && want.h === c.height;
  let hash = 0x811c9dc5, black = 0, white = 0, n = 0, first = 0;
  for (let i = 0; i < got.length; ++i) {
    hash = Math.imul(hash ^ got[i], 16777619);
    black += got[i] === 0xff000000;  // the words are A, B, G, R from the top
    white += got[i] === 0xffffffff;
    if (got[i] !== want.px[i] && n++ === 0) first = i;
  }
  const differs = !sameSize ? `size ${c.width}x${c.height} against ${want.w}x${want.h}` :
      n && `${n} pixels differ, the first at (${first % c.width}, ${Math.floor(first / c.width)})`;
  return { w: c.width, h: c.height, hash, black, white, differs };
}

// Polls until probe() gives something, and gives that; fails naming what did not come.
async function until(what, probe, timeoutMs = 15000) {
  for (const end = Date.now() + timeoutMs; ; await new Promise((r) => setTimeout(r, 50))) {
    const got = await probe();
    if (got) return got;
    if (Date.now() > end) fail(`${what}: not within ${timeoutMs / 1000} s`);
  }
}

const waitCanvas = (page, what, ok, timeoutMs) =>
  until(what, async () => ok(await page.evaluate(canvasState)), timeoutMs);

// Waits until the canvas is the native picture (the page draws at its own pace); otherwise
// fails saying how they differ.
async function expectCanvas(page, wanted, what) {
  await page.evaluate(wantPicture, (await wanted).toString('base64'));
  let state;
  await until(what, async () => !(state = await page.evaluate(canvasState)).differs).catch((e) =>
    fail(state ? `${what}: the canvas is not the native picture (${state.differs})` : e.message));
}

const press = (page, key, wanted, what) =>
  page.keyboard.press(key).then(() => expectCanvas(page, wanted, what));

// Waits until fn(arg) holds in the page; fails naming what did not come.
const pageWait = (page, what, fn, arg, polling = 'raf') => page.waitForFunction(
    fn, { timeout: 5000, polling }, arg).catch(() => fail(`${what}: not within 5 s`));
// The line shown after the end, or hidden again.
const ended = (page, shown) => pageWait(page, `the end line ${shown ? 'shown' : 'hidden'}`,
    (s) => (getComputedStyle(document.getElementById('ended')).display !== 'none') === s, shown);

const cases = {
  // The engine view first, under the caption; each space bar the next view, which is the
  // native picture of the same view; the fourth is the help page and the fifth the engines.
  // Page Down is the next view too, the arrows set speed and load as natively, and Page Up
  // goes back through the engines to the help page. None of these keys reaches the browser
  // (which would scroll, or search).
  async views(open) {
    const spaces = [1, 2, 3].map((n) => native(seq(...Array(n).fill('key space'))));
    const arrows = ['ArrowUp', 'ArrowUp', 'ArrowUp', 'ArrowLeft', 'ArrowLeft'];
    const arrowed = native(seq('key pgdn', 'key up', 'key up', 'key up', 'key left', 'key left'));
    const page = await open();
    if ((await page.title()) !== kCaption) fail(`the title is '${await page.title()}'`);
    await page.evaluate(() => addEventListener('keydown', (e) => {  // after the page's own
      if (!e.defaultPrevented) window.corvaneFree = e.key;
    }));
    for (const [i, view] of ['the crank-angle view', 'the time view', 'the help page'].entries())
      await press(page, ' ', spaces[i], view);
    await page.keyboard.press(' ');
    await waitCanvas(page, 'the engines after the help page', (s) => s.differs && s.black >= 2000);
    await press(page, 'PageDown', native(seq('key pgdn')), 'Page Down: the crank-angle view');
    for (const key of arrows) await page.keyboard.press(key);
    await expectCanvas(page, arrowed, 'three Up and two Left');
    const before = await page.evaluate(() => Module.corvaneSteps);
    await page.keyboard.press('PageUp');
    await pageWait(page, 'the engines after Page Up', (n) => Module.corvaneSteps > n, before);
    await press(page, 'PageUp', spaces[2], 'Page Up twice: the help page');
    const free = await page.evaluate(() => window.corvaneFree);
    if (free) fail(`the browser had ${free} too`);
  },

  // The pointer's height at the left sets the speed: the crank-angle view after a move is the
  // native picture after the same move.
  async pointer(open) {
    const time = native(seq('key space', 'move 30 150', 'key space'));
    const page = await open({ hasTouch: true });
    await press(page, ' ', crank, 'the crank-angle view');
    await page.mouse.move(30, 150);
    await expectCanvas(page, native(seq('key space', 'move 30 150')), 'the pointer at 150');
    // A finger is the pointer: a touch moves it and presses it. The first touch switches the
    // automatic change on, which walks speed and load at random, a new picture at every graph
    // pass; a touch at another height switches it off with the speed of that height. (The
    // gauge may keep a few pixels of the walk, so the time view it is.)
    await page.touchscreen.tap(30, 400);
    const seen = new Set();  // the pictures of the walk
    await waitCanvas(page, 'the automatic change after a touch',
                     (s) => seen.add(s.hash).size > 5, 5000);
    await page.touchscreen.tap(30, 150);
    await press(page, ' ', time, 'the time view after touches at 150');
  },

  // ESC ends: the picture is cleared and the line says so; a key starts the animation again
  // from the beginning. A double click ends as well, and a click restarts.
  async end(open) {
    const page = await open();
    await page.keyboard.press('Escape');
    await ended(page, true);
    const line = await page.$eval('#ended', (e) => e.textContent.trim());
    if (line !== 'The animation has ended. Press any key or click to start again.')
      fail(`the line reads '${line}'`);
    await waitCanvas(page, 'the picture cleared by ESC', (s) => s.white === s.w * s.h, 5000);
    await page.keyboard.press('x');
    await ended(page, false);
    await press(page, ' ', crank, 'after the restart');
    await page.mouse.click(500, 400, { clickCount: 1 });
    await page.mouse.click(500, 400, { clickCount: 2 });
    await ended(page, true);
    await page.mouse.click(500, 400);
    await ended(page, false);
  },

  // The canvas fills the page at the device's pixel ratio and refits on a resize, the zoom
  // rule's picture at the new size (an odd width too: the last column of pixels goes to the
  // canvas on its own); the pointer in page pixels is the picture's pixels times the ratio.
  async resize(open) {
    const wide = native(seq('key space'), 1401, 700);
    const dense = native(seq('key space'), 1200, 1000);
    const pointer = native(seq('key space', 'move 40 200'), 1200, 1000);
    const page = await open();
    await press(page, ' ', crank, 'the crank-angle view');
    await page.setViewport({ width: 1401, height: 700, deviceScaleFactor: 1 });
    await expectCanvas(page, wide, 'at 1401x700');
    await page.setViewport({ width: 600, height: 500, deviceScaleFactor: 2 });
    await expectCanvas(page, dense, 'at 600x500, ratio 2');
    const cssWidth = await page.$eval('#canvas', (c) => c.clientWidth);
    if (cssWidth !== 600) fail(`at 600x500, ratio 2, the canvas is ${cssWidth} page pixels wide`);
    await page.mouse.move(20, 100);
    await expectCanvas(page, pointer, 'the pointer at ratio 2');
  },

  // The single file from disk, without a server: the crank-angle view, and the colour key
  // reverses its colours as natively.
  async single(open) {
    const page = await open({ url: 'file://' + path.resolve(webDir, 'corvane.html') });
    await press(page, ' ', crank, 'the crank-angle view');
    await press(page, 'c', native(seq('key space', 'key c')), 'the reversed colours');
  },

  // A browser without WebAssembly: one plain sentence says so, and no canvas shows.
  async nowasm(open) {
    const page = await open({ withoutWasm: true });
    const shown = await page.$eval('#nowasm', (e) => !e.hidden && e.textContent.trim());
    if (shown !== 'This animation needs WebAssembly, which this browser does not run.')
      fail(`without WebAssembly the page shows '${shown}'`);
    if (await page.$eval('#canvas', (c) => !c.hidden)) fail('the canvas shows');
    page.errors.length = 0;  // the runtime's own complaint that it cannot start
  },

  // Step mode: after '.' the engine stands still; each '.' more is one step. The canvas after
  // N steps equals the native picture of the same steps.
  async steps(open) {
    const page = await open();
    await page.keyboard.press('.');
    // Still: the same count a quarter of a second apart, where the engine steps 120 times.
    const k = await (await pageWait(page, 'the engine standing still', () => {
      const [seen, now] = [window.corvaneSeen, window.corvaneSeen = Module.corvaneSteps];
      return seen === now && now;
    }, null, 250)).jsonValue();
    const script = [`${k} key .`];
    for (let i = 1; i <= 5; ++i) {
      await page.keyboard.press('.');
      await pageWait(page, `step ${i} after '.'`, (n) => Module.corvaneSteps >= n, k + i);
      script.push(`${k + 2 * i} key .`);
    }
    await expectCanvas(page, native(script, W, H, k + 14), `${k} steps and 5 more one by one`);
  },
};

// Opens a page at the design size unless told otherwise and waits for its first picture;
// records the errors in it.
async function openPage(browser, { url, withoutWasm, ...viewport }) {
  const page = await browser.newPage();
  page.errors = [];
  page.on('pageerror', (e) => page.errors.push(String(e)));
  page.on('console', (m) => { if (m.type() === 'error') page.errors.push(m.text()); });
  if (withoutWasm) await page.evaluateOnNewDocument(() => { delete window.WebAssembly; });
  await page.setViewport({ width: W, height: H, deviceScaleFactor: 1, ...viewport });
  await page.goto(url, { waitUntil: 'load' });
  if (!withoutWasm) await waitCanvas(page, 'the first picture', (s) => s.black > 0, 20000);
  return page;
}

// The browsers and the cases each runs: Debian's chromium all of them; its firefox the single
// file and the steps, pixel for pixel the same. (Firefox under puppeteer does not make two
// clicks a double click, and the other cases add time but no new risk.)
const browsers = {
  chromium: [{ executablePath: process.env.CHROMIUM || '/usr/lib/chromium/chromium',
               args: ['--no-sandbox', '--disable-gpu', '--disable-component-update'] },
             Object.keys(cases)],
  firefox: [{ browser: 'firefox', executablePath: '/usr/bin/firefox-esr' }, ['single', 'steps']],
};

(async () => {
  const server = await serve(path.resolve(webDir));
  const url = `http://127.0.0.1:${server.address().port}/`;
  let failed = 0;
  for (const [name, [options, names]] of Object.entries(browsers)) {
    const browser = await puppeteer.launch(options);  // headless, puppeteer's flags and these
    for (const test of names) {
      let page;
      // What went wrong: the case's failure or the errors in its page; nothing when all went well.
      const wrong = await cases[test](async (o) => (page = await openPage(browser, { url, ...o })))
          .then(() => page.errors.length && `errors in the page: ${page.errors.join('; ')}`)
          .catch((e) => e.message);
      console.log(wrong ? `FAIL: ${name}: ${test}: ${wrong}` : `${name}: ${test}: passed`);
      failed += !!wrong;
      await page?.close();
    }
    await browser.close();
  }
  server.close();
  console.log(`${failed} failed`);
  process.exit(failed ? 1 : 0);
})();
