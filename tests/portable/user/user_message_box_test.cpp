// MessageBoxA without a display: the caption and the text, converted from
// code page 932, go to stderr; while the box is up the thread's messages
// still reach their windows, and a WM_QUIT is left for the caller. A close
// signal dismisses the box as OK would, and is left for the windows.
#include "platform/portable/user/user_close_signals.h"
#include "platform/portable/windowing/windowing.h"
#include "tests/support/child_process.h"
#include "tests/support/logging_window.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

namespace {

using testsupport::DiscardQueuedMessages;
using testsupport::LoggingWindow;

// A box that opens on a real screen would wait for a person; these run on
// the headless back end, which has no screen to show one on.
class MessageBoxWithoutDisplay : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(portable::UseWindowing("headless"));
        DiscardQueuedMessages();
    }
    void TearDown() override { DiscardQueuedMessages(); }

    // Shows the box and returns its result and what it wrote to stderr.
    int Show(HWND owner, const char *text, const char *caption, UINT type, std::string *err) {
        ::testing::internal::CaptureStderr();
        const int result = MessageBoxA(owner, text, caption, type);
        *err = ::testing::internal::GetCapturedStderr();
        return result;
    }
};

TEST_F(MessageBoxWithoutDisplay, WritesCaptionAndConvertedTextToStderr) {
    LoggingWindow owner;
    // "earth.bmp ファイルが見つかりません" in code page 932.
    const char text[] = "earth.bmp \x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA\x8C\xA9\x82\xC2\x82"
                        "\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1";
    std::string err;
    EXPECT_EQ(Show(owner.hwnd(), text, "Message", MB_OK, &err), IDOK);
    EXPECT_EQ(err, "Message: earth.bmp \xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE3\x81\x8C"
                   "\xE8\xA6\x8B\xE3\x81\xA4\xE3\x81\x8B\xE3\x82\x8A\xE3\x81\xBE\xE3\x81\x9B\xE3"
                   "\x82\x93\n");
}

TEST_F(MessageBoxWithoutDisplay, WithoutOwnerOrCaptionSaysError) {
    std::string err;
    EXPECT_EQ(Show(nullptr, "text", nullptr, MB_OK, &err), IDOK);
    EXPECT_EQ(err, "Error: text\n");
}

TEST_F(MessageBoxWithoutDisplay, RefusesOtherBoxesAndMissingOwners) {
    HWND gone = nullptr;
    {
        LoggingWindow brief;
        gone = brief.hwnd();
    }
    const UINT kYesNo = 0x4;
    std::string err;
    EXPECT_EQ(Show(nullptr, "text", "Message", kYesNo, &err), 0);
    EXPECT_EQ(err, "");
    EXPECT_EQ(Show(gone, "text", "Message", MB_OK, &err), 0);
    EXPECT_EQ(err, "");
}

TEST_F(MessageBoxWithoutDisplay, QueuedMessagesStillReachTheirWindows) {
    LoggingWindow owner;
    owner.ClearLog();
    ASSERT_TRUE(PostMessageA(owner.hwnd(), WM_USER + 3, 0, 0));
    std::string err;
    EXPECT_EQ(Show(owner.hwnd(), "text", "Message", MB_OK, &err), IDOK);
    EXPECT_EQ(owner.MessagesAmong({WM_USER + 3}), std::vector<UINT>{WM_USER + 3});
}

TEST_F(MessageBoxWithoutDisplay, AQuitWhileTheBoxIsUpIsLeftForTheCaller) {
    LoggingWindow owner;
    ASSERT_TRUE(PostMessageA(owner.hwnd(), WM_USER, 0, 0));
    PostQuitMessage(4);
    std::string err;
    EXPECT_EQ(Show(owner.hwnd(), "text", "Message", MB_OK, &err), IDOK);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT{WM_QUIT});
    EXPECT_EQ(msg.wParam, 4u);
}

TEST_F(MessageBoxWithoutDisplay, AClosingSignalDismissesItUnshownAndClosesTheWindowsAfter) {
    struct Seen {
        int result = 0;
        bool closeQueued = false;
    };
    testsupport::SharedBlock<Seen> seen;
    Seen *s = &*seen;
    const testsupport::ChildOutcome outcome = testsupport::RunInChild([s] {
        portable::InstallCloseSignals();
        std::raise(SIGTERM); // before any window: it waits for one
        s->result = MessageBoxA(nullptr, "text", "Message", MB_OK);
        LoggingWindow window;
        MSG msg;
        s->closeQueued = PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) &&
                         msg.message == WM_SYSCOMMAND && msg.wParam == SC_CLOSE;
    });
    ASSERT_TRUE(outcome.finished) << outcome;
    EXPECT_EQ(seen->result, IDOK);
    EXPECT_EQ(outcome.err, "") << "the box's words were written out";
    EXPECT_TRUE(seen->closeQueued) << "the signal was lost";
}

} // namespace
