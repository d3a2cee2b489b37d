// The page around the demo: it starts the program (ondulix.js, made by
// Emscripten) on the canvas with the picture as earth.bmp, shows its message
// box as a modal dialog, says when it has ended and with which code, and
// starts it anew: "Run again", or another picture (the file picker, a .bmp
// dropped on the page, index.html?picture=URL on this site).
//
// ondulix.js holds the whole program and its own earth.bmp, so the page runs
// opened from disk (file://) as well as served; from disk only a picture by
// address cannot be read, and the page says so. When the visitor's system
// asks for reduced motion, the demo waits for Start.
//
// On a touch screen (pointer: coarse) the page speaks of taps, not keys, and
// a tap on the picture shows it alone, in full screen where the browser
// allows it; another tap brings the controls back. A tap never ends the
// demo: a key or Close does.
//
// A test or a benchmark may set window.ondulixWatch = {onFrame(ms)} before
// the page loads, to be told of every frame the program flips, and
// onShown(ms), of every frame drawn on the canvas, and onBusy(ms), of the
// program's own work (web/stats.js, for ?stats, wraps it).
// index.html?webgl=0 draws the frames with the 2D canvas, never WebGL2;
// ?webgl=1 with WebGL2 even where the browser has it in software only.
'use strict';

const webglChoice = {0: false, 1: true}[new URLSearchParams(location.search).get('webgl')];

const screen = document.getElementById('screen');
const stage = document.getElementById('stage');
const statusLine = document.getElementById('status');
const againButton = document.getElementById('again');
const closeButton = document.getElementById('close');
const pickerInput = document.getElementById('picture');
const box = document.getElementById('message');

const notice = document.getElementById('notice');
const touch = matchMedia('(pointer: coarse)');
const startButton = document.getElementById('start');

// Where earth.bmp comes from: the program's own, a URL of this site, or a
// file of the user's.
const pictureUrl = new URLSearchParams(location.search).get('picture');
let picture = pictureUrl ? {url: pictureUrl} : {builtIn: true};
let running = null; // the Module of the program now on the canvas
let starts = 0;     // tells a start from the ones that came after it

// The picture's bytes; null for the program's own, and when there are none,
// which the program then meets as a missing earth.bmp.
async function pictureBytes(source) {
  try {
    if (source.builtIn) return null;
    if (source.file) return new Uint8Array(await source.file.arrayBuffer());
    const url = new URL(source.url, location.href);
    if (url.origin !== location.origin) return null; // this site's pictures only
    const response = await fetch(url, {mode: 'same-origin'});
    return response.ok ? new Uint8Array(await response.arrayBuffer()) : null;
  } catch (error) {
    return null;
  }
}

// The program's MessageBoxA: the dialog with its caption, its text and OK.
// Esc dismisses it too, as it does an OK box on Windows.
let dismissBox = null;
function showMessageBox(caption, text) {
  document.getElementById('message-caption').textContent = caption;
  document.getElementById('message-text').textContent = text;
  return new Promise((resolve) => {
    dismissBox = resolve;
    box.showModal();
    document.getElementById('message-ok').focus();
  });
}
box.addEventListener('close', () => {
  const resolve = dismissBox;
  dismissBox = null;
  if (resolve) resolve();
});

// `phone` is what a touch screen's user reads instead of `text`.
function setStatus(text, phone = text) {
  statusLine.textContent = touch.matches ? phone : text;
}

// The controls back in view, out of full screen: a tap on the picture had
// hidden them.
function showControls() {
  if (!document.body.classList.contains('bare')) return;
  document.body.classList.remove('bare');
  if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
}

function pictureTapped(event) {
  if (!touch.matches || !running || !notice.hidden || event.target.closest('#notice')) return;
  if (document.body.classList.contains('bare')) {
    showControls();
    return;
  }
  document.body.classList.add('bare');
  if (document.fullscreenEnabled && !document.fullscreenElement) {
    stage.requestFullscreen().catch(() => {}); // refused: the picture alone is shown all the same
  }
}

// Words over the screen, and the Start control when `withStart`.
function showNotice(text, withStart) {
  document.getElementById('notice-text').textContent = text;
  startButton.hidden = !withStart;
  notice.hidden = false;
  showControls();
  closeButton.disabled = true; // nothing runs while the notice shows
  if (withStart) startButton.focus();
}

function ended(module, how) {
  if (running !== module) return; // a program halted in favour of a newer one
  module.halt();
  running = null;
  showControls();
  setStatus(`Ondulix ended (${how})`);
  againButton.hidden = false;
  closeButton.disabled = true;
  againButton.focus();
}

async function start() {
  const start = ++starts;
  if (running) {
    running.halt(); // for good: its dialog, timers and keys go with it
    running = null;
  }
  dismissBox = null;
  if (box.open) box.close();
  notice.hidden = true;
  againButton.hidden = true;
  closeButton.disabled = false;
  if (typeof createOndulix !== 'function') {
    // Without the program the page could only wait: it says what is wrong.
    setStatus('Ondulix cannot start');
    showNotice('The program, ondulix.js, did not load: it must be in the same folder as ' +
               'this page. Unpack the whole web zip, then open its index.html.', false);
    return;
  }
  const source = picture;
  setStatus(source.file ? `Starting with ${source.file.name}…` : 'Starting…');
  const bytes = await pictureBytes(source);
  if (start !== starts) return; // another start came meanwhile
  const watch = window.ondulixWatch || {};
  const module = {
    canvas: screen,
    fullscreenElement: stage,
    showMessageBox,
    onFrame: watch.onFrame,
    onShown: watch.onShown,
    onBusy: watch.onBusy,
    webgl: webglChoice,
    // Before the program starts: the picture it was given replaces its own,
    // and one that could not be read leaves it no earth.bmp at all. Then
    // it starts, in a task after the one that made it: the two together
    // would be one long task, which a tap or a key would wait for.
    noInitialRun: true,
    onRuntimeInitialized() {
      if (bytes) {
        module.FS.writeFile('/earth.bmp', bytes);
      } else if (!source.builtIn) {
        module.FS.unlink('/earth.bmp');
      }
      setTimeout(() => {
        if (running === module) module.callMain([]);
      });
    },
    onExit: (status) => ended(module, `exit code ${status}`),
    onAbort: (what) => ended(module, `stopped: ${what}`),
    print: (line) => console.log(line),
    printErr: (line) => console.warn(line),
    halt() {}, // until the program's own replaces it
  };
  running = module;
  setStatus('Running: any key ends it, Alt+Enter toggles full screen',
            'Running: tap Close to end it');
  createOndulix(module);
}

againButton.addEventListener('click', start);
stage.addEventListener('click', pictureTapped);
// Full screen left another way (the phone's Back): the controls come back.
document.addEventListener('fullscreenchange', () => {
  if (!document.fullscreenElement) showControls();
});
closeButton.addEventListener('click', () => {
  if (running && running.requestClose) running.requestClose();
});

function usePicture(file) {
  if (!file) return;
  picture = {file};
  start();
}
pickerInput.addEventListener('change', () => {
  usePicture(pickerInput.files[0]);
  pickerInput.value = ''; // the same file again is a change too
});
document.addEventListener('dragover', (event) => {
  event.preventDefault();
  stage.classList.add('dropping');
});
document.addEventListener('dragleave', () => stage.classList.remove('dropping'));
document.addEventListener('drop', (event) => {
  event.preventDefault();
  stage.classList.remove('dropping');
  usePicture(event.dataTransfer.files[0]);
});

// A page opened from disk may read no other file, so a picture by address
// needs the page served. Python's server is on most machines; the page says
// how to use it, and the picture picker works either way.
function pictureNeedsServer() {
  if (location.protocol !== 'file:' || !pictureUrl) return false;
  setStatus('Choose a picture, or serve this folder');
  showNotice(`Opened from disk, the page cannot read the picture "${pictureUrl}". Use ` +
             '"Your picture…" (or drop the .bmp here), or serve this folder: in a terminal ' +
             'in it, run  python3 -m http.server 8000  and open ' +
             `http://127.0.0.1:8000/index.html?picture=${encodeURIComponent(pictureUrl)}`,
             false);
  return true;
}

startButton.addEventListener('click', start);
if (pictureNeedsServer()) {
  // Nothing runs until the visitor chooses.
} else if (matchMedia('(prefers-reduced-motion: reduce)').matches) {
  // Moving pictures only when asked for: the system asks for reduced motion.
  setStatus('Your system asks for reduced motion: the demo starts when you press Start',
            'Reduced motion is on: tap Start');
  showNotice('Ondulix is a rippling, moving picture.', true);
} else {
  start();
}
