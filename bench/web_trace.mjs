// What the benchmarks read from a Chromium trace of the page: the page's
// main thread, and the top-level tasks it ran.

// The main thread of the renderer that shows `origin`: the trace names the
// frames and their processes at its start (Chromium's own pages run in
// renderers of their own).
export function mainThread(events, origin) {
  const started = events.find((e) => e.name === 'TracingStartedInBrowser');
  const frame = (started?.args?.data?.frames || []).find((f) => (f.url || '').startsWith(origin));
  const named = events.find((e) => e.ph === 'M' && e.name === 'thread_name' &&
                                   e.args.name === 'CrRendererMain' && e.pid === frame?.processId);
  if (!named) throw new Error(`no renderer for ${origin} in the trace`);
  return `${named.pid}:${named.tid}`;
}

// How many tasks the page's main thread ran per second over `seconds` of
// the page as it is: Chromium's RunTask events there (each a wake-up of the
// thread; the ThreadControllerImpl::RunTask inside each is the same task).
// The trace asks for little more than them, so that it costs the page
// little.
export async function mainThreadTasksPerSecond(page, origin, seconds) {
  await page.tracing.start({categories: ['toplevel', 'disabled-by-default-devtools.timeline']});
  await new Promise((resolve) => setTimeout(resolve, seconds * 1000));
  const trace = JSON.parse(Buffer.from(await page.tracing.stop()).toString());
  const events = trace.traceEvents || trace;
  const thread = mainThread(events, origin);
  const tasks = events.filter((e) => `${e.pid}:${e.tid}` === thread && e.ph === 'X' &&
                                     e.name === 'RunTask');
  if (tasks.length < 2) return 0;
  const first = Math.min(...tasks.map((e) => e.ts));
  const last = Math.max(...tasks.map((e) => e.ts));
  return (tasks.length - 1) / ((last - first) / 1e6);
}
