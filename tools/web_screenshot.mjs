// docs/web.png: the browser build's page in Debian's headless Chromium, a
// second into the demo, at 1000x700 (tools/make_doc_pictures.sh runs it).
// Usage: node tools/web_screenshot.mjs WEB_BUILD OUT.png
import {launchBrowser, newWatchedPage, serve, waitInPage} from '../tests/web/lib.mjs';

const [webBuild, out] = process.argv.slice(2);
const server = await serve({'/': webBuild});
const browser = await launchBrowser();
try {
  const page = await newWatchedPage(browser);
  await page.setViewport({width: 1000, height: 700});
  await page.goto(`${server.origin}/index.html`);
  await waitInPage(page, () => window.ondulixFrames.length >= 70, 10000);
  await page.screenshot({path: out});
} finally {
  await browser.close();
  await server.close();
}
