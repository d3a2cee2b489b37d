// The application shell: the main window, its window procedure, the one way
// out of the program, and the texts it shows.
#pragma once

#include "platform/platform.h"

// The main window, set once by WinMain.
extern HWND g_hWnd;

// Where error messages are formatted before they are handed to FatalExit.
extern char g_MsgBuf[256];

// "%s ファイルが見つかりません": the file name and "the file cannot be found",
// in code page 932 (Shift-JIS), the ANSI text MessageBoxA shows.
extern const char g_szNotFoundFormat[];
// "画面を初期化できません": "the screen cannot be initialised", likewise.
extern const char g_szInitFailed[];

// Formats the text with one string argument into g_MsgBuf and returns it.
// A text too long for the buffer is cut at a character boundary.
const char *FormatMsgBuf(const char *format, const char *argument);

// The main window's procedure: hides the cursor, and ends the program on any
// key press or close request.
LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Releases the display, shows the text in a message box when there is one,
// and exits with code 1. Windows has a FatalExit(int) of its own; this one
// takes text, so call it with nullptr, never with NULL or 0.
[[noreturn]] void FatalExit(const char *text);
