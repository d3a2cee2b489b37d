// The browser build measured in Debian's headless Chromium (tools/bench.sh
// runs it beside the native benchmarks), its page served from build/web on
// 127.0.0.1:
// - the frame body of frame 335 (bench/web_frame_body.cpp, median of 10);
// - navigation to the first frame drawn on the canvas (performance.now()
//   from the start of navigation; median of 5 page loads after one to warm
//   up), served and opened from disk (file://);
// - the pacing of 600 frames (intervals between the program's flips), how
//   busy the page's main thread was meanwhile (its tasks' time per second,
//   Chromium's own count) and the CPU time of all of Chromium's processes
//   per second: as the page draws frames by its own choice, then the same
//   with one core kept busy by another process, then (where the page can)
//   with WebGL2 asked for even in software (?webgl=1); and, after the
//   first of these, how many tasks the main thread ran a second (a trace's
//   RunTask events: each wakes the thread);
// - how late a bare 1 ms wait of a page ends (scheduler.postTask, as the
//   program's waits are), beside the pacing, in a blank page;
// - what the page downloads, file by file, as Chromium received it.
// Prints one line of JSON and writes it to OUT when given.
//
// Usage: node bench/web_bench.mjs WEB_BUILD [OUT]
import {spawn} from 'node:child_process';
import {existsSync, readFileSync, readdirSync, writeFileSync} from 'node:fs';
import {join, resolve} from 'node:path';
import {pathToFileURL} from 'node:url';
import {launchBrowser, newWatchedPage, serve, waitInPage} from '../tests/web/lib.mjs';
import {mainThreadTasksPerSecond} from './web_trace.mjs';

const [webBuild, out] = process.argv.slice(2);
const startups = 5;
const pacedFrames = 600;

function median(values) {
  const s = [...values].sort((a, b) => a - b);
  return s.length % 2 ? s[s.length >> 1] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
}

// Nearest-rank percentiles, as bench/pacing_stats.cpp takes them natively.
// The median, the 99th percentile (nearest rank) and the largest of `values`.
function spread(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const rank = (p) => sorted[Math.max(0, Math.ceil((p / 100) * sorted.length) - 1)];
  return {p50: rank(50), p99: rank(99), max: sorted[sorted.length - 1]};
}

function intervalStats(times) {
  const intervals = times.slice(1).map((t, i) => t - times[i]);
  const {p50, p99, max} = spread(intervals);
  return {
    intervals: intervals.length,
    mean_ms: (times[times.length - 1] - times[0]) / intervals.length,
    p50_ms: p50,
    p99_ms: p99,
    max_ms: max,
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
  // An older page, which says nothing of how it draws, drew each frame as it
  // was flipped.
  const drawn = () => (document.getElementById('screen').dataset.presentation
                           ? window.ondulixShown : window.ondulixFrames);
  await waitInPage(page, `(${drawn})().length >= 1`, 10000);
  const first = await page.evaluate(`(${drawn})()[0]`);
  await page.close();
  return {first, downloads};
}

// CPU seconds used so far by process `root` and every process under it.
function treeCpuSeconds(root) {
  const stats = [];
  for (const name of readdirSync('/proc')) {
    if (!/^\d+$/.test(name)) continue;
    try {
      // After the command's closing parenthesis: state, ppid, ..., utime (12th), stime.
      const text = readFileSync(`/proc/${name}/stat`, 'utf8');
      const fields = text.slice(text.lastIndexOf(')') + 2).split(' ');
      stats.push({pid: Number(name), ppid: Number(fields[1]),
                  ticks: Number(fields[11]) + Number(fields[12])});
    } catch {
      // ended meanwhile
    }
  }
  const inTree = new Set([root]);
  for (let grew = true; grew;) {
    grew = false;
    for (const s of stats) {
      if (!inTree.has(s.pid) && inTree.has(s.ppid)) {
        inTree.add(s.pid);
        grew = true;
      }
    }
  }
  return stats.filter((s) => inTree.has(s.pid)).reduce((sum, s) => sum + s.ticks, 0) / 100;
}

// One core kept busy by another process, as a parallel build would.
function spinner() {
  return spawn(process.execPath, ['-e', 'for (;;) {}'], {stdio: 'ignore'});
}

async function pacing(browser, origin, query = '', traceSeconds = 0) {
  const page = await newWatchedPage(browser);
  await page.goto(`${origin}/index.html${query}`);
  const presentation = await page.$eval('#screen', (canvas) => canvas.dataset.presentation);
  const cpuBefore = treeCpuSeconds(browser.process().pid);
  const before = await page.metrics();
  // Only the page's own timer runs meanwhile: nothing is asked of it until
  // the frames are in.
  await new Promise((resolve) => setTimeout(resolve, (pacedFrames + 1) * 16 + 1000));
  await waitInPage(page, (n) => window.ondulixFrames.length > n, 20000, pacedFrames);
  const after = await page.metrics();
  const cpuAfter = treeCpuSeconds(browser.process().pid);
  const times = await page.evaluate(() => window.ondulixFrames);
  const tasks = traceSeconds ? await mainThreadTasksPerSecond(page, origin, traceSeconds) : null;
  await page.close();
  // How busy the page's main thread was, the program's waits included.
  const wall = after.Timestamp - before.Timestamp;
  const busy = (after.TaskDuration - before.TaskDuration) / wall;
  return {...intervalStats(times.slice(0, pacedFrames + 1)), main_thread_busy: busy,
          browser_cpu: (cpuAfter - cpuBefore) / wall, presentation: presentation ?? null,
          ...(tasks === null ? {} : {main_thread_tasks_per_s: tasks})};
}

// How much later than asked `count` waits of 1 ms end in a blank page, in
// ms: mean, median, 99th percentile and maximum.
async function sleeper(browser, count = 2000) {
  const page = await browser.newPage();
  const late = await page.evaluate(async (n) => {
    const wait = typeof scheduler !== 'undefined' && scheduler.postTask
        ? () => scheduler.postTask(() => {}, {delay: 1})
        : () => new Promise((resolve) => setTimeout(resolve, 1));
    const lateness = [];
    for (let i = 0; i < n; ++i) {
      const before = performance.now();
      await wait();
      lateness.push(performance.now() - before - 1);
    }
    return lateness;
  }, count);
  await page.close();
  const {p50, p99, max} = spread(late);
  return {sleeps: count, mean_late_ms: late.reduce((a, b) => a + b, 0) / count,
          p50_late_ms: p50, p99_late_ms: p99, max_late_ms: max};
}

const server = await serve({'/': webBuild});
const browser = await launchBrowser();
try {
  const result = {browser: await browser.version()};
  result.frame_body = await frameBody(browser, server.origin);
  const served = `${server.origin}/index.html`;
  const onDisk = pathToFileURL(join(resolve(webBuild), 'index.html')).href;
  const loads = [];
  // A build older than the one-file program fetches its .wasm, which a page
  // opened from disk cannot: it is measured served only.
  const pages = [[served, 'first_frame']];
  if (!existsSync(join(webBuild, 'ondulix.wasm'))) pages.push([onDisk, 'first_frame_disk']);
  for (const [url, key] of pages) {
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
  result.pacing = await pacing(browser, server.origin, '', 5);
  result.sleeper = await sleeper(browser);
  const busyCore = spinner();
  try {
    result.pacing_one_core_busy = await pacing(browser, server.origin);
  } finally {
    busyCore.kill();
  }
  if (result.pacing.presentation) {
    result.pacing_webgl2 = await pacing(browser, server.origin, '?webgl=1');
  }
  const line = JSON.stringify(result);
  console.log(line);
  if (out) writeFileSync(out, line + '\n');
} finally {
  await browser.close();
  await server.close();
}
