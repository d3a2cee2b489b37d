// Shared by the browser tests and benchmarks: a local web server for the
// page, Debian's Chromium headless through puppeteer-core (which downloads
// no browser), and what they read from the page.
import {createServer} from 'node:http';
import {mkdtempSync, readFileSync, rmSync, statSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {extname, join, normalize, sep} from 'node:path';
import puppeteer from 'puppeteer-core';

// Chromium's phones, for the scripts outside this folder too.
export {KnownDevices} from 'puppeteer-core';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.bmp': 'image/bmp',
  '.css': 'text/css; charset=utf-8',
};

// Serves each folder of `mounts` ({'/': dir, '/data/': other}) on 127.0.0.1
// at a free port. Resolves to {origin, close()}.
export function serve(mounts) {
  const prefixes = Object.keys(mounts).sort((a, b) => b.length - a.length);
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const prefix = prefixes.find((p) => path.startsWith(p));
    const root = prefix && normalize(mounts[prefix]).replace(/[\\/]+$/, '');
    const file = root && normalize(join(root, path.slice(prefix.length) || 'index.html'));
    let body = null;
    if (file && (file === root || file.startsWith(root + sep))) {
      try {
        if (statSync(file).isFile()) body = readFileSync(file);
      } catch {
        body = null;
      }
    }
    if (!body) {
      response.writeHead(404, {'Content-Type': 'text/plain'});
      response.end('not found');
      return;
    }
    response.writeHead(200, {
      'Content-Type': types[extname(file)] || 'application/octet-stream',
      'Cache-Control': 'no-store',
    });
    response.end(body);
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve({
        origin: `http://127.0.0.1:${server.address().port}`,
        close: () => new Promise((done) => server.close(done)),
      });
    });
  });
}

// Debian's Chromium, headless, with a profile of its own that is removed on
// close; nothing it starts reaches the network. Without a GPU, its WebGL is
// SwiftShader's, in software, which it offers to trusted pages only: ours.
export async function launchBrowser() {
  const profile = mkdtempSync(join(tmpdir(), 'ondulix-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.ONDULIX_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: [
      '--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--enable-unsafe-swiftshader',
      `--user-data-dir=${profile}`,
    ],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    try {
      await close();
    } finally {
      rmSync(profile, {recursive: true, force: true});
    }
  };
  return browser;
}

// What a watched page runs before its own scripts.
export const watchScript = 'window.ondulixFrames = []; window.ondulixShown = []; ' +
    'window.ondulixWatch = {onFrame: (ms) => window.ondulixFrames.push(ms), ' +
    'onShown: (ms) => window.ondulixShown.push(ms)};';

// A page whose frames are counted: window.ondulixFrames holds the time
// (performance.now(), from the start of navigation) of every frame the
// program flipped, window.ondulixShown of every one drawn on the canvas.
// The page's console goes to `log`.
export async function newWatchedPage(browser, log = []) {
  const page = await browser.newPage();
  await page.setViewport({width: 1000, height: 700});
  await page.evaluateOnNewDocument(watchScript);
  page.on('console', (message) => log.push(`console.${message.type()}: ${message.text()}`));
  page.on('pageerror', (error) => log.push(`page error: ${error.message}`));
  return page;
}

// Waits until `predicate` (run in the page) is true, up to `ms`.
export function waitInPage(page, predicate, ms, ...args) {
  return page.waitForFunction(predicate, {timeout: ms, polling: 50}, ...args);
}

export function scratchDir(name) {
  return mkdtempSync(join(tmpdir(), `ondulix-${name}-`));
}
