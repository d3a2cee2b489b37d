// The page's side of the canvas back end (canvas_windowing.cpp; the calls
// are declared in canvas.h): the canvas, the page's keys and pointer, the
// waits that give the browser its turn, and the message box.
//
// The page hands the module its canvas (Module.canvas), and optionally the
// element to put in full screen (Module.fullscreenElement, default the
// canvas), its modal box (Module.showMessageBox(caption, text), a promise
// kept when the box is dismissed), whether frames are drawn with WebGL2
// (Module.webgl: by default where the browser has it in hardware; true even
// in software; false never, the 2D canvas only) and watchers,
// each given performance.now(): of the program's frames, when it flips them
// (Module.onFrame(ms)), of frames drawn on the canvas (Module.onShown(ms))
// and of the time each run of the
// program, from a wait to the next, took (Module.onBusy(ms)). The
// canvas's data-presentation attribute says how frames are drawn ("webgl2"
// or "2d"). The module gives the page
// Module.requestClose(), the close control's request, and Module.halt(),
// which stops a program for good without its exit (the page then drops the
// module and may start a new one).
mergeInto(LibraryManager.library, {
  $CanvasPage__deps: ['$Asyncify', '$callUserCallback', '$CanvasGl'],
  $CanvasPage: {
    context: null,   // the 2D context, when frames are drawn that way
    gl: null,        // else the WebGL2 presenter (CanvasGl)
    image: null,     // ImageData over the program's frame, made once per place
    imageAt: 0,
    frame: null,     // the newest frame not yet drawn: {pixels, width, height, table, top, rows}
    drawRequest: 0,  // the animation frame that draws it
    drawAtOnce: false, // frames need no animation frame (a desynchronized 2D canvas)
    resume: null,    // while the program waits: ends the wait, saying whether input came
    boxOpen: false,  // the message box has the keys, as a modal box does
    halted: false,
    listening: false,
    hops: [],
    channel: null,

    // Runs `f` in a task of its own, through a MessageChannel. Browsers make
    // a timer set inside a timer's callback, five deep, wait at least 4 ms;
    // a message is no timer, so a timer set from its handler waits only as
    // long as it is asked to, and a 16 ms frame does not become 20.
    hop: function(f) {
      if (!CanvasPage.channel) {
        CanvasPage.channel = new MessageChannel();
        CanvasPage.channel.port1.onmessage = function() {
          var next = CanvasPage.hops.shift();
          if (next) next();
        };
      }
      CanvasPage.hops.push(f);
      CanvasPage.channel.port2.postMessage(0);
    },

    // Input reached the program: a wait in progress ends, in a task of its
    // own so that the event's handler returns first.
    news: function() {
      var resume = CanvasPage.resume;
      if (resume) CanvasPage.hop(function() { resume(1); });
    },

    onKey: function(event) {
      if (CanvasPage.halted || CanvasPage.boxOpen) return;
      var top = stackSave(); // the name's bytes live on the stack for the call
      try {
        _canvas_key(allocateUTF8OnStack(event.code || ''), event.type === 'keydown',
                    event.repeat, event.altKey);
      } finally {
        stackRestore(top);
      }
      // The key is the program's: no browser shortcut (Alt to the menu bar,
      // F11, Space to scroll) happens as well.
      event.preventDefault();
      CanvasPage.news();
    },

    // The pointer's place in the canvas's own pixels, whatever CSS makes of
    // its size.
    onPointer: function(event) {
      if (CanvasPage.halted) return;
      var canvas = Module['canvas'];
      var box = canvas.getBoundingClientRect();
      var x = Math.floor((event.clientX - box.left) * canvas.width / (box.width || 1));
      var y = Math.floor((event.clientY - box.top) * canvas.height / (box.height || 1));
      if (event.type === 'mouseenter') {
        _canvas_pointer_entered();
      } else {
        var button = event.type === 'mousemove' ? -1 : event.button;
        if (button > 2) return; // the "back" and "forward" buttons Windows reports otherwise
        _canvas_pointer(button, event.type === 'mousedown', x, y);
      }
      CanvasPage.news();
    },

    listen: function() {
      if (CanvasPage.listening) return;
      CanvasPage.listening = true;
      window.addEventListener('keydown', CanvasPage.onKey, true);
      window.addEventListener('keyup', CanvasPage.onKey, true);
      var canvas = Module['canvas'];
      ['mouseenter', 'mousemove', 'mousedown', 'mouseup'].forEach(function(type) {
        canvas.addEventListener(type, CanvasPage.onPointer);
      });
      Module['requestClose'] = function() {
        if (CanvasPage.halted) return;
        _canvas_close();
        CanvasPage.news();
      };
      Module['halt'] = function() {
        CanvasPage.halted = true;
        CanvasPage.resume = null;
        window.removeEventListener('keydown', CanvasPage.onKey, true);
        window.removeEventListener('keyup', CanvasPage.onKey, true);
        ['mouseenter', 'mousemove', 'mousedown', 'mouseup'].forEach(function(type) {
          canvas.removeEventListener(type, CanvasPage.onPointer);
        });
        if (CanvasPage.channel) CanvasPage.channel.port1.close();
        if (CanvasPage.drawRequest) cancelAnimationFrame(CanvasPage.drawRequest);
        CanvasPage.drawRequest = 0;
        CanvasPage.frame = null;
      };
    },

    // Suspends the program until `start(done)` calls done(value); the
    // program then goes on with `value`, unless the page halted it.
    suspend: function(start) {
      return Asyncify.handleSleep(function(wakeUp) {
        var finished = false;
        start(function(value) {
          if (finished) return;
          finished = true;
          if (CanvasPage.halted) return;
          // callUserCallback: the program may end in there, through exit().
          // It runs until it waits again: that is the module's task.
          var began = performance.now();
          callUserCallback(function() { wakeUp(value); });
          if (Module['onBusy']) Module['onBusy'](performance.now() - began);
        });
      });
    },

    // Draws the newest frame, once per rendering of the page: a program
    // that flips faster than the screen shows loses only frames nobody
    // would have seen. A desynchronized 2D canvas goes to the screen by
    // itself, with no rendering of the page at all: there each frame is
    // drawn as it comes.
    draw: function() {
      var began = performance.now();
      var frame = CanvasPage.frame;
      CanvasPage.drawRequest = 0;
      CanvasPage.frame = null;
      if (!frame || CanvasPage.halted) return;
      if (CanvasPage.gl) {
        CanvasGl.draw(CanvasPage.gl, HEAPU8, frame);
      } else {
        // The ImageData is a view of the program's frame, which never moves
        // (the memory does not grow): no copy before putImageData's own.
        var image = CanvasPage.image;
        if (!image || CanvasPage.imageAt !== frame.pixels || image.width !== frame.width ||
            image.height !== frame.height) {
          image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, frame.pixels,
                                                      frame.width * frame.height * 4),
                                frame.width, frame.height);
          CanvasPage.image = image;
          CanvasPage.imageAt = frame.pixels;
        }
        // Only the rows that changed: the others are on the canvas already.
        if (frame.rows) CanvasPage.context.putImageData(image, 0, 0, 0, frame.top, frame.width,
                                                        frame.rows);
      }
      if (Module['onShown']) Module['onShown'](began);
    },

    // Anything drawn at once (a fill) is newer than a frame still waiting
    // for the next rendering: that frame is dropped.
    dropFrame: function() {
      CanvasPage.frame = null;
    },
  },

  canvas_available__deps: ['$CanvasPage'],
  canvas_available: function() {
    var canvas = Module['canvas'];
    if (!canvas || typeof canvas.getContext !== 'function') return 0;
    // WebGL2 takes the 8-bit frame as it is and looks up its colours itself;
    // where it is missing, or turned off, the 2D canvas takes RGBA bytes.
    if (!CanvasPage.gl && !CanvasPage.context && Module['webgl'] !== false) {
      CanvasPage.gl = CanvasGl.create(canvas, Module['webgl'] === true);
    }
    if (!CanvasPage.gl) {
      // Desynchronized: the canvas goes to the compositor by itself, with
      // no rendering of the page (its style, paint and commit) for each
      // frame; measured in headless Chromium, that rendering was 0.10-0.14
      // of the main thread. A frame is put in one call, so nothing the
      // program had half drawn is shown; where the browser shows such a
      // canvas straight from its buffer, the screen may catch that copy
      // midway now and then (a tear), as a window without vsync does.
      CanvasPage.context = CanvasPage.context ||
          canvas.getContext('2d', {alpha: false, desynchronized: true});
      if (!CanvasPage.context) return 0;
      var attributes = CanvasPage.context.getContextAttributes ?
          CanvasPage.context.getContextAttributes() : {};
      CanvasPage.drawAtOnce = attributes.desynchronized === true;
    }
    canvas.setAttribute('data-presentation', CanvasPage.gl ? 'webgl2' : '2d');
    CanvasPage.listen();
    return 1;
  },

  canvas_show__deps: ['$CanvasPage'],
  canvas_show: function(show) {
    Module['canvas'].style.visibility = show ? 'visible' : 'hidden';
  },

  canvas_resize__deps: ['$CanvasPage'],
  canvas_resize: function(width, height) {
    var canvas = Module['canvas'];
    // Setting a size clears the canvas, even the same size: only changes.
    if (canvas.width !== width) canvas.width = width;
    if (canvas.height !== height) canvas.height = height;
  },

  canvas_fill__deps: ['$CanvasPage'],
  canvas_fill: function(red, green, blue) {
    CanvasPage.dropFrame();
    if (CanvasPage.gl) {
      CanvasGl.fill(CanvasPage.gl, red, green, blue);
      return;
    }
    var context = CanvasPage.context;
    context.fillStyle = 'rgb(' + red + ',' + green + ',' + blue + ')';
    context.fillRect(0, 0, Module['canvas'].width, Module['canvas'].height);
  },

  canvas_takes_indices__deps: ['$CanvasPage'],
  canvas_takes_indices: function() {
    return CanvasPage.gl ? 1 : 0;
  },

  canvas_frame__deps: ['$CanvasPage'],
  canvas_frame: function(pixels, width, height, table, flip, top, rows) {
    // A frame not yet drawn is replaced: what changed since the one drawn
    // last is what changed in either.
    var waiting = CanvasPage.frame;
    if (waiting && rows && waiting.rows) {
      var bottom = Math.max(top + rows, waiting.top + waiting.rows);
      top = Math.min(top, waiting.top);
      rows = bottom - top;
    } else if (waiting && !rows) {
      top = waiting.top;
      rows = waiting.rows;
    }
    CanvasPage.frame = {pixels: pixels, width: width, height: height, table: table, top: top,
                        rows: rows};
    if (flip && Module['onFrame']) Module['onFrame'](performance.now());
    if (CanvasPage.drawAtOnce) {
      CanvasPage.draw();
    } else if (!CanvasPage.drawRequest) {
      CanvasPage.drawRequest = requestAnimationFrame(CanvasPage.draw);
    }
  },

  canvas_cursor__deps: ['$CanvasPage'],
  canvas_cursor: function(show) {
    Module['canvas'].style.cursor = show ? '' : 'none';
  },

  canvas_fullscreen__deps: ['$CanvasPage'],
  canvas_fullscreen: function(toggle) {
    var element = Module['fullscreenElement'] || Module['canvas'];
    if (document.fullscreenElement) {
      document.exitFullscreen().catch(function() {});
    } else if (toggle && element.requestFullscreen) {
      // Refused outside a key's or a click's own event: then nothing changes.
      element.requestFullscreen().catch(function() {});
    }
  },

  canvas_wait__deps: ['$CanvasPage'],
  canvas_wait: function(milliseconds) {
    return CanvasPage.suspend(function(done) {
      var timer = 0;
      // Input may ask more than once to end the wait; only the first asking
      // ends it, and never a later wait's.
      var resume = function(news) {
        if (CanvasPage.resume !== resume) return;
        CanvasPage.resume = null;
        if (timer) clearTimeout(timer);
        done(news);
      };
      CanvasPage.resume = resume;
      if (milliseconds < 0) return; // no time limit: only input ends it
      // A timer counts whole milliseconds and would cut 0.6 to 0: the
      // program would then find its time not yet up and wait again, over
      // and over. Rounded up, it sleeps; it wakes at most a millisecond
      // late.
      // A scheduled task is one step, and no timer, so it is not held to
      // 4 ms however deep; it is not cancelled when input comes first (it
      // then finds the wait over).
      if (typeof scheduler !== 'undefined' && scheduler.postTask) {
        scheduler.postTask(function() { resume(0); }, {delay: Math.ceil(milliseconds)});
        return;
      }
      CanvasPage.hop(function() {
        if (CanvasPage.resume === resume) {
          timer = setTimeout(function() { resume(0); }, Math.ceil(milliseconds));
        }
      });
    });
  },

  canvas_message_box__deps: ['$CanvasPage'],
  canvas_message_box: function(caption, text) {
    var show = Module['showMessageBox'];
    if (!show) return 0;
    caption = UTF8ToString(caption);
    text = UTF8ToString(text);
    return CanvasPage.suspend(function(done) {
      CanvasPage.boxOpen = true;
      Promise.resolve(show(caption, text)).then(function() {
        CanvasPage.boxOpen = false;
        done(1);
      });
    });
  },

  // The browser's decoder knows code page 932 by its web name, shift_jis
  // (Windows' own mapping, its extensions included).
  canvas_ansi_to_utf8: function(ansi, utf8, size) {
    var end = ansi;
    while (HEAPU8[end]) ++end;
    var text = new TextDecoder('shift_jis').decode(HEAPU8.subarray(ansi, end));
    if (size > 0) stringToUTF8(text, utf8, size);
    return lengthBytesUTF8(text);
  },
});
