// Keys pressed on the headless back end go to the window holding the
// display, else to the newest window that still exists.
#include "platform/portable/windowing/headless/headless.h"
#include "tests/support/logging_window.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using testsupport::DiscardQueuedMessages;
using testsupport::LoggingWindow;

// The window the next key pressed reaches; null when none does.
HWND KeyTarget() {
    DiscardQueuedMessages();
    portable::HeadlessPressKey(VK_SPACE);
    MSG msg = {};
    const HWND target =
        PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE) ? msg.hwnd : nullptr;
    DiscardQueuedMessages();
    return target;
}

TEST(HeadlessInput, AKeyGoesToTheNewestWindowStillThere) {
    LoggingWindow older;
    auto newer = std::make_unique<LoggingWindow>();
    EXPECT_EQ(KeyTarget(), newer->hwnd());
    newer.reset();
    EXPECT_EQ(KeyTarget(), older.hwnd()) << "the destroyed window is forgotten";
}

} // namespace
