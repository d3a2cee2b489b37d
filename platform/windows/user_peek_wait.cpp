// PeekMessageA for a loop that polls until its time is up: Windows' own
// returns at once, so such a loop holds a whole core. Here the second empty
// peek within one millisecond of timeGetTime waits for the next millisecond
// or the next message, whichever comes first, as the portable platform's
// PeekMessageA does: the loop still sees every tick of the clock and every
// key at once, and a program that peeks once between long computations
// never waits.
#include "platform/windows/user_peek_wait.h"

#include <mmsystem.h>

#include <cstdlib>

namespace {

bool g_peekedEmpty = false;
DWORD g_lastEmptyPeekMs = 0;
bool g_periodAsked = false;

void EndTimerPeriod() {
    timeEndPeriod(1);
}

// Windows' timer ticks every 15.6 ms unless a program asks for finer: both
// timeGetTime, which the loop paces itself by, and the timeout of a wait
// count in those ticks. One millisecond is asked for at the first wait, and
// given back when the process exits: std::exit (FatalExit's way out) and a
// return from WinMain both run the atexit handlers.
void AskForMillisecondTimer() {
    if (g_periodAsked)
        return;
    g_periodAsked = true;
    if (timeBeginPeriod(1) == TIMERR_NOERROR)
        std::atexit(EndTimerPeriod);
}

// True when the queue was found empty earlier in this millisecond of the
// clock: the loop is polling.
bool PeekedEmptyThisMillisecond() {
    return g_peekedEmpty && timeGetTime() == g_lastEmptyPeekMs;
}

void NoteEmptyQueue() {
    g_peekedEmpty = true;
    g_lastEmptyPeekMs = timeGetTime();
}

// Waits for the next millisecond or the next message; false when the time
// ran out. MWMO_INPUTAVAILABLE: a message that an earlier peek already saw
// (and left in the queue) ends the wait too, not only one that is new.
bool WaitForMessageOrNextMillisecond() {
    AskForMillisecondTimer();
    return MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
           WAIT_OBJECT_0;
}

} // namespace

BOOL WINAPI PeekMessageWaitingA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                                UINT wRemoveMsg) {
    // A wait that ran out saw the queue empty until its end: that is this
    // peek's answer, without asking the queue (under Wine each ask is a
    // round trip to wineserver). So a polling loop costs one wait a
    // millisecond.
    if (PeekedEmptyThisMillisecond() && !WaitForMessageOrNextMillisecond()) {
        NoteEmptyQueue();
        return FALSE;
    }
    if (PeekMessageA(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg))
        return TRUE;
    NoteEmptyQueue();
    return FALSE;
}
