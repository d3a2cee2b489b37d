// The default window procedure on the messages that end a window: Alt+F4
// and the system menu's Close become WM_CLOSE, and a WM_CLOSE that reaches
// the default destroys the window, with WM_DESTROY following.
#include "tests/support/logging_window.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using testsupport::LoggingWindow;

constexpr LPARAM kAltHeld = LPARAM{1} << 29; // bit 29 of a key message's lParam

struct DefaultCase {
    const char *name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    // Messages the procedure receives after the one sent, in order.
    std::vector<UINT> following;
    bool windowSurvives;
};

// Named in test listings by its case name.
void PrintTo(const DefaultCase &c, std::ostream *os) {
    *os << c.name;
}

class DefaultHandling : public ::testing::TestWithParam<DefaultCase> {};

// The procedure logs each message and leaves it to DefWindowProcA.
TEST_P(DefaultHandling, LeadsToTheExpectedMessages) {
    const DefaultCase &c = GetParam();
    LoggingWindow window;
    const HWND hwnd = window.hwnd();
    ASSERT_NE(hwnd, nullptr);
    window.ClearLog();
    SendMessageA(hwnd, c.message, c.wParam, c.lParam);
    std::vector<UINT> seen = window.Messages();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), c.message);
    seen.erase(seen.begin());
    EXPECT_EQ(seen, c.following);
    EXPECT_EQ(IsWindow(hwnd) != FALSE, c.windowSurvives);
}

const DefaultCase kDefaultCases[] = {
    {"AltF4Closes",
     WM_SYSKEYDOWN,
     VK_F4,
     1 | kAltHeld,
     {WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY, WM_NCDESTROY},
     false},
    {"F4WithoutAltIsIgnored", WM_SYSKEYDOWN, VK_F4, 1, {}, true},
    {"AltWithAnotherKeyIsIgnored", WM_SYSKEYDOWN, 'X', 1 | kAltHeld, {}, true},
    {"F10IsIgnored", WM_SYSKEYDOWN, VK_F10, 1, {}, true},
    {"PlainF4KeyDownIsIgnored", WM_KEYDOWN, VK_F4, 1, {}, true},
    {"SystemMenuCloseCloses",
     WM_SYSCOMMAND,
     SC_CLOSE,
     0,
     {WM_CLOSE, WM_DESTROY, WM_NCDESTROY},
     false},
    {"CloseDestroys", WM_CLOSE, 0, 0, {WM_DESTROY, WM_NCDESTROY}, false},
};

INSTANTIATE_TEST_SUITE_P(Messages, DefaultHandling, ::testing::ValuesIn(kDefaultCases),
                         [](const auto &info) { return std::string(info.param.name); });

// As the demo's procedure does: WM_CLOSE is answered without the default, so
// Alt+F4 arrives as WM_CLOSE and nothing destroys the window.
TEST(DefWindowProc, AProcedureThatAnswersCloseItselfKeepsItsWindow) {
    LoggingWindow window(WS_POPUP, {{WM_CLOSE, 0}});
    window.ClearLog();
    SendMessageA(window.hwnd(), WM_SYSKEYDOWN, VK_F4, 1 | kAltHeld);
    EXPECT_EQ(window.Messages(), (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSCOMMAND, WM_CLOSE}));
    EXPECT_TRUE(IsWindow(window.hwnd()));
}

} // namespace
