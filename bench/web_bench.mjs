// The browser build measured in Debian's headless Chromium (tools/bench.sh
// runs it beside the native benchmarks), its page served from build/web on
// 127.0.0.1:
// - the frame body of frame 335 (bench/web_frame_body.cpp, median of 10);
// - navigation to the first frame shown (performance.now() at the first
//   putImageData of a flip, from the start of navigation; median of 5 page
//   loads after one to warm up), served and opened from disk (file://);
// - the pacing of 600 frames (intervals between the flips' putImageData),
//   and how busy the page's main thread was meanwhile (its tasks' time per
//   second, Chromium's own count);
// - what the page downloads, file by file, as Chromium received it.
// Prints one line of JSON and writes it to OUT when given.
//
// Usage: node bench/web_bench.mjs WEB_BUILD [OUT]
import {writeFileSync} from 'node:fs';
import {join, resolve} from 'node:path';
import {pathToFileURL} from 'node:url';
import {launchBrowser, newWatchedPage, serve, waitInPage} from '../tests/web/lib.mjs';

const [webBuild, out] = process.argv.slice(2);
const startups = 5;
const pacedFrames = 600;

function median(values) {
  const s = [...values].sort((a, b) => a - b);
  return s.length % 2 ? s[s.length >> 1] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
}

// Nearest-rank percentiles, as bench/pacing_stats.cpp takes them natively.
function intervalStats(times) {
  const intervals = times.slice(1).map((t, i) => t - times[i]);
  const sorted = [...intervals].sort((a, b) => a - b);
  const rank = (p) => sorted[Math.max(0, Math.ceil((p / 100) * sorted.length) - 1)];
  return {
    intervals: intervals.length,
    mean_ms: (times[times.length - 1] - times[0]) / intervals.length,
    p50_ms: rank(50),
    p99_ms: rank(99),
    max_ms: sorted[sorted.length - 1],
  };
}

async function frameBody(browser, origin) {
  const page = await browser.newPage();
  await page.goto(`${origin}/bench/frame_body.html?repetitions=10`);
  await waitInPage(page, () => document.getElementById('result').textContent.includes('}'),
                   120000);
  const result = JSON.parse(await page.$eval('#result', (e) => e.textContent));
  await page.close();
  return result;
}

// One page load: when its first frame was shown, and what it downloaded.
async function loadOnce(browser, url) {
  const page = await newWatchedPage(browser);
  const downloads = {};
  page.on('response', async (response) => {
    // The program's code inside ondulix.js, decoded, is no download.
    if (!/^(https?|file):/.test(response.url())) return;
    const name = new URL(response.url()).pathname.slice(1) || 'index.html';
    try {
      downloads[name] = (await response.buffer()).length;
    } catch {
      downloads[name] = null;
    }
  });
  await page.goto(url);
  await waitInPage(page, () => window.ondulixFrames.length >= 1, 10000);
  const first = await page.evaluate(() => window.ondulixFrames[0]);
  await page.close();
  return {first, downloads};
}

async function pacing(browser, origin) {
  const page = await newWatchedPage(browser);
  await page.goto(`${origin}/index.html`);
  const before = await page.metrics();
  // Only the page's own timer runs meanwhile: nothing is asked of it until
  // the frames are in.
  await new Promise((resolve) => setTimeout(resolve, (pacedFrames + 1) * 16 + 1000));
  await waitInPage(page, (n) => window.ondulixFrames.length > n, 20000, pacedFrames);
  const after = await page.metrics();
  const times = await page.evaluate(() => window.ondulixFrames);
  await page.close();
  // How busy the page's main thread was, the program's waits included.
  const busy = (after.TaskDuration - before.TaskDuration) / (after.Timestamp - before.Timestamp);
  return {...intervalStats(times.slice(0, pacedFrames + 1)), main_thread_busy: busy};
}

const server = await serve({'/': webBuild});
const browser = await launchBrowser();
try {
  const result = {browser: await browser.version()};
  result.frame_body = await frameBody(browser, server.origin);
  const served = `${server.origin}/index.html`;
  const onDisk = pathToFileURL(join(resolve(webBuild), 'index.html')).href;
  const loads = [];
  for (const [url, key] of [[served, 'first_frame'], [onDisk, 'first_frame_disk']]) {
    await loadOnce(browser, url); // warm-up: the disk's caches, Chromium's own
    const these = [];
    for (let i = 0; i < startups; ++i) these.push(await loadOnce(browser, url));
    result[`${key}_ms`] = these.map((l) => l.first);
    result[`${key}_median_ms`] = median(result[`${key}_ms`]);
    if (url === served) loads.push(...these);
  }
  result.downloads = loads[loads.length - 1].downloads;
  result.download_js_wasm_bytes = Object.entries(result.downloads)
      .filter(([name]) => /\.(js|wasm)$/.test(name))
      .reduce((sum, [, bytes]) => sum + bytes, 0);
  result.pacing = await pacing(browser, server.origin);
  const line = JSON.stringify(result);
  console.log(line);
  if (out) writeFileSync(out, line + '\n');
} finally {
  await browser.close();
  await server.close();
}
