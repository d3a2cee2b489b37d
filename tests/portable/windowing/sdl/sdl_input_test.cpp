// Input from the windowing system, as the window's messages: keys with
// virtual-key codes (the system variants with Alt held and for F10), the
// close button as a close request, the pointer as WM_SETCURSOR. Events are
// pushed into SDL's queue as the windowing system would put them there.
#include "tests/support/logging_window.h"
#include "tests/support/sdl_windows.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <ostream>
#include <string>
#include <thread>

namespace {

using testsupport::DiscardQueuedMessages;
using testsupport::LoggingWindow;

constexpr LPARAM kExtended = LPARAM{1} << 24;
constexpr LPARAM kAltHeld = LPARAM{1} << 29;
constexpr LPARAM kWasDown = LPARAM{1} << 30;
constexpr LPARAM kGoingUp = LPARAM{1} << 31;

class WindowInput : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(window.hwnd(), nullptr);
        SDL_Window *sdlWindow = testsupport::SdlWindowOf(window.hwnd());
        ASSERT_NE(sdlWindow, nullptr);
        id = SDL_GetWindowID(sdlWindow);
        DiscardQueuedMessages();
        window.ClearLog();
    }
    void TearDown() override { DiscardQueuedMessages(); }

    void PushKey(Uint32 type, SDL_Keycode sym, SDL_Scancode scancode, Uint16 mod = KMOD_NONE,
                 bool repeat = false) {
        SDL_Event event = {};
        event.type = type;
        event.key.windowID = id;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat ? 1 : 0;
        event.key.keysym.sym = sym;
        event.key.keysym.scancode = scancode;
        event.key.keysym.mod = mod;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }
    void PushWindowEvent(SDL_WindowEventID what) {
        SDL_Event event = {};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = id;
        event.window.event = what;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }
    // Every message now queued for the thread, taken off the queue.
    std::vector<MSG> TakeAll() {
        std::vector<MSG> all;
        MSG msg;
        while (all.size() < 100 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            all.push_back(msg);
        return all;
    }

    LoggingWindow window;
    Uint32 id = 0;
};

struct KeyCase {
    const char *name;
    Uint32 type;
    SDL_Keycode sym;
    SDL_Scancode scancode;
    Uint16 mod;
    UINT message;
    WPARAM vk;
    LPARAM lParam;
};

// Named in test listings by its case name.
void PrintTo(const KeyCase &c, std::ostream *os) {
    *os << c.name;
}

class KeyInput : public WindowInput, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyInput, ArrivesAsAKeyMessageWithItsVirtualKey) {
    const KeyCase &c = GetParam();
    PushKey(c.type, c.sym, c.scancode, c.mod);
    const std::vector<MSG> got = TakeAll();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].hwnd, window.hwnd());
    EXPECT_EQ(got[0].message, c.message);
    EXPECT_EQ(got[0].wParam, c.vk);
    EXPECT_EQ(got[0].lParam, c.lParam);
    EXPECT_TRUE(window.log().empty()) << "input is queued, not sent";
}

const KeyCase kKeys[] = {
    {"Escape", SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, KMOD_NONE, WM_KEYDOWN, VK_ESCAPE, 1},
    {"Space", SDL_KEYDOWN, SDLK_SPACE, SDL_SCANCODE_SPACE, KMOD_NONE, WM_KEYDOWN, VK_SPACE, 1},
    {"Letter", SDL_KEYDOWN, SDLK_q, SDL_SCANCODE_Q, KMOD_NONE, WM_KEYDOWN, 'Q', 1},
    {"ShiftedLetter", SDL_KEYDOWN, SDLK_q, SDL_SCANCODE_Q, KMOD_LSHIFT, WM_KEYDOWN, 'Q', 1},
    {"Digit", SDL_KEYDOWN, SDLK_5, SDL_SCANCODE_5, KMOD_NONE, WM_KEYDOWN, '5', 1},
    {"F1", SDL_KEYDOWN, SDLK_F1, SDL_SCANCODE_F1, KMOD_NONE, WM_KEYDOWN, VK_F1, 1},
    {"ArrowIsExtended", SDL_KEYDOWN, SDLK_LEFT, SDL_SCANCODE_LEFT, KMOD_NONE, WM_KEYDOWN, VK_LEFT,
     1 | kExtended},
    {"F10IsASystemKey", SDL_KEYDOWN, SDLK_F10, SDL_SCANCODE_F10, KMOD_NONE, WM_SYSKEYDOWN, VK_F10,
     1},
    {"AltLetterIsASystemKey", SDL_KEYDOWN, SDLK_x, SDL_SCANCODE_X, KMOD_LALT, WM_SYSKEYDOWN, 'X',
     1 | kAltHeld},
    {"AltF4IsASystemKey", SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4, KMOD_RALT, WM_SYSKEYDOWN, VK_F4,
     1 | kAltHeld},
    {"AltItselfIsASystemKey", SDL_KEYDOWN, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT, WM_SYSKEYDOWN,
     VK_MENU, 1 | kAltHeld},
    {"ControlLetterIsAPlainKey", SDL_KEYDOWN, SDLK_c, SDL_SCANCODE_C, KMOD_LCTRL, WM_KEYDOWN, 'C',
     1},
    {"ReleaseIsKeyUp", SDL_KEYUP, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, KMOD_NONE, WM_KEYUP, VK_ESCAPE,
     1 | kWasDown | kGoingUp},
    {"AltReleaseIsASystemKeyUp", SDL_KEYUP, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_NONE, WM_SYSKEYUP,
     VK_MENU, 1 | kWasDown | kGoingUp},
};

INSTANTIATE_TEST_SUITE_P(VirtualKeys, KeyInput, ::testing::ValuesIn(kKeys),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(WindowInput, AutoRepeatIsMarkedAsAlreadyDown) {
    PushKey(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, KMOD_NONE, true);
    const std::vector<MSG> got = TakeAll();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, UINT{WM_KEYDOWN});
    EXPECT_EQ(got[0].lParam, 1 | kWasDown);
}

TEST_F(WindowInput, AltF4DispatchedToTheDefaultBecomesClose) {
    PushKey(SDL_KEYDOWN, SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    EXPECT_EQ(window.MessagesAmong({WM_SYSKEYDOWN, WM_CLOSE, WM_DESTROY}),
              (std::vector<UINT>{WM_SYSKEYDOWN, WM_CLOSE, WM_DESTROY}));
}

TEST_F(WindowInput, CloseButtonBecomesTheSystemMenusCloseAndThenClose) {
    window.Reply(WM_CLOSE, 0); // as the demo: the close is its to handle
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    const std::vector<MSG> got = TakeAll();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].hwnd, window.hwnd());
    EXPECT_EQ(got[0].message, UINT{WM_SYSCOMMAND});
    EXPECT_EQ(got[0].wParam & 0xFFF0, WPARAM{SC_CLOSE});
    DispatchMessageA(&got[0]);
    EXPECT_EQ(window.Messages(), (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE}));
}

TEST_F(WindowInput, PointerMotionAsksTheWindowForACursorAtOnce) {
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = id;
    event.motion.x = 12;
    event.motion.y = 34;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    const std::vector<MSG> got = TakeAll();
    ASSERT_EQ(window.log().size(), 1u) << "WM_SETCURSOR is sent while the events are taken";
    const testsupport::LoggedMessage &cursor = window.log()[0];
    EXPECT_EQ(cursor.message, UINT{WM_SETCURSOR});
    EXPECT_EQ(cursor.wParam, reinterpret_cast<WPARAM>(window.hwnd()));
    EXPECT_EQ(cursor.lParam, MAKELONG(HTCLIENT, WM_MOUSEMOVE));
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, UINT{WM_MOUSEMOVE});
    EXPECT_EQ(got[0].lParam, MAKELONG(12, 34));
}

TEST_F(WindowInput, PostedMessagesComeBeforeInputThatArrivedFirst) {
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)); // the key is queued now
    ASSERT_TRUE(PostMessageA(window.hwnd(), WM_USER, 0, 0));
    const std::vector<MSG> got = TakeAll();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].message, UINT{WM_USER});
    EXPECT_EQ(got[1].message, UINT{WM_KEYDOWN});
}

TEST_F(WindowInput, AltEnterIsTakenByTheDisplayAndReachesNoWindow) {
    PushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
    PushKey(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
    PushKey(SDL_KEYUP, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_NONE);
    const std::vector<MSG> got = TakeAll();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, UINT{WM_SYSKEYUP});
    EXPECT_EQ(got[0].wParam, WPARAM{VK_MENU});
    // A Return on its own afterwards is a key again.
    PushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN);
    const std::vector<MSG> after = TakeAll();
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].message, UINT{WM_KEYDOWN});
    EXPECT_EQ(after[0].wParam, WPARAM{VK_RETURN});
}

// A key pressed while GetMessageA waits on an empty queue ends the wait.
TEST_F(WindowInput, AKeyEndsAWaitForMessages) {
    std::atomic<bool> pushed{false};
    std::thread presser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        pushed = true;
        PushKey(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    });
    MSG msg = {};
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    const bool wasPushed = pushed;
    presser.join();
    EXPECT_TRUE(wasPushed) << "GetMessageA returned before anything was queued";
    EXPECT_EQ(got, TRUE);
    EXPECT_EQ(msg.message, UINT{WM_KEYDOWN});
    EXPECT_EQ(msg.wParam, WPARAM{VK_ESCAPE});
    EXPECT_EQ(msg.hwnd, window.hwnd());
}

} // namespace
