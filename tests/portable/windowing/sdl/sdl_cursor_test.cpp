// SetCursor: no cursor hides the pointer; a cursor shows it again; each call
// gives back the cursor it replaced.
#include "platform/platform.h"
#include "platform/portable/windowing/windowing.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

TEST(SetCursor, NoCursorHidesThePointerAndACursorShowsIt) {
    ASSERT_TRUE(portable::Windowing().Available());
    int arrowTag = 0;
    const HCURSOR arrow = reinterpret_cast<HCURSOR>(&arrowTag);
    SetCursor(arrow);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    EXPECT_EQ(SetCursor(nullptr), arrow);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(SetCursor(nullptr), nullptr);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(SetCursor(arrow), nullptr);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

} // namespace
