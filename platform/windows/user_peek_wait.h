// Windows' PeekMessageA, but waiting where a polling loop would spin
// (user_peek_wait.cpp). platform.h names it PeekMessageA for the system;
// this header sees Windows' own under that name.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif
BOOL WINAPI PeekMessageWaitingA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                                UINT wRemoveMsg);
#ifdef __cplusplus
}
#endif
