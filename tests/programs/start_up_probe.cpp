// Shows what the runtime start-up hands WinMain, and returns a result of
// its own, so that a test can check both ends of the start-up.
#include "platform/platform.h"

#include <cstdio>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    std::printf("instance=%s previous=%s show=%d command line=[%s]\n",
                hInstance != nullptr ? "set" : "null", hPrevInstance != nullptr ? "set" : "null",
                nCmdShow, lpCmdLine);
    return 7;
}
