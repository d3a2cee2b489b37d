// Window classes and windows: registration, the messages a window's
// procedure receives while it is created, shown, painted and destroyed.
#include "tests/support/logging_window.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

namespace {

using testsupport::DiscardQueuedMessages;
using testsupport::LoggingWindow;

LRESULT CALLBACK DefaultProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

WNDCLASSA ClassNamed(const char *name, WNDPROC proc = DefaultProcedure) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    return wc;
}

TEST(RegisterClass, RegistersANameOnceWhateverItsCase) {
    // A name of its own on every run, so the test also holds when repeated.
    static int run = 0;
    const std::string name = "ondulix-once-" + std::to_string(++run);
    std::string shouted = name;
    for (char &c : shouted)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    WNDCLASSA first = ClassNamed(name.c_str());
    EXPECT_NE(RegisterClassA(&first), 0);
    WNDCLASSA again = ClassNamed(shouted.c_str());
    EXPECT_EQ(RegisterClassA(&again), 0);
    HWND hwnd = CreateWindowExA(0, shouted.c_str(), "t", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr) << "the class is found by any case of its name";
    DestroyWindow(hwnd);
}

TEST(RegisterClass, RefusesAClassWithoutNameOrProcedure) {
    WNDCLASSA noProcedure = ClassNamed("ondulix-no-procedure", nullptr);
    WNDCLASSA emptyName = ClassNamed("");
    WNDCLASSA noName = ClassNamed(nullptr);
    EXPECT_EQ(RegisterClassA(&noProcedure), 0);
    EXPECT_EQ(RegisterClassA(&emptyName), 0);
    EXPECT_EQ(RegisterClassA(&noName), 0);
    EXPECT_EQ(RegisterClassA(nullptr), 0);
}

TEST(CreateWindow, RefusesAClassThatWasNeverRegistered) {
    EXPECT_EQ(CreateWindowExA(0, "ondulix-never-registered", "t", WS_POPUP, 0, 0, 10, 10, nullptr,
                              nullptr, nullptr, nullptr),
              nullptr);
}

TEST(CreateWindow, SendsTheCreationMessagesToTheClassProcedureInOrder) {
    LoggingWindow window;
    ASSERT_NE(window.hwnd(), nullptr);
    EXPECT_TRUE(IsWindow(window.hwnd()));
    EXPECT_EQ(window.Messages(), (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE}));
    for (const testsupport::LoggedMessage &m : window.log())
        EXPECT_EQ(m.hwnd, window.hwnd());
}

// What WM_CREATE carries: the arguments of CreateWindowExA.
struct CreationSeen {
    bool seen = false;
    CREATESTRUCTA cs = {};
    std::string name, className;
};
CreationSeen g_creation;

LRESULT CALLBACK CreationProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        const auto *cs = reinterpret_cast<const CREATESTRUCTA *>(lParam);
        g_creation.seen = true;
        g_creation.cs = *cs;
        g_creation.name = cs->lpszName;
        g_creation.className = cs->lpszClass;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(CreateWindow, CreationMessageCarriesTheCallersArguments) {
    static const ATOM atom = [] {
        WNDCLASSA wc = ClassNamed("ondulix-creation", CreationProcedure);
        return RegisterClassA(&wc);
    }();
    ASSERT_NE(atom, 0);
    int creationData = 0;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(&creationData);
    g_creation = {};
    HWND hwnd = CreateWindowExA(WS_EX_APPWINDOW, "ondulix-creation", "Ondulix", WS_POPUPWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance,
                                &creationData);
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(g_creation.seen);
    EXPECT_EQ(g_creation.cs.lpCreateParams, &creationData);
    EXPECT_EQ(g_creation.cs.hInstance, instance);
    EXPECT_EQ(g_creation.cs.cx, 640);
    EXPECT_EQ(g_creation.cs.cy, 480);
    EXPECT_EQ(static_cast<DWORD>(g_creation.cs.style), DWORD{WS_POPUPWINDOW});
    EXPECT_EQ(g_creation.cs.dwExStyle, DWORD{WS_EX_APPWINDOW});
    EXPECT_EQ(g_creation.name, "Ondulix");
    EXPECT_EQ(g_creation.className, "ondulix-creation");
    DestroyWindow(hwnd);
}

struct Refusal {
    const char *name;
    UINT message;
    LRESULT reply;
    std::vector<UINT> expected; // what the procedure sees, in order
};

// Named in test listings by its case name.
void PrintTo(const Refusal &c, std::ostream *os) {
    *os << c.name;
}

class RefusedCreation : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedCreation, EndsTheCreationWithoutAWindow) {
    const Refusal &r = GetParam();
    LoggingWindow window(WS_POPUP, {{r.message, r.reply}});
    EXPECT_EQ(window.hwnd(), nullptr);
    EXPECT_EQ(window.Messages(), r.expected);
    ASSERT_FALSE(window.log().empty());
    EXPECT_FALSE(IsWindow(window.log()[0].hwnd));
}

const Refusal kRefusals[] = {
    {"NonClientCreationAnsweredFalse", WM_NCCREATE, FALSE, {WM_NCCREATE, WM_NCDESTROY}},
    {"CreationAnsweredMinusOne",
     WM_CREATE,
     -1,
     {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}},
};

INSTANTIATE_TEST_SUITE_P(Replies, RefusedCreation, ::testing::ValuesIn(kRefusals),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ShowWindow, ShowsOnceAndTellsWhetherTheWindowWasVisible) {
    LoggingWindow window;
    window.ClearLog();
    EXPECT_EQ(ShowWindow(window.hwnd(), SW_SHOWDEFAULT), FALSE);
    EXPECT_EQ(ShowWindow(window.hwnd(), SW_SHOWDEFAULT), TRUE);
    EXPECT_EQ(window.MessagesAmong({WM_SHOWWINDOW}), std::vector<UINT>{WM_SHOWWINDOW});
    EXPECT_EQ(window.log().at(0).wParam, WPARAM{TRUE});
    EXPECT_EQ(ShowWindow(window.hwnd(), SW_HIDE), TRUE);
    EXPECT_EQ(window.log().back().message, UINT{WM_SHOWWINDOW});
    EXPECT_EQ(window.log().back().wParam, WPARAM{FALSE});
    EXPECT_EQ(ShowWindow(nullptr, SW_SHOW), FALSE);
}

TEST(ShowWindow, AShownWindowIsPaintedOnceByUpdateWindow) {
    LoggingWindow window;
    ShowWindow(window.hwnd(), SW_SHOWDEFAULT);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, UINT{WM_PAINT}) << "a shown window waits to be painted";
    window.ClearLog();
    EXPECT_TRUE(UpdateWindow(window.hwnd()));
    EXPECT_EQ(window.MessagesAmong({WM_PAINT}), std::vector<UINT>{WM_PAINT});
    EXPECT_TRUE(UpdateWindow(window.hwnd()));
    EXPECT_EQ(window.MessagesAmong({WM_PAINT}).size(), 1u) << "painted windows need no paint";
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    DiscardQueuedMessages();
}

TEST(DestroyWindow, SendsDestroyThenNonClientDestroyAndTheHandleDies) {
    LoggingWindow window;
    const HWND hwnd = window.hwnd();
    window.ClearLog();
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ(window.Messages(), (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(DestroyWindow(hwnd));
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 0, 0), 0);
    EXPECT_EQ(window.Messages().size(), 2u) << "nothing reaches a destroyed window";
}

int g_destroys = 0;

LRESULT CALLBACK ReentrantProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ++g_destroys;
        if (g_destroys < 5) // a runaway recursion shows as five
            DestroyWindow(hwnd);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(DestroyWindow, DestroyingAgainFromInsideDestroyDoesNotRecurse) {
    static const ATOM atom = [] {
        WNDCLASSA wc = ClassNamed("ondulix-reentrant", ReentrantProcedure);
        return RegisterClassA(&wc);
    }();
    ASSERT_NE(atom, 0);
    HWND hwnd = CreateWindowExA(0, "ondulix-reentrant", "t", WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    g_destroys = 0;
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ(g_destroys, 1);
    EXPECT_FALSE(IsWindow(hwnd));
}

} // namespace
