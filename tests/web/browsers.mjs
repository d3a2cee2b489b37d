// The three browsers the page is checked in, behind one small interface:
// Debian's Chromium and Firefox ESR, headless, driven by puppeteer-core (over
// the DevTools protocol and over WebDriver BiDi), and WebKitGTK's MiniBrowser
// on a private Xvfb, driven through WebKitWebDriver by selenium-webdriver.
// None is downloaded: each is the machine's own.
//
// openBrowser(name, {reducedMotion}) resolves to {name, pageFolder(build),
// newPage(log), close()}; a page has goto, evaluate, waitFor, press, click,
// hover, pickFile and, for puppeteer's browsers, `raw` (the puppeteer page).
// Every page is watched as lib.mjs's newWatchedPage watches it (for Chromium
// and Firefox, it makes them): window.ondulixFrames and window.ondulixShown.
import {spawn} from 'node:child_process';
import {copyFileSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {createServer} from 'node:net';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import puppeteer from 'puppeteer-core';
import {Builder, By, Capabilities, Key} from 'selenium-webdriver';
import {launchBrowser, newWatchedPage, waitInPage, watchScript} from './lib.mjs';

export const browserNames = ['chromium', 'firefox', 'webkit'];

// Keys by their KeyboardEvent.code, as each driver names them.
const puppeteerKeys = {Space: ' ', Enter: 'Enter', Escape: 'Escape', KeyQ: 'q'};
const seleniumKeys = {Space: ' ', Enter: Key.ENTER, Escape: Key.ESCAPE, KeyQ: 'q'};

async function puppeteerPage(page, browserName, reducedMotion) {
  if (reducedMotion && browserName === 'chromium') {
    await page.emulateMediaFeatures([{name: 'prefers-reduced-motion', value: 'reduce'}]);
  }
  return {
    raw: page,
    goto: (url) => page.goto(url),
    evaluate: (f, ...args) => page.evaluate(f, ...args),
    waitFor: (f, ms, ...args) => waitInPage(page, f, ms, ...args),
    press: (code) => page.keyboard.press(puppeteerKeys[code]),
    click: (selector) => page.click(selector),
    hover: (selector) => page.hover(selector),
    pickFile: async (selector, path) => (await page.$(selector)).uploadFile(path),
  };
}

async function puppeteerBrowser(name, reducedMotion) {
  let browser;
  let profile = null;
  if (name === 'chromium') {
    browser = await launchBrowser();
  } else {
    profile = mkdtempSync(join(tmpdir(), 'ondulix-firefox-'));
    browser = await puppeteer.launch({
      browser: 'firefox',
      executablePath: process.env.ONDULIX_FIREFOX || '/usr/bin/firefox-esr',
      headless: true,
      userDataDir: profile,
      // Firefox has no emulation of it over BiDi: the profile asks instead.
      extraPrefsFirefox: reducedMotion ? {'ui.prefersReducedMotion': 1} : {},
    });
  }
  return {
    name,
    pageFolder: (build) => build,
    async newPage(log = []) {
      return puppeteerPage(await newWatchedPage(browser, log), name, reducedMotion);
    },
    async close() {
      try {
        await browser.close();
      } finally {
        if (profile) rmSync(profile, {recursive: true, force: true});
      }
    },
  };
}

function freePort() {
  return new Promise((resolve, reject) => {
    const server = createServer();
    server.on('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const {port} = server.address();
      server.close(() => resolve(port));
    });
  });
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// A private X server; resolves to {display, stop()}.
async function startXvfb() {
  const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
                     {stdio: ['ignore', 'ignore', 'ignore', 'pipe']});
  const display = await new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error('Xvfb did not start')), 10000);
    xvfb.on('error', reject);
    xvfb.stdio[3].once('data', (data) => {
      clearTimeout(timer);
      resolve(`:${String(data).trim()}`);
    });
  });
  return {display, stop: () => xvfb.kill()};
}

// WebDriver has no way to run a script before a page's own, so WebKit is
// given a copy of the page with the watcher as its first script.
function watchedCopy(build, scratch) {
  const folder = join(scratch, 'watched');
  mkdirSync(folder, {recursive: true});
  for (const file of ['ondulix.js', 'page.js', 'stats.js']) {
    copyFileSync(join(build, file), join(folder, file));
  }
  const html = readFileSync(join(build, 'index.html'), 'utf8');
  const head = html.indexOf('<meta charset="utf-8">') + '<meta charset="utf-8">'.length;
  if (head < 30) throw new Error('index.html has no <meta charset> to put the watcher after');
  writeFileSync(join(folder, 'index.html'),
                `${html.slice(0, head)}\n<script>${watchScript}</script>${html.slice(head)}`);
  return folder;
}

async function webkitBrowser(reducedMotion) {
  const scratch = mkdtempSync(join(tmpdir(), 'ondulix-webkit-'));
  const x = await startXvfb();
  const env = {...process.env, DISPLAY: x.display};
  if (reducedMotion) {
    // WebKitGTK takes reduced motion from GTK's animations setting.
    mkdirSync(join(scratch, 'config', 'gtk-3.0'), {recursive: true});
    writeFileSync(join(scratch, 'config', 'gtk-3.0', 'settings.ini'),
                  '[Settings]\ngtk-enable-animations=0\n');
    env.XDG_CONFIG_HOME = join(scratch, 'config');
  }
  const port = await freePort();
  const driverProcess = spawn(process.env.ONDULIX_WEBKIT_DRIVER || '/usr/bin/WebKitWebDriver',
                              [`--port=${port}`], {env, stdio: 'ignore'});
  const stop = () => {
    driverProcess.kill();
    x.stop();
    rmSync(scratch, {recursive: true, force: true});
  };
  let driver;
  try {
    const server = `http://127.0.0.1:${port}`;
    for (let i = 0; ; ++i) {
      const up = await fetch(`${server}/status`).then((r) => r.ok, () => false);
      if (up) break;
      if (i === 100) throw new Error('WebKitWebDriver does not answer');
      await sleep(100);
    }
    const binary = process.env.ONDULIX_WEBKIT_BROWSER ||
                   '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
    driver = await new Builder().usingServer(server).withCapabilities(new Capabilities({
      browserName: 'MiniBrowser',
      'webkitgtk:browserOptions': {binary, args: ['--automation']},
    })).build();
    await driver.manage().window().setRect({width: 1000, height: 700});
  } catch (error) {
    stop();
    throw error;
  }
  let folder = null;
  return {
    name: 'webkit',
    pageFolder(build) {
      folder = folder || watchedCopy(build, scratch);
      return folder;
    },
    async newPage() {
      return {
        goto: (url) => driver.get(url),
        evaluate: (f, ...args) => driver.executeScript(`return (${f}).apply(null, arguments)`,
                                                       ...args),
        async waitFor(f, ms, ...args) {
          const script = `return (${f}).apply(null, arguments)`;
          await driver.wait(() => driver.executeScript(script, ...args), ms);
        },
        press: (code) => driver.actions().sendKeys(seleniumKeys[code]).perform(),
        click: async (selector) => (await driver.findElement(By.css(selector))).click(),
        hover: async (selector) => driver.actions()
            .move({origin: await driver.findElement(By.css(selector))}).perform(),
        pickFile: async (selector, path) =>
          (await driver.findElement(By.css(selector))).sendKeys(path),
      };
    },
    async close() {
      try {
        await driver.quit();
      } finally {
        stop();
      }
    },
  };
}

export function openBrowser(name, {reducedMotion = false} = {}) {
  if (name === 'webkit') return webkitBrowser(reducedMotion);
  if (!browserNames.includes(name)) throw new Error(`unknown browser ${name}`);
  return puppeteerBrowser(name, reducedMotion);
}
