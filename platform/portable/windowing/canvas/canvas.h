// The canvas back end (the browser build): USER's windows on the page's one
// <canvas>, whose backing store is the screen. The page's side of it is
// canvas_library.js; these are the calls between the two.
#pragma once

#include <cstdint>

extern "C" {

// Implemented by canvas_library.js, on the canvas the page gave the module.
// Whether the page gave it a canvas at all.
int canvas_available(void);
// The canvas shows or hides; its backing store becomes width x height.
void canvas_show(int show);
void canvas_resize(int width, int height);
// The whole canvas in one colour.
void canvas_fill(int red, int green, int blue);
// How the canvas takes frames: 1 as 8-bit palette indices and a colour
// table (drawn by WebGL2, which looks the colours up itself), 0 as RGBA
// bytes (a 2D canvas, where WebGL2 is missing or the page turned it off).
int canvas_takes_indices(void);
// A frame for the canvas, shown at the browser's next rendering unless a
// newer one comes first: width x height pixels, rows `width` apart, either
// indices into `table` (256 colours, 4 bytes each: R, G, B, A) or, when the
// canvas takes no indices, 4 bytes each in the order R, G, B, A (`table`
// unused). Both stay as they are until the next call. `flip` is N for flip
// N of the display (the Nth frame), or 0 for what was shown before, shown
// again. Only rows [top, top + rows) differ from the frame before (all of
// them when the canvas may have lost what it showed).
void canvas_frame(const uint8_t *pixels, int width, int height, const uint8_t *table, unsigned flip,
                  int top, int rows);
// The pointer shows or hides over the canvas.
void canvas_cursor(int show);
// Toggles the page's full screen (1), or leaves it (0). A browser grants
// full screen only inside the event of a key or a click.
void canvas_fullscreen(int toggle);
// Gives the browser its turn for `milliseconds` at most (a negative number:
// for as long as it takes), or until input arrives; 1 when it did. The
// program is suspended meanwhile (Asyncify).
int canvas_wait(double milliseconds);
// The page's modal box with an OK button; returns when it is dismissed, 1,
// or at once, 0, when the page has none. Suspends like canvas_wait.
int canvas_message_box(const char *caption, const char *text);

// Called by canvas_library.js from the page's events, while the program
// waits in canvas_wait or canvas_message_box.
// A key went down or up; `code` is its KeyboardEvent.code.
void canvas_key(const char *code, int down, int repeat, int alt);
// The pointer came over the canvas; it moved over it (button -1), or a
// button (0 left, 1 middle, 2 right) went down or up, at (x, y) in the
// canvas's own pixels.
void canvas_pointer_entered(void);
void canvas_pointer(int button, int down, int x, int y);
// The page's close control was pressed.
void canvas_close(void);
}

namespace portable {

// Whether presented frames reach the canvas (the default); a benchmark of
// the drawing alone turns it off.
void CanvasShowFrames(bool show);

} // namespace portable
