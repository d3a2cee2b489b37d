// The application shell: the main window, its window procedure, the set-up
// and the frame body of the frame loop, the one way out of the program, and
// the texts it shows.
#pragma once

#include "effect/wave.h"
#include "platform/platform.h"

// The main window, set once by WinMain.
extern HWND g_hWnd;

// The timer period in milliseconds that WinMain asked for, for FatalExit to
// give back; 0 while none is asked for.
extern UINT g_uTimerPeriod;

// Where error messages are formatted before they are handed to FatalExit.
extern char g_MsgBuf[256];

// "%s ファイルが見つかりません": the file name and "the file cannot be found",
// in code page 932 (Shift-JIS), the ANSI text MessageBoxA shows.
extern const char g_szNotFoundFormat[];
// "画面を初期化できません": "the screen cannot be initialised", likewise.
extern const char g_szInitFailed[];

// "earth.bmp": the picture, read from the current folder.
extern const char g_szPictureFile[];

// Formats the text with one string argument into g_MsgBuf and returns it.
// A text too long for the buffer is cut at a character boundary.
const char *FormatMsgBuf(const char *format, const char *argument);

// The main window's procedure: hides the cursor, and ends the program on any
// key press or close request.
LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the main window's class, "dd", with the given window procedure
// (WinMain's is WndProc); 0 when the registration fails.
ATOM RegisterMainClass(HINSTANCE hInstance, WNDPROC wndProc);

// Creates the main window of that class, the 640x480 popup "Ondulix", into
// g_hWnd and shows it; false when it cannot be created.
bool CreateMainWindow(HINSTANCE hInstance, int nCmdShow);

// With the main window shown: takes the display for it, clears the work
// surface, loads the picture's colours into the palette and the picture
// (200x210) onto the work surface at (60, 15), and starts the wave. False
// when the display cannot be taken, leaving what was created for
// ReleaseDirectDraw; a picture that cannot be read ends the program through
// FatalExit, as the loaders do.
bool InitDemo(WaveState *wave);

// One frame of the frame loop: clears the back buffer, moves the wave on by
// a frame, draws it (DrawWave) and flips.
void DrawFrame(WaveState *wave);

// Both halves of the wave at its present state, from the work surface onto
// the back buffer, over what it holds.
void DrawWave(const WaveState *wave);

// Releases the display, shows the text in a message box when there is one,
// and exits with code 1. Windows has a FatalExit(int) of its own; this one
// takes text, so call it with nullptr, never with NULL or 0.
[[noreturn]] void FatalExit(const char *text);
