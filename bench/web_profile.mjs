// Where the page's main thread spends its time while the demo runs: a
// Chromium trace of a few seconds under the benchmark's conditions (the same
// browser, flags and viewport as bench/web_bench.mjs), summed three ways:
// - by task: the main thread's top-level tasks, told apart by what runs in
//   them (the page's rendering, a timer, a message), how many a second and
//   how long;
// - by trace event, each event's own time (its time less that of the events
//   nested in it), on the page's main thread;
// - by JavaScript or WebAssembly function, from V8's sampling profiler in the
//   same trace (self time; the program's functions by their wasm names).
// Prints the top of both, and the trace's wall time, as plain text.
//
// Usage: node bench/web_profile.mjs WEB_BUILD [SECONDS] [QUERY] [TRACE_OUT]
//   QUERY: appended to index.html's address, e.g. "?webgl=0"
import {writeFileSync} from 'node:fs';
import {launchBrowser, newWatchedPage, serve, waitInPage} from '../tests/web/lib.mjs';
import {mainThread} from './web_trace.mjs';

const [webBuild, secondsArg, query = '', traceOut] = process.argv.slice(2);
const seconds = Number(secondsArg || 5);
const top = 12;

// Own time per event name, in microseconds, from nested complete events.
function selfTimes(events, thread) {
  const spans = events.filter((e) => e.ph === 'X' && `${e.pid}:${e.tid}` === thread && e.dur > 0)
                    .sort((a, b) => a.ts - b.ts || b.dur - a.dur);
  const totals = new Map();
  const stack = [];
  let topLevel = 0;
  for (const e of spans) {
    while (stack.length && stack[stack.length - 1].end <= e.ts) stack.pop();
    const parent = stack[stack.length - 1];
    if (parent) parent.children += e.dur;
    else topLevel += e.dur;
    const span = {name: e.name, end: e.ts + e.dur, dur: e.dur, children: 0};
    stack.push(span);
    span.done = () => totals.set(span.name, (totals.get(span.name) || 0) + span.dur - span.children);
    e.span = span;
  }
  for (const e of spans) e.span.done();
  return {totals, topLevel};
}

// Self time per function from the sampling profiler's chunks.
function functionTimes(events, thread) {
  const nodes = new Map();
  const totals = new Map();
  for (const e of events) {
    // The page's renderer only: Chromium's own pages have theirs.
    if (e.name !== 'ProfileChunk' || !e.args?.data?.cpuProfile || `${e.pid}` !== thread.split(':')[0]) {
      continue;
    }
    const {cpuProfile, timeDeltas = []} = e.args.data;
    for (const node of cpuProfile.nodes || []) nodes.set(`${e.id}:${node.id}`, node.callFrame);
    (cpuProfile.samples || []).forEach((id, i) => {
      const frame = nodes.get(`${e.id}:${id}`);
      const name = frame ? `${frame.functionName || '(anonymous)'} ${frame.url ? frame.url.split('/').pop() : ''}` : '?';
      totals.set(name, (totals.get(name) || 0) + (timeDeltas[i + 1] ?? timeDeltas[i] ?? 0));
    });
  }
  return totals;
}

// The main thread's top-level tasks by kind: {kind: {count, us}}.
function taskKinds(events, thread) {
  const spans = events.filter((e) => e.ph === 'X' && `${e.pid}:${e.tid}` === thread && e.dur > 0)
                    .sort((a, b) => a.ts - b.ts || b.dur - a.dur);
  const tasks = [];
  let end = -1;
  for (const e of spans) {
    if (e.ts >= end) {
      tasks.push({dur: e.dur, names: new Set()});
      end = e.ts + e.dur;
    } else {
      tasks[tasks.length - 1].names.add(e.name);
    }
  }
  const kinds = new Map();
  for (const task of tasks) {
    const names = [...task.names];
    let kind = 'other';
    if (names.some((n) => n.includes('BeginMainFrame'))) kind = 'rendering (animation frame)';
    else if (task.names.has('TimerFire')) kind = 'timer';
    else if (names.some((n) => n.includes('MessagePort'))) kind = 'message';
    else if (task.names.has('FunctionCall')) kind = 'other script';
    const k = kinds.get(kind) || {count: 0, us: 0};
    k.count += 1;
    k.us += task.dur;
    kinds.set(kind, k);
  }
  return kinds;
}

function print(title, totals, wallUs) {
  console.log(`${title} (per second of wall time, top ${top}):`);
  for (const [name, us] of [...totals.entries()].sort((a, b) => b[1] - a[1]).slice(0, top)) {
    console.log(`  ${(us / wallUs).toFixed(4)}  ${name}`);
  }
}

const server = await serve({'/': webBuild});
const browser = await launchBrowser();
try {
  const page = await newWatchedPage(browser);
  await page.goto(`${server.origin}/index.html${query}`);
  await waitInPage(page, () => window.ondulixFrames.length > 30, 10000);
  await page.tracing.start({
    categories: ['devtools.timeline', 'disabled-by-default-devtools.timeline', 'toplevel',
                 'blink', 'cc', 'gpu', 'v8', 'v8.execute', 'disabled-by-default-v8.cpu_profiler'],
  });
  const before = await page.metrics();
  const framesBefore = await page.evaluate(() => window.ondulixFrames.length);
  await new Promise((resolve) => setTimeout(resolve, seconds * 1000));
  const after = await page.metrics();
  const framesAfter = await page.evaluate(() => window.ondulixFrames.length);
  const trace = JSON.parse(Buffer.from(await page.tracing.stop()).toString());
  if (traceOut) writeFileSync(traceOut, JSON.stringify(trace));
  const events = trace.traceEvents || trace;
  const thread = mainThread(events, server.origin);
  const wallUs = (after.Timestamp - before.Timestamp) * 1e6;
  const {totals, topLevel} = selfTimes(events, thread);
  console.log(`wall ${(wallUs / 1e6).toFixed(2)} s, ${framesAfter - framesBefore} frames, ` +
              `TaskDuration ${((after.TaskDuration - before.TaskDuration) * 1e6 / wallUs).toFixed(4)} ` +
              `per second, traced top-level events ${(topLevel / wallUs).toFixed(4)} per second`);
  console.log('Main thread, top-level tasks by kind:');
  for (const [kind, k] of [...taskKinds(events, thread)].sort((a, b) => b[1].us - a[1].us)) {
    console.log(`  ${(k.us / wallUs).toFixed(4)} busy per second, ${(k.count * 1e6 / wallUs).toFixed(0)} a second, ` +
                `${(k.us / k.count).toFixed(0)} µs each: ${kind}`);
  }
  print('Main thread, own time by trace event', totals, wallUs);
  print('Sampled functions, self time', functionTimes(events, thread), wallUs);
} finally {
  await browser.close();
  await server.close();
}
