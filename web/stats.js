// index.html?stats: a corner of the page says, once a second, how the demo
// runs: the frames it flips per second and how many of them reached the
// canvas, the frames dropped since it started (a flip that came one or more
// whole 16 ms frames late), and how busy the page's main thread was (the
// program's own tasks, as the module reports them, and the page's
// rendering, from an animation frame's callbacks to the first task after).
// Loaded before page.js: it wraps the watcher a test or a benchmark set, so
// that one is still told of everything.
'use strict';

(() => {
  if (!new URLSearchParams(location.search).has('stats')) return;
  const frameMs = 16;
  const panel = document.createElement('div');
  panel.id = 'stats';
  panel.setAttribute('aria-live', 'off');
  Object.assign(panel.style, {
    position: 'fixed', right: '0.5em', bottom: '0.5em', padding: '0.2em 0.6em',
    font: '12px/1.4 ui-monospace, monospace', color: '#9f9', background: 'rgba(0, 0, 0, 0.7)',
    border: '1px solid #363', borderRadius: '3px', pointerEvents: 'none', zIndex: 1,
  });
  panel.textContent = 'stats: waiting for frames';

  const watch = window.ondulixWatch || {};
  let flips = 0;
  let shown = 0;
  let busyMs = 0;
  let dropped = 0;
  let lastFlip = null;
  let probeStart = null; // an animation frame being timed
  let busyInProbe = 0;   // the program's tasks that ran within it
  window.ondulixWatch = {
    onFrame(ms) {
      if (watch.onFrame) watch.onFrame(ms);
      if (lastFlip !== null) dropped += Math.max(0, Math.round((ms - lastFlip) / frameMs) - 1);
      lastFlip = ms;
      ++flips;
    },
    onShown(ms) {
      if (watch.onShown) watch.onShown(ms);
      ++shown;
    },
    onBusy(ms) {
      if (watch.onBusy) watch.onBusy(ms);
      busyMs += ms;
      if (probeStart !== null) busyInProbe += ms;
    },
  };

  // The page's rendering: its animation frame callbacks, style, layout,
  // paint and the hand-over to the compositor all come before the message
  // posted in the first callback is delivered.
  const channel = new MessageChannel();
  channel.port1.onmessage = () => {
    if (probeStart === null) return;
    busyMs += Math.max(0, performance.now() - probeStart - busyInProbe);
    probeStart = null;
  };
  const probe = () => {
    probeStart = performance.now();
    busyInProbe = 0;
    channel.port2.postMessage(0);
    requestAnimationFrame(probe);
  };
  requestAnimationFrame(probe);

  let since = performance.now();
  setInterval(() => {
    const now = performance.now();
    const seconds = (now - since) / 1000;
    panel.textContent = `${(flips / seconds).toFixed(1)} fps (${(shown / seconds).toFixed(1)} ` +
        `drawn) · ${dropped} dropped · main thread ${(busyMs / (now - since) * 100).toFixed(1)}%`;
    flips = shown = busyMs = 0;
    since = now;
  }, 1000);
  document.addEventListener('DOMContentLoaded', () => document.body.appendChild(panel));
  if (document.body) document.body.appendChild(panel);
})();
