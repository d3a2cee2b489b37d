// The pictures of the browser build's page in docs/, in Debian's headless
// Chromium at 1000x700 (tools/make_doc_pictures.sh runs it):
// - web.png: the page opened from disk (file://), as a double-clicked
//   index.html is, a second into the demo (frame 70); served, it looks the
//   same;
// - web-reduced-motion.png: the page when the system asks for reduced
//   motion, waiting for Start;
// - web-phone.png: the page served, on a phone held upright (Chromium's
//   iPhone 13, at one device pixel per CSS pixel), a second into the demo.
// Usage: node tools/web_screenshot.mjs WEB_BUILD DOCS_DIR
import {join, resolve} from 'node:path';
import {pathToFileURL} from 'node:url';
import {KnownDevices, launchBrowser, newWatchedPage, serve, waitInPage} from '../tests/web/lib.mjs';

const [webBuild, docs] = process.argv.slice(2);
const server = await serve({'/': webBuild});
const browser = await launchBrowser();
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));
try {
  const phone = KnownDevices['iPhone 13'];
  const shots = [
    ['web.png', pathToFileURL(join(resolve(webBuild), 'index.html')).href, false],
    ['web-reduced-motion.png', `${server.origin}/index.html`, true],
    ['web-phone.png', `${server.origin}/index.html`, false, phone],
  ];
  for (const [name, url, reduced, device] of shots) {
    const page = await newWatchedPage(browser);
    if (device) {
      await page.emulate({...device, viewport: {...device.viewport, deviceScaleFactor: 1}});
    } else {
      await page.setViewport({width: 1000, height: 700});
    }
    if (reduced) {
      await page.emulateMediaFeatures([{name: 'prefers-reduced-motion', value: 'reduce'}]);
    }
    await page.goto(url);
    if (reduced) {
      await sleep(1000); // nothing starts, however long it waits
    } else {
      await waitInPage(page, () => window.ondulixFrames.length >= 70, 10000);
    }
    await page.screenshot({path: join(docs, name)});
    await page.close();
  }
} finally {
  await browser.close();
  await server.close();
}
