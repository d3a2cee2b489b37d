// The runtime start-up: what the C runtime of a Windows GUI program does
// before and after WinMain.
#include "platform/portable/user/user_close_signals.h"
#include "platform/portable/include/win_user.h"

#include <cstdlib>
#include <string>

int main(int argc, char **argv) {
    // Signals become close requests from the start, so that even an early
    // one ends the program through its own exit path.
    portable::InstallCloseSignals();
    // The command line without the program's name, as WinMain receives it.
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            commandLine += ' ';
        commandLine += argv[i];
    }
    static int instanceTag;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(&instanceTag);
    const int result = WinMain(instance, nullptr, &commandLine[0], SW_SHOWDEFAULT);
    std::exit(result);
}
