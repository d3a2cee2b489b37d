// SIGINT, SIGTERM and SIGHUP as close requests: the program then ends
// through its own close path and gives the display back, instead of dying
// with the screen still taken. Every wait ends on one, a message box's too.
// (A page has no signals: the browser build's USER has
// user_close_signals_canvas.cpp instead.)
#pragma once

#include <cstdint>

namespace portable {

void InstallCloseSignals();
// True once for each signal that arrived since the last call.
bool TakeCloseSignal();
// Whether a signal waits to be turned into a close request.
bool CloseSignalPending();

// Sleeps until `fd` (none when negative) has something to read, a close
// signal arrives, or MonotonicNanoseconds() (winmm_clock.h) reaches
// `deadlineNs` (UINT64_MAX: never). A signal that arrived since the last
// such wait ends it at once, so one that comes just before a wait is not
// slept through. False when the deadline ended it.
bool WaitForInputOrCloseSignal(int fd, uint64_t deadlineNs);

// Around a modal box that the windowing system may show in a child process
// (SDL's box on X11, zenity on Wayland): a close signal while it is up ends
// that child, so that the box returns as if dismissed, and the signal stays
// pending for the program's windows.
void BeginModalBox();
void EndModalBox();

} // namespace portable
