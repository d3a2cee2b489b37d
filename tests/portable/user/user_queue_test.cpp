// The thread's message queue: peeking leaves a message where it is, getting
// takes it, WM_QUIT makes GetMessageA return 0, and dispatching hands a
// message to the procedure of its window's class; a close signal becomes one
// close request for each window.
#include "platform/portable/user/user_close_signals.h"
#include "tests/support/logging_window.h"

#include <gtest/gtest.h>

#include <csignal>
#include <map>

namespace {

using testsupport::DiscardQueuedMessages;
using testsupport::LoggingWindow;

class MessageQueue : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(window.hwnd(), nullptr);
        DiscardQueuedMessages();
        window.ClearLog();
    }
    void TearDown() override { DiscardQueuedMessages(); }

    LoggingWindow window;
};

TEST_F(MessageQueue, PeekWithoutRemovingLeavesTheMessageForGet) {
    ASSERT_TRUE(PostMessageA(window.hwnd(), WM_USER + 1, 11, 22));
    MSG msg = {};
    for (int peek = 0; peek < 2; ++peek) {
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
        EXPECT_EQ(msg.hwnd, window.hwnd());
        EXPECT_EQ(msg.message, UINT{WM_USER + 1});
        EXPECT_EQ(msg.wParam, 11u);
        EXPECT_EQ(msg.lParam, 22);
    }
    msg = {};
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, UINT{WM_USER + 1});
    EXPECT_EQ(msg.wParam, 11u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_TRUE(window.log().empty()) << "neither peeking nor getting dispatches";
}

TEST_F(MessageQueue, GetTakesPostedMessagesInTheOrderTheyWerePosted) {
    for (UINT i = 0; i < 5; ++i)
        ASSERT_TRUE(PostMessageA(window.hwnd(), WM_USER + i, i, 0));
    MSG msg;
    for (UINT i = 0; i < 5; ++i) {
        ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
        EXPECT_EQ(msg.message, WM_USER + i);
    }
}

TEST_F(MessageQueue, QuitMakesGetReturnZeroWithTheExitCode) {
    PostQuitMessage(3);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, UINT{WM_QUIT});
    msg = {};
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, UINT{WM_QUIT});
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) << "WM_QUIT is taken once";
}

TEST_F(MessageQueue, QuitComesAfterTheMessagesPostedBeforeAndAfterIt) {
    ASSERT_TRUE(PostMessageA(window.hwnd(), WM_USER, 0, 0));
    PostQuitMessage(0);
    ASSERT_TRUE(PostMessageA(window.hwnd(), WM_USER + 1, 0, 0));
    MSG msg;
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, UINT{WM_USER});
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, UINT{WM_USER + 1});
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
}

TEST_F(MessageQueue, DispatchReachesTheClassProcedureAndReturnsItsResult) {
    window.Reply(WM_USER + 7, 42);
    ASSERT_TRUE(PostMessageA(window.hwnd(), WM_USER + 7, 5, -6));
    MSG msg;
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(DispatchMessageA(&msg), 42);
    ASSERT_EQ(window.log().size(), 1u);
    const testsupport::LoggedMessage &got = window.log()[0];
    EXPECT_EQ(got.hwnd, window.hwnd());
    EXPECT_EQ(got.message, UINT{WM_USER + 7});
    EXPECT_EQ(got.wParam, 5u);
    EXPECT_EQ(got.lParam, -6);
}

TEST_F(MessageQueue, AWindowFilterSkipsOtherWindowsAndTheThreadsQuit) {
    LoggingWindow other;
    ASSERT_TRUE(PostMessageA(other.hwnd(), WM_USER, 0, 0));
    PostQuitMessage(0);
    ASSERT_TRUE(PostMessageA(window.hwnd(), WM_USER + 1, 0, 0));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, window.hwnd(), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT{WM_USER + 1});
    EXPECT_FALSE(PeekMessageA(&msg, window.hwnd(), 0, 0, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, other.hwnd());
}

TEST_F(MessageQueue, GetForAWindowThatDoesNotExistFails) {
    HWND gone = nullptr;
    {
        LoggingWindow brief;
        gone = brief.hwnd();
    }
    MSG msg;
    EXPECT_EQ(GetMessageA(&msg, gone, 0, 0), -1);
    EXPECT_EQ(PostMessageA(gone, WM_USER, 0, 0), FALSE);
}

TEST_F(MessageQueue, TranslateQueuesTheCharacterOfATypingKeyNext) {
    struct Case {
        UINT message;
        WPARAM vk;
        UINT charMessage; // 0: no character
        WPARAM ch;
    };
    const Case cases[] = {
        {WM_KEYDOWN, 'A', WM_CHAR, 'a'},        {WM_KEYDOWN, '7', WM_CHAR, '7'},
        {WM_KEYDOWN, VK_ESCAPE, WM_CHAR, 0x1B}, {WM_KEYDOWN, VK_SPACE, WM_CHAR, ' '},
        {WM_SYSKEYDOWN, 'X', WM_SYSCHAR, 'x'},  {WM_KEYDOWN, VK_F1, 0, 0},
        {WM_SYSKEYDOWN, VK_F4, 0, 0},           {WM_KEYUP, 'A', 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "message " << c.message << " key " << c.vk);
        ASSERT_TRUE(PostMessageA(window.hwnd(), WM_USER, 0, 0)); // already waiting
        MSG key = {window.hwnd(), c.message, c.vk, 1, 0, {0, 0}};
        EXPECT_NE(TranslateMessage(&key), FALSE) << "key messages always count as translated";
        MSG msg;
        if (c.charMessage != 0) {
            ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
            EXPECT_EQ(msg.message, c.charMessage);
            EXPECT_EQ(msg.wParam, c.ch);
            EXPECT_EQ(msg.hwnd, window.hwnd());
        }
        ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
        EXPECT_EQ(msg.message, UINT{WM_USER});
        EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
    MSG other = {window.hwnd(), WM_USER, 0, 0, 0, {0, 0}};
    EXPECT_EQ(TranslateMessage(&other), FALSE);
}

// The close signals turned into close requests while it lives; the handlers
// before them are put back after.
class CloseSignals {
  public:
    CloseSignals() {
        for (int i = 0; i < 3; ++i)
            sigaction(kSignals[i], nullptr, &previous_[i]);
        portable::InstallCloseSignals();
    }
    ~CloseSignals() {
        portable::TakeCloseSignal();
        for (int i = 0; i < 3; ++i)
            sigaction(kSignals[i], &previous_[i], nullptr);
    }

  private:
    static constexpr int kSignals[3] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction previous_[3] = {};
};

TEST(CloseSignal, ClosesEveryWindowOnceAndWaitsForTheFirstWindow) {
    CloseSignals installed;
    DiscardQueuedMessages();
    ASSERT_EQ(std::raise(SIGTERM), 0);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "no window to close yet";
    LoggingWindow first, second;
    std::map<HWND, int> closes;
    for (int peek = 0; peek < 6; ++peek) // a signal taken once leaves nothing behind
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message == WM_SYSCOMMAND &&
            msg.wParam == SC_CLOSE)
            ++closes[msg.hwnd];
    EXPECT_EQ(closes, (std::map<HWND, int>{{first.hwnd(), 1}, {second.hwnd(), 1}}));
}

} // namespace
