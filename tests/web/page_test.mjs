// The browser build end to end: its page served on 127.0.0.1, or opened from
// disk (file://) as a person who double-clicks index.html does, in one of
// the browsers of browsers.mjs. The canvas is compared pixel for pixel with
// the frames of the native frame renderer, as the desktop end-to-end tests
// compare screenshots.
//
// The page draws its frames the way it chooses in each browser, which every
// case logs; in Chromium, whose WebGL2 is software (which the page passes
// over), that must be the 2D canvas, and the "webgl2" case asks for WebGL2
// (?webgl=1) and checks that it drew with it. The phone cases use Chromium's
// emulation of phones.
//
// Usage: node page_test.mjs BROWSER CASE WEB_BUILD FRAME_RENDERER ASSETS TEST_DATA
import {execFileSync} from 'node:child_process';
import {copyFileSync, mkdirSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {join, resolve} from 'node:path';
import {pathToFileURL} from 'node:url';
import {KnownDevices} from 'puppeteer-core';
import {openBrowser} from './browsers.mjs';
import {scratchDir, serve} from './lib.mjs';

const [browserName, caseName, builtPage, renderer, assets, testData] = process.argv.slice(2);
const ended1 = 'Ondulix ended (exit code 1)';
const notFound = 'earth.bmp ファイルが見つかりません';
const scratch = scratchDir('web-e2e');
const log = [];
let keep = false;

function fail(message) {
  throw new Error(message);
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

const statusText = (page) => page.evaluate(() => document.getElementById('status').textContent);
const frameCount = (page) => page.evaluate(() => window.ondulixFrames.length);

// The canvas's backing store as PNG bytes (exactly the pixels put on it),
// and how many frames the page had shown then: read at the same moment, as
// the program runs on between any two calls into the page.
async function canvasPng(page) {
  const [url, shown] = await page.evaluate(() => [
    document.getElementById('screen').toDataURL('image/png'),
    window.ondulixFrames.length,
  ]);
  return {png: Buffer.from(url.slice(url.indexOf(',') + 1), 'base64'), shown};
}

// Takes pictures of the canvas until `count` of them show frames of the
// demo run on the picture in `pictureDir`, each a later frame than the one
// before. A frame shown is at most the number of frames the page has shown.
async function expectFrames(page, pictureDir, count) {
  let matched = 0;
  let last = 0;
  // Past the first few frames, which are all still (amplitude under 1), and
  // a few frames on between pictures.
  let seen = await frameCount(page) + 7;
  for (let attempt = 1; attempt <= count * 3; ++attempt) {
    await page.waitFor((n) => window.ondulixFrames.length > n, 10000, seen)
        .catch(() => fail(`no frame after the first ${seen}`));
    const shot = join(scratch, `shot-${attempt}.png`);
    const {png, shown} = await canvasPng(page);
    writeFileSync(shot, png);
    seen = shown + 3;
    let out;
    try {
      out = execFileSync(renderer, ['match', pictureDir, String(shown), '0', '0', shot],
                         {encoding: 'utf8'});
    } catch (error) {
      console.log(`picture ${attempt} (${shown} frames shown): ${error.stdout || error.message}`);
      continue;
    }
    const frame = Number(out.trim().split(' ').pop());
    console.log(`picture ${attempt} shows frame ${frame} (${shown} frames shown)`);
    if (!(frame > last)) fail(`frame ${frame} does not follow frame ${last}`);
    last = frame;
    if (++matched === count) return;
  }
  fail(`only ${matched} of ${count} pictures of the canvas showed a frame of the demo`);
}

async function expectEnded(page) {
  await page.waitFor((text) => document.getElementById('status').textContent === text, 5000,
                     ended1).catch(async () => fail(`the page says "${await statusText(page)}"`));
  console.log(`the page says: ${await statusText(page)}`);
}

// The dialog is up with the not-found text, and stays up: the program waits
// for OK, which then ends it with exit code 1.
async function expectNotFoundBox(page) {
  await page.waitFor(() => document.getElementById('message').open, 10000)
      .catch(() => fail('no message dialog'));
  const [caption, text] = await page.evaluate(() => [
    document.getElementById('message-caption').textContent,
    document.getElementById('message-text').textContent,
  ]);
  console.log(`dialog "${caption}": ${text}`);
  if (caption !== 'Message') fail(`the dialog's title is "${caption}"`);
  if (text !== notFound) fail(`the dialog says "${text}", not "${notFound}"`);
  await sleep(500);
  if (!(await page.evaluate(() => document.getElementById('message').open))) {
    fail('the dialog closed by itself');
  }
  if ((await statusText(page)).startsWith('Ondulix ended')) fail('the program ended before OK');
  if (await frameCount(page) !== 0) fail('frames were shown');
  await page.click('#message-ok');
  await expectEnded(page);
}

// What the page shows over its screen when it does not run by itself: the
// notice's words, and whether Start is offered; after `ms`, in which no
// frame was shown.
async function expectNotice(page, ms) {
  await sleep(ms);
  const [shown, text, start] = await page.evaluate(() => [
    !document.getElementById('notice').hidden,
    document.getElementById('notice-text').textContent,
    !document.getElementById('start').hidden,
  ]);
  console.log(`notice: ${shown ? text : '(none)'}; Start: ${start}`);
  if (!shown) fail('no notice over the screen');
  const frames = await frameCount(page);
  if (frames !== 0) fail(`${frames} frames were shown before anyone asked for them`);
  return {text, start};
}

// A .bmp dropped on the page, as a file manager drops one.
async function dropPicture(page, file) {
  const bytes = [...readFileSync(file)];
  await page.evaluate((bytes) => {
    const data = new DataTransfer();
    data.items.add(new File([new Uint8Array(bytes)], 'dropped.bmp', {type: 'image/bmp'}));
    document.dispatchEvent(new DragEvent('drop', {dataTransfer: data, bubbles: true,
                                                  cancelable: true}));
  }, bytes);
}

// A folder holding `picture` as earth.bmp, for the frame renderer.
let folders = 0;
function pictureFolder(picture) {
  const dir = join(scratch, `picture-${++folders}`);
  mkdirSync(dir);
  copyFileSync(picture, join(dir, 'earth.bmp'));
  return dir;
}

// The demo's frames, then a key that ends it with exit code 1.
async function framesThenKey(page, url) {
  await page.goto(url);
  await expectFrames(page, assets, 3);
  await page.press('Space');
  await expectEnded(page);
}

// A picked file restarts the demo with it; it stays the picture when the
// demo is run again.
async function ownPictureAndRunAgain(page, url, own) {
  await page.goto(url);
  await expectFrames(page, assets, 1);
  await page.evaluate(() => { window.ondulixFrames = []; });
  await page.pickFile('#picture', own);
  await expectFrames(page, pictureFolder(own), 1);
  // The demo it replaced is stopped, not left running beside it: frames
  // come at one demo's pace, 62.5 a second.
  const before = await frameCount(page);
  await sleep(1000);
  const perSecond = await frameCount(page) - before;
  console.log(`${perSecond} frames in the second after`);
  if (perSecond > 66) fail(`${perSecond} frames a second: the first demo still runs`);
  await page.press('Enter');
  await expectEnded(page);
  await page.evaluate(() => { window.ondulixFrames = []; });
  await page.click('#again');
  await expectFrames(page, pictureFolder(own), 1);
  if ((await statusText(page)).startsWith('Ondulix ended')) fail('"Run again" did not run it');
}

// The bar as a phone shows it: how many rows its parts take (the status's
// lines each a row), and the size of each control.
function barLayout() {
  const boxes = [];
  const bar = document.getElementById('bar');
  for (const element of bar.querySelectorAll('h1, #controls > :not([hidden]):not(input)')) {
    boxes.push(element.getBoundingClientRect());
  }
  const words = document.createRange();
  words.selectNodeContents(document.getElementById('status'));
  boxes.push(...words.getClientRects());
  const rows = [];
  for (const box of boxes) {
    const middle = box.top + box.height / 2;
    if (!rows.some((row) => Math.abs(row - middle) < 8)) rows.push(middle);
  }
  const controls = [...bar.querySelectorAll('#controls > :not([hidden]):not(input)')]
      .map((element) => {
        const box = element.getBoundingClientRect();
        return {text: element.textContent, width: box.width, height: box.height};
      });
  return {rows: rows.length, height: bar.getBoundingClientRect().height, controls};
}

async function expectPhoneBar(page, what) {
  const {rows, height, controls} = await page.evaluate(barLayout);
  console.log(`${what}: the bar takes ${rows} rows, ${height} px; ` +
              controls.map((c) => `${c.text} ${c.width}x${c.height}`).join(', '));
  if (rows > 2) fail(`${what}: the bar takes ${rows} rows`);
  for (const c of controls) {
    if (c.width < 44 || c.height < 44) fail(`${what}: "${c.text}" is ${c.width}x${c.height} px`);
  }
}

// A tap on the picture shows it alone, and another brings the controls
// back; neither ends the demo, which goes on drawing its frames.
async function expectTapsKeepItRunning(page) {
  const controlsShown = () => page.evaluate(() =>
    getComputedStyle(document.getElementById('close')).display !== 'none' &&
    document.getElementById('close').getBoundingClientRect().height > 0);
  for (const want of [false, true]) {
    await page.raw.tap('#screen');
    await sleep(300);
    const shown = await controlsShown();
    console.log(`after a tap on the picture the controls are ${shown ? 'shown' : 'hidden'}`);
    if (shown !== want) fail(`a tap on the picture left the controls ${shown ? 'shown' : 'hidden'}`);
    if ((await statusText(page)).startsWith('Ondulix ended')) fail('a tap ended the demo');
    await expectFrames(page, assets, 1);
  }
}

// The page on a phone held upright: words for a finger, a bar of at most
// two rows with controls a finger can hit, taps on the picture that never
// end the demo, Close that does, and then a Close that looks disabled.
async function phoneUpright(browser, index) {
  for (const device of ['iPhone 13', 'Galaxy S5']) {
    const page = await browser.newPage(log);
    await page.raw.emulate(KnownDevices[device]);
    await page.goto(index);
    await expectFrames(page, assets, 1);
    const words = await statusText(page);
    console.log(`${device}: the page says "${words}"`);
    if (!words.includes('tap Close') || /key|Alt/.test(words)) {
      fail(`${device}: the page says "${words}" to a phone`);
    }
    await expectPhoneBar(page, `${device}, running`);
    await expectTapsKeepItRunning(page);
    const enabled = await page.evaluate(() => getComputedStyle(document.getElementById('close')));
    await page.raw.tap('#close');
    await expectEnded(page);
    await expectPhoneBar(page, `${device}, ended`);
    const [disabled, again] = await page.evaluate(() => ['close', 'again'].map((id) => {
      const style = getComputedStyle(document.getElementById(id));
      return {opacity: Number(style.opacity), color: style.color, background: style.backgroundColor};
    }));
    console.log(`${device}: disabled Close ${JSON.stringify(disabled)}, Run again ` +
                `${JSON.stringify(again)}`);
    if (!(disabled.opacity < again.opacity && disabled.color !== again.color)) {
      fail(`${device}: the disabled Close looks like the enabled Run again`);
    }
    await page.raw.close();
  }
}

// Held sideways, the picture fills the screen's height; the bar lies over
// it until a tap puts it away.
async function phoneSideways(browser, index) {
  const page = await browser.newPage(log);
  await page.raw.emulate(KnownDevices['iPhone 13 landscape']);
  await page.goto(index);
  await expectFrames(page, assets, 1);
  const [pictureHeight, screenHeight] = await page.evaluate(() => [
    document.getElementById('screen').getBoundingClientRect().height, innerHeight]);
  console.log(`the picture is ${pictureHeight} px high on a screen of ${screenHeight}`);
  if (Math.abs(pictureHeight - screenHeight) > 1) {
    fail(`the picture is ${pictureHeight} px high on a screen of ${screenHeight}`);
  }
  await expectTapsKeepItRunning(page);
  await page.raw.tap('#close');
  await expectEnded(page);
}

// Runs the case; false when the page had no program to draw with.
async function run(browser, page, origin, webBuild) {
  const index = `${origin}/index.html`;
  const onDisk = pathToFileURL(join(resolve(webBuild), 'index.html')).href;
  const own = join(testData, 'bmp_regressions', 'index_beyond_table.bmp');
  switch (caseName) {
  case 'key':
    await framesThenKey(page, index);
    break;
  case 'webgl2':
    await framesThenKey(page, `${index}?webgl=1`);
    break;
  case 'close':
    await page.goto(index);
    await expectFrames(page, assets, 1);
    // The pointer over the picture: the demo hides it, as on the desktop.
    await page.hover('#screen');
    await page.waitFor(() => document.getElementById('screen').style.cursor === 'none', 5000)
        .catch(() => fail('the pointer is not hidden over the canvas'));
    console.log('the pointer is hidden over the canvas');
    await page.click('#close');
    await expectEnded(page);
    break;
  case 'alt-enter': {
    // Full screen and back, as on the desktop; the Return with Alt held is
    // swallowed, so the demo goes on.
    await page.goto(index);
    await expectFrames(page, assets, 1);
    for (const want of ['stage', null]) {
      await page.raw.keyboard.down('Alt');
      await page.raw.keyboard.press('Enter');
      await page.raw.keyboard.up('Alt');
      await page.waitFor((id) => (document.fullscreenElement?.id ?? null) === id, 5000, want)
          .catch(() => fail(`full screen is not ${want ?? 'off'} after Alt+Enter`));
      console.log(`after Alt+Enter, full screen: ${want ?? 'off'}`);
      await expectFrames(page, assets, 1);
    }
    await page.press('KeyQ');
    await expectEnded(page);
    break;
  }
  case 'missing-picture':
    await page.goto(`${index}?picture=no-such-picture.bmp`);
    await expectNotFoundBox(page);
    break;
  case 'damaged-picture-refused':
    // One the decoder refuses: on the desktop, the not-found box.
    await page.goto(`${index}?picture=/data/bmp_regressions/not_a_bmp_text.bmp`);
    await expectNotFoundBox(page);
    break;
  case 'damaged-picture-loads': {
    // One the decoder takes, as it documents: the desktop's frames of it.
    const damaged = join(testData, 'bmp_regressions', 'height_negative_top_down.bmp');
    await page.goto(`${index}?picture=/data/bmp_regressions/height_negative_top_down.bmp`);
    await expectFrames(page, pictureFolder(damaged), 2);
    await page.press('Escape');
    await expectEnded(page);
    break;
  }
  case 'own-picture':
    await ownPictureAndRunAgain(page, index, own);
    break;
  case 'stats': {
    // ?stats: the corner says how the demo runs, a second at a time, while
    // the frames stay exact and a key still ends it.
    await page.goto(`${index}?stats`);
    await expectFrames(page, assets, 1);
    const pattern = /^([\d.]+) fps \(([\d.]+) drawn\) · (\d+) dropped · main thread ([\d.]+)%$/;
    const corner = () => page.evaluate(() => document.getElementById('stats')?.textContent);
    await page.waitFor((source) => new RegExp(source).test(
        document.getElementById('stats')?.textContent), 5000, pattern.source)
        .catch(async () => fail(`the corner says "${await corner()}"`));
    const text = await corner();
    console.log(`the corner says: ${text}`);
    const [, fps, drawn, , busy] = text.match(pattern).map(Number);
    // 62.5 flips a second at most (fewer on a loaded machine); more would
    // count some twice.
    if (!(fps > 0 && fps <= 70)) fail(`${fps} fps`);
    if (!(drawn > 0 && drawn <= fps + 5)) fail(`${drawn} frames drawn a second of ${fps} flipped`);
    if (!(busy > 0 && busy < 100)) fail(`the main thread busy ${busy}% of the time`);
    await page.press('Space');
    await expectEnded(page);
    break;
  }
  case 'from-disk':
    // index.html double-clicked: the same as served.
    await framesThenKey(page, onDisk);
    await ownPictureAndRunAgain(page, onDisk, own);
    break;
  case 'from-disk-picture-by-address': {
    // A picture by address cannot be read from disk: the page says how to
    // serve the folder, and a dropped picture runs.
    await page.goto(`${onDisk}?picture=other.bmp`);
    const {text} = await expectNotice(page, 1000);
    for (const words of ['other.bmp', 'python3 -m http.server', 'Your picture']) {
      if (!text.includes(words)) fail(`the notice does not say "${words}"`);
    }
    await dropPicture(page, own);
    await expectFrames(page, pictureFolder(own), 1);
    await page.press('Escape');
    await expectEnded(page);
    break;
  }
  case 'from-disk-without-program': {
    // index.html opened from a zip viewer, which unpacks only that file:
    // the page says what is missing instead of waiting.
    const alone = join(scratch, 'alone');
    mkdirSync(alone);
    for (const file of ['index.html', 'page.js', 'stats.js']) {
      copyFileSync(join(webBuild, file), join(alone, file));
    }
    await page.goto(pathToFileURL(join(alone, 'index.html')).href);
    const {text} = await expectNotice(page, 500);
    for (const words of ['ondulix.js', 'Unpack the whole web zip']) {
      if (!text.includes(words)) fail(`the notice does not say "${words}"`);
    }
    return false; // no program, so nothing drew
  }
  case 'reduced-motion': {
    // Nothing moves until Start; then the demo runs as always.
    await page.goto(index);
    const {start} = await expectNotice(page, 1500);
    if (!start) fail('no Start control');
    if (!(await page.evaluate(() => document.activeElement?.id === 'start'))) {
      fail('Start does not have the focus');
    }
    await page.click('#start');
    await expectFrames(page, assets, 2);
    await page.press('Space');
    await expectEnded(page);
    break;
  }
  case 'first-paint': {
    // On a slow network the page shows itself, its bar and its words,
    // before the program has come: no script holds up its first paint.
    await page.raw.emulateNetworkConditions({download: 150 * 1024, upload: 150 * 1024,
                                             latency: 50});
    await page.goto(index);
    await page.waitFor(() => typeof createOndulix === 'function', 20000);
    const [paint, scripts] = await page.evaluate(() => [
      performance.getEntriesByName('first-contentful-paint')[0]?.startTime,
      performance.getEntriesByType('resource').filter((r) => r.initiatorType === 'script')
          .map((r) => ({name: r.name.split('/').pop(), end: r.responseEnd,
                        blocking: r.renderBlockingStatus})),
    ]);
    console.log(`first paint at ${paint} ms; ${JSON.stringify(scripts)}`);
    const program = scripts.find((r) => r.name === 'ondulix.js');
    if (!program) fail('the page did not load ondulix.js');
    if (!(paint < program.end)) fail(`the first paint (${paint} ms) waited for the program`);
    for (const r of scripts) if (r.blocking !== 'non-blocking') fail(`${r.name} blocks rendering`);
    await expectFrames(page, assets, 1);
    await page.press('Space');
    await expectEnded(page);
    break;
  }
  case 'phone-upright':
    await phoneUpright(browser, index);
    return false; // its pages are closed
  case 'phone-sideways':
    await phoneSideways(browser, index);
    return false;
  default:
    fail(`unknown case ${caseName}`);
  }
  return true;
}

// How the page drew: its own choice, except where the case asked for WebGL2;
// Chromium's WebGL2 is software here, which the page passes over.
async function expectPresentation(page) {
  const drawnWith = await page.evaluate(() => document.getElementById('screen').dataset.presentation);
  console.log(`${browserName} drew with ${drawnWith}`);
  const want = caseName === 'webgl2' ? 'webgl2' : browserName === 'chromium' ? '2d' : null;
  if (!['webgl2', '2d'].includes(drawnWith)) fail(`the page says it drew with ${drawnWith}`);
  if (want && drawnWith !== want) fail(`the page drew with ${drawnWith}, not ${want}`);
}

let server = null;
let browser = null;
try {
  browser = await openBrowser(browserName, {reducedMotion: caseName === 'reduced-motion'});
  const webBuild = browser.pageFolder(builtPage);
  server = await serve({'/': webBuild, '/data/': testData});
  const page = await browser.newPage(log);
  if (await run(browser, page, server.origin, webBuild)) await expectPresentation(page);
  console.log(`PASS ${browserName}.${caseName}`);
} catch (error) {
  keep = true;
  console.error(`FAIL ${browserName}.${caseName}: ${error.message}`);
  if (log.length) console.error(`--- the page's console:\n${log.join('\n')}`);
  process.exitCode = 1;
} finally {
  if (browser) await browser.close();
  if (server) await server.close();
  if (keep) {
    console.error(`pictures of the canvas kept in ${scratch}`);
  } else {
    rmSync(scratch, {recursive: true, force: true});
  }
}
