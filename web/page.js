// The page around the demo: it starts the program (ondulix.js, made by
// Emscripten) on the canvas with the picture as earth.bmp, shows its message
// box as a modal dialog, says when it has ended and with which code, and
// starts it anew: "Run again", or another picture (the file picker, a .bmp
// dropped on the page, index.html?picture=URL on this site).
//
// A test or a benchmark may set window.ondulixWatch = {onFrame(ms)} before
// the page loads, to be told of every frame the program flips, and
// onShown(ms), of every frame drawn on the canvas, and onBusy(ms), of the
// program's own work (web/stats.js, for ?stats, wraps it).
// index.html?webgl=0 draws the frames with the 2D canvas, never WebGL2;
// ?webgl=1 with WebGL2 even where the browser has it in software only.
const webglChoice = {0: false, 1: true}[new URLSearchParams(location.search).get('webgl')];
'use strict';

const screen = document.getElementById('screen');
const stage = document.getElementById('stage');
const statusLine = document.getElementById('status');
const againButton = document.getElementById('again');
const closeButton = document.getElementById('close');
const pickerInput = document.getElementById('picture');
const box = document.getElementById('message');

// Where earth.bmp comes from: a URL of this site, or a file of the user's.
let picture = {url: new URLSearchParams(location.search).get('picture') || 'earth.bmp'};
let running = null; // the Module of the program now on the canvas
let starts = 0;     // tells a start from the ones that came after it
let compiled = null;

// The program's code is compiled once; every run instantiates it afresh.
function compiledProgram() {
  if (!compiled) {
    const response = fetch('ondulix.wasm');
    compiled = WebAssembly.compileStreaming(response).catch(
        () => response.then((r) => r.arrayBuffer()).then((bytes) => WebAssembly.compile(bytes)));
  }
  return compiled;
}

// The picture's bytes; null when there are none, which the program then
// meets as a missing earth.bmp.
async function pictureBytes(source) {
  try {
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

function setStatus(text) {
  statusLine.textContent = text;
}

function ended(module, how) {
  if (running !== module) return; // a program halted in favour of a newer one
  module.halt();
  running = null;
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
  againButton.hidden = true;
  closeButton.disabled = false;
  setStatus(picture.file ? `Starting with ${picture.file.name}…` : 'Starting…');
  const [bytes, code] = await Promise.all([pictureBytes(picture), compiledProgram()]);
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
    instantiateWasm(imports, receive) {
      WebAssembly.instantiate(code, imports).then((instance) => receive(instance, code));
      return {};
    },
    preRun: [() => {
      if (bytes) module.FS.writeFile('/earth.bmp', bytes);
    }],
    onExit: (status) => ended(module, `exit code ${status}`),
    onAbort: (what) => ended(module, `stopped: ${what}`),
    print: (line) => console.log(line),
    printErr: (line) => console.warn(line),
    halt() {}, // until the program's own replaces it
  };
  running = module;
  setStatus('Running: any key ends it, Alt+Enter toggles full screen');
  createOndulix(module);
}

againButton.addEventListener('click', start);
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

start();
