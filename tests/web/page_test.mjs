// The browser build end to end: its page served on 127.0.0.1, in Debian's
// headless Chromium. The canvas is compared pixel for pixel with the frames
// of the native frame renderer, as the desktop end-to-end tests compare
// screenshots. Some cases open the page from disk (file://), as a person
// who double-clicks index.html does.
//
// Each case runs on one of the page's ways of drawing frames, named by
// ONDULIX_WEB_PRESENTATION: "webgl2" (the default; asked for with ?webgl=1,
// as headless Chromium's WebGL2 is software, which the page otherwise
// passes over) or "2d" (?webgl=0), and checks that the page drew them that
// way.
//
// Usage: node page_test.mjs CASE WEB_BUILD FRAME_RENDERER ASSETS TEST_DATA
import {execFileSync} from 'node:child_process';
import {copyFileSync, mkdirSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {join, resolve} from 'node:path';
import {pathToFileURL} from 'node:url';
import {canvasPng, launchBrowser, newWatchedPage, scratchDir, serve, statusText,
        waitInPage} from './lib.mjs';

const [caseName, webBuild, renderer, assets, testData] = process.argv.slice(2);
const presentation = process.env.ONDULIX_WEB_PRESENTATION || 'webgl2';
const ended1 = 'Ondulix ended (exit code 1)';
const notFound = 'earth.bmp ファイルが見つかりません';
const scratch = scratchDir('web-e2e');
const log = [];
let keep = false;

function fail(message) {
  throw new Error(message);
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Takes pictures of the canvas until `count` of them show frames of the
// demo run on the picture in `pictureDir`, each a later frame than the one
// before. A frame shown is at most the number of frames the page has shown.
async function expectFrames(page, pictureDir, count) {
  let matched = 0;
  let last = 0;
  // Past the first few frames, which are all still (amplitude under 1), and
  // a few frames on between pictures.
  let seen = await page.evaluate(() => window.ondulixFrames.length) + 7;
  for (let attempt = 1; attempt <= count * 3; ++attempt) {
    await waitInPage(page, (n) => window.ondulixFrames.length > n, 10000, seen)
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
  await waitInPage(page, (text) => document.getElementById('status').textContent === text, 5000,
                   ended1).catch(async () => fail(`the page says "${await statusText(page)}"`));
  console.log(`the page says: ${await statusText(page)}`);
}

// The dialog is up with the not-found text, and stays up: the program waits
// for OK, which then ends it with exit code 1.
async function expectNotFoundBox(page) {
  await waitInPage(page, () => document.getElementById('message').open, 10000)
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
  if (await page.evaluate(() => window.ondulixFrames.length) !== 0) fail('frames were shown');
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
  const frames = await page.evaluate(() => window.ondulixFrames.length);
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

// The page at `index` (served or on disk), with `query` (e.g. "?picture=…"),
// drawing frames the way under test.
function open(page, index, query = '') {
  const url = new URL(`${index}${query}`);
  url.searchParams.set('webgl', presentation === '2d' ? '0' : '1');
  return page.goto(url.href);
}

// The demo's frames, then a key that ends it with exit code 1.
async function framesThenKey(page, url) {
  await open(page, url);
  await expectFrames(page, assets, 3);
  await page.keyboard.press('Space');
  await expectEnded(page);
}

// A picked file restarts the demo with it; it stays the picture when the
// demo is run again.
async function ownPictureAndRunAgain(page, url, own) {
  await open(page, url);
  await expectFrames(page, assets, 1);
  await page.evaluate(() => { window.ondulixFrames = []; });
  await (await page.$('#picture')).uploadFile(own);
  await expectFrames(page, pictureFolder(own), 1);
  // The demo it replaced is stopped, not left running beside it: frames
  // come at one demo's pace, 62.5 a second.
  const before = await page.evaluate(() => window.ondulixFrames.length);
  await sleep(1000);
  const perSecond = await page.evaluate(() => window.ondulixFrames.length) - before;
  console.log(`${perSecond} frames in the second after`);
  if (perSecond > 66) fail(`${perSecond} frames a second: the first demo still runs`);
  await page.keyboard.press('Enter');
  await expectEnded(page);
  await page.evaluate(() => { window.ondulixFrames = []; });
  await page.click('#again');
  await expectFrames(page, pictureFolder(own), 1);
  if ((await statusText(page)).startsWith('Ondulix ended')) fail('"Run again" did not run it');
}

// Runs the case; false when the page had no program to draw with.
async function run(page, origin) {
  const index = `${origin}/index.html`;
  const onDisk = pathToFileURL(join(resolve(webBuild), 'index.html')).href;
  const own = join(testData, 'bmp_regressions', 'index_beyond_table.bmp');
  switch (caseName) {
  case 'frames-then-key':
    await framesThenKey(page, index);
    break;
  case 'close-control':
    await open(page, index);
    await expectFrames(page, assets, 1);
    // The pointer over the picture: the demo hides it, as on the desktop.
    await page.mouse.move(500, 300);
    await waitInPage(page, () => document.getElementById('screen').style.cursor === 'none', 5000)
        .catch(() => fail('the pointer is not hidden over the canvas'));
    console.log('the pointer is hidden over the canvas');
    await page.click('#close');
    await expectEnded(page);
    break;
  case 'alt-enter': {
    // Full screen and back, as on the desktop; the Return with Alt held is
    // swallowed, so the demo goes on.
    await open(page, index);
    await expectFrames(page, assets, 1);
    for (const want of ['stage', null]) {
      await page.keyboard.down('Alt');
      await page.keyboard.press('Enter');
      await page.keyboard.up('Alt');
      await waitInPage(page, (id) => (document.fullscreenElement?.id ?? null) === id, 5000, want)
          .catch(() => fail(`full screen is not ${want ?? 'off'} after Alt+Enter`));
      console.log(`after Alt+Enter, full screen: ${want ?? 'off'}`);
      await expectFrames(page, assets, 1);
    }
    await page.keyboard.press('KeyQ');
    await expectEnded(page);
    break;
  }
  case 'missing-picture':
    await open(page, index, '?picture=no-such-picture.bmp');
    await expectNotFoundBox(page);
    break;
  case 'damaged-picture-refused':
    // One the decoder refuses: on the desktop, the not-found box.
    await open(page, index, '?picture=/data/bmp_regressions/not_a_bmp_text.bmp');
    await expectNotFoundBox(page);
    break;
  case 'damaged-picture-loads': {
    // One the decoder takes, as it documents: the desktop's frames of it.
    const damaged = join(testData, 'bmp_regressions', 'height_negative_top_down.bmp');
    await open(page, index, '?picture=/data/bmp_regressions/height_negative_top_down.bmp');
    await expectFrames(page, pictureFolder(damaged), 2);
    await page.keyboard.press('Escape');
    await expectEnded(page);
    break;
  }
  case 'own-picture-and-run-again':
    await ownPictureAndRunAgain(page, index, own);
    break;
  case 'stats': {
    // ?stats: the corner says how the demo runs, a second at a time, while
    // the frames stay exact and a key still ends it.
    await open(page, index, '?stats');
    await expectFrames(page, assets, 1);
    const pattern = /^([\d.]+) fps \(([\d.]+) drawn\) · (\d+) dropped · main thread ([\d.]+)%$/;
    await waitInPage(page, (source) => new RegExp(source).test(
        document.getElementById('stats')?.textContent), 5000, pattern.source)
        .catch(async () => fail(`the corner says "${await page.$eval('#stats', (e) => e.textContent)
            .catch(() => 'nothing')}"`));
    const text = await page.$eval('#stats', (e) => e.textContent);
    console.log(`the corner says: ${text}`);
    const [, fps, drawn, , busy] = text.match(pattern).map(Number);
    // 62.5 flips a second at most (fewer on a loaded machine); more would
    // count some twice.
    if (!(fps > 0 && fps <= 70)) fail(`${fps} fps`);
    if (!(drawn > 0 && drawn <= fps + 5)) fail(`${drawn} frames drawn a second of ${fps} flipped`);
    if (!(busy > 0 && busy < 100)) fail(`the main thread busy ${busy}% of the time`);
    await page.keyboard.press('Space');
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
    await open(page, onDisk, '?picture=other.bmp');
    const {text} = await expectNotice(page, 1000);
    for (const words of ['other.bmp', 'python3 -m http.server', 'Your picture']) {
      if (!text.includes(words)) fail(`the notice does not say "${words}"`);
    }
    await dropPicture(page, own);
    await expectFrames(page, pictureFolder(own), 1);
    await page.keyboard.press('Escape');
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
    await page.emulateMediaFeatures([{name: 'prefers-reduced-motion', value: 'reduce'}]);
    await open(page, index);
    const {start} = await expectNotice(page, 1500);
    if (!start) fail('no Start control');
    if (!(await page.evaluate(() => document.activeElement?.id === 'start'))) {
      fail('Start does not have the focus');
    }
    await page.click('#start');
    await expectFrames(page, assets, 2);
    await page.keyboard.press('Space');
    await expectEnded(page);
    break;
  }
  default:
    fail(`unknown case ${caseName}`);
  }  return true;
}

const server = await serve({'/': webBuild, '/data/': testData});
const browser = await launchBrowser();
try {
  const page = await newWatchedPage(browser, log);
  if (await run(page, server.origin)) {
    const drawnWith = await page.$eval('#screen', (canvas) => canvas.dataset.presentation);
    if (drawnWith !== presentation) fail(`the page drew with ${drawnWith}, not ${presentation}`);
  }
  console.log(`PASS ${caseName}`);
} catch (error) {
  keep = true;
  console.error(`FAIL ${caseName}: ${error.message}`);
  if (log.length) console.error(`--- the page's console:\n${log.join('\n')}`);
  process.exitCode = 1;
} finally {
  await browser.close();
  await server.close();
  if (keep) {
    console.error(`pictures of the canvas kept in ${scratch}`);
  } else {
    rmSync(scratch, {recursive: true, force: true});
  }
}
