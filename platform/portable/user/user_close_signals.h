// SIGINT, SIGTERM and SIGHUP as close requests: the program then ends
// through its own close path and gives the display back, instead of dying
// with the screen still taken.
#pragma once

namespace portable {

void InstallCloseSignals();
// True once for each signal that arrived since the last call.
bool TakeCloseSignal();
// Whether a signal waits to be turned into a close request.
bool CloseSignalPending();

} // namespace portable
