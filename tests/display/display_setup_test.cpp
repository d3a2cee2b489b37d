// The display set-up and teardown: which objects exist after a set-up that
// fails at each of its steps, and what the teardown then releases, in which
// order; the display it takes and gives back.
#include "display/display.h"
#include "platform/portable/ddraw/ddraw_faults.h"
#include "platform/portable/ddraw/ddraw_display.h"
#include "platform/portable/ddraw/ddraw_objects.h"
#include "tests/support/headless_screen.h"
#include "tests/support/case_names.h"
#include "tests/support/program_state.h"
#include "tests/support/release_log.h"
#include "tests/support/surfaces.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace {

using portable::DirectDrawCall;
using testsupport::ReleaseLog;

// The display globals replaced by stand-ins that log their release.
class WatchedGlobals {
  public:
    void Watch() {
        if (g_pDD != nullptr) {
            dd_.reset(new testsupport::LoggedDirectDraw("DirectDraw object", g_pDD, &log));
            g_pDD = dd_.get();
        }
        Wrap(&g_pDDSPrimary, &primary_, "primary surface");
        Wrap(&g_pDDSBack, &back_, "back buffer");
        Wrap(&g_pDDSWork, &work_, "work surface");
        if (g_pDDPal != nullptr) {
            palette_.reset(new testsupport::LoggedPalette("palette", g_pDDPal, &log));
            g_pDDPal = palette_.get();
        }
    }
    ReleaseLog log;

  private:
    void Wrap(LPDIRECTDRAWSURFACE *global, std::unique_ptr<testsupport::LoggedSurface> *holder,
              const char *name) {
        if (*global == nullptr)
            return;
        holder->reset(new testsupport::LoggedSurface(name, *global, &log));
        *global = holder->get();
    }
    std::unique_ptr<testsupport::LoggedDirectDraw> dd_;
    std::unique_ptr<testsupport::LoggedSurface> primary_, back_, work_;
    std::unique_ptr<testsupport::LoggedPalette> palette_;
};

// A set-up step made to fail: the call, and how many calls of it succeed
// first.
struct Fault {
    bool inject;
    DirectDrawCall call;
    unsigned skip;
};
constexpr Fault Failing(DirectDrawCall call, unsigned skip = 0) {
    return Fault{true, call, skip};
}
constexpr Fault kNoFault = {false, DirectDrawCall::Create, 0};

// The display globals, as flags.
enum Global : unsigned { kDirectDraw = 1, kPrimary = 2, kBack = 4, kWork = 8, kPalette = 16 };
constexpr unsigned kAllGlobals = kDirectDraw | kPrimary | kBack | kWork | kPalette;

struct SetupCase {
    const char *name;
    Fault fault;
    int result;          // of InitDirectDraw
    unsigned globalsSet; // afterwards
    size_t liveObjects;  // afterwards
    ReleaseLog releases; // by the teardown, in order
};

std::ostream &operator<<(std::ostream &os, const SetupCase &c) {
    return os << c.name;
}

const SetupCase kSetupCases[] = {
    {"DirectDrawCreate fails", Failing(DirectDrawCall::Create), 0, 0, 0, {}},
    {"cooperative level refused",
     Failing(DirectDrawCall::SetCooperativeLevel),
     0,
     kDirectDraw,
     1,
     {"DirectDraw object"}},
    {"display mode refused",
     Failing(DirectDrawCall::SetDisplayMode),
     0,
     kDirectDraw,
     1,
     {"DirectDraw object"}},
    {"primary surface not created",
     Failing(DirectDrawCall::CreateSurface),
     0,
     kDirectDraw,
     1,
     {"DirectDraw object"}},
    {"back buffer not found",
     Failing(DirectDrawCall::GetAttachedSurface),
     0,
     kDirectDraw | kPrimary,
     3,
     {"primary surface", "DirectDraw object"}},
    {"work surface not created",
     Failing(DirectDrawCall::CreateSurface, 1),
     0,
     kDirectDraw | kPrimary | kBack,
     3,
     {"primary surface", "DirectDraw object"}},
    {"palette not created",
     Failing(DirectDrawCall::CreatePalette),
     0,
     kDirectDraw | kPrimary | kBack | kWork,
     4,
     {"primary surface", "work surface", "DirectDraw object"}},
    {"palette not attached (not a set-up failure)",
     Failing(DirectDrawCall::SetPalette),
     1,
     kAllGlobals,
     5,
     {"palette", "primary surface", "work surface", "DirectDraw object"}},
    {"nothing fails",
     kNoFault,
     1,
     kAllGlobals,
     5,
     {"palette", "primary surface", "work surface", "DirectDraw object"}},
};

class DisplaySetup : public testsupport::ProgramStateTest,
                     public ::testing::WithParamInterface<SetupCase> {
  protected:
    testsupport::TestWindow window;
    testsupport::HeadlessScreen screen; // keeps the frames in the test
};

TEST_P(DisplaySetup, LeavesTheObjectsBeforeTheFailedStepForTheTeardown) {
    const SetupCase c = GetParam();
    ASSERT_EQ(portable::LiveDirectDrawObjects(), 0u);
    if (c.fault.inject)
        portable::FailNextDirectDrawCall(c.fault.call, DDERR_GENERIC, c.fault.skip);

    EXPECT_EQ(InitDirectDraw(window.hwnd()), c.result);
    EXPECT_EQ(g_pDD != nullptr, (c.globalsSet & kDirectDraw) != 0);
    EXPECT_EQ(g_pDDSPrimary != nullptr, (c.globalsSet & kPrimary) != 0);
    EXPECT_EQ(g_pDDSBack != nullptr, (c.globalsSet & kBack) != 0);
    EXPECT_EQ(g_pDDSWork != nullptr, (c.globalsSet & kWork) != 0);
    EXPECT_EQ(g_pDDPal != nullptr, (c.globalsSet & kPalette) != 0);
    // Nothing created by a step that failed is left over, and nothing
    // created before it was released.
    EXPECT_EQ(portable::LiveDirectDrawObjects(), c.liveObjects);

    WatchedGlobals watched;
    watched.Watch();
    EXPECT_EQ(ReleaseDirectDraw(), 1);
    EXPECT_EQ(watched.log, c.releases);
    EXPECT_EQ(g_pDD, nullptr);
    EXPECT_EQ(g_pDDSPrimary, nullptr);
    EXPECT_EQ(g_pDDSBack, nullptr);
    EXPECT_EQ(g_pDDSWork, nullptr);
    EXPECT_EQ(g_pDDPal, nullptr);
    EXPECT_EQ(portable::LiveDirectDrawObjects(), 0u);
    EXPECT_FALSE(portable::ScreenHeld());
}

INSTANTIATE_TEST_SUITE_P(EachStep, DisplaySetup, ::testing::ValuesIn(kSetupCases),
                         testsupport::NameField());

class DisplayTeardown : public testsupport::ProgramStateTest {
  protected:
    testsupport::HeadlessScreen screen;
};

TEST_F(DisplayTeardown, WithNothingCreatedReleasesNothingAndSaysOne) {
    WatchedGlobals watched;
    watched.Watch();
    EXPECT_EQ(ReleaseDirectDraw(), 1);
    EXPECT_EQ(ReleaseDirectDraw(), 1);
    EXPECT_TRUE(watched.log.empty());
}

TEST_F(DisplayTeardown, ASecondTeardownFindsNothingLeft) {
    testsupport::TestWindow window;
    ASSERT_EQ(InitDirectDraw(window.hwnd()), 1);
    ReleaseDirectDraw();
    WatchedGlobals watched;
    watched.Watch();
    EXPECT_EQ(ReleaseDirectDraw(), 1);
    EXPECT_TRUE(watched.log.empty());
    EXPECT_EQ(portable::LiveDirectDrawObjects(), 0u);
}

TEST_F(DisplayTeardown, ClearsTheBackBufferPointerEvenWithoutAPrimary) {
    // A back buffer pointer without its chain cannot happen in the demo;
    // the teardown clears it without touching what it points at.
    testsupport::TestWindow window;
    LPDIRECTDRAW dd = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    ASSERT_EQ(dd->SetCooperativeLevel(window.hwnd(), DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    LPDIRECTDRAWSURFACE stray = testsupport::CreatePlainSurface(dd, 8, 8);
    ASSERT_NE(stray, nullptr);
    ReleaseLog log;
    testsupport::LoggedSurface watchedBack("back buffer", stray, &log);
    g_pDDSBack = &watchedBack;
    EXPECT_EQ(ReleaseDirectDraw(), 1);
    EXPECT_EQ(g_pDDSBack, nullptr);
    EXPECT_TRUE(log.empty());
    stray->Release();
    dd->Release();
}

} // namespace
