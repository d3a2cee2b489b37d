// How large the window that shows the frames opens: the user's
// ONDULIX_SCALE when it is a whole number from 1 to 8, else the desktop's
// own scale from its Xft.dpi, else 1.
#include "platform/portable/windowing/sdl/sdl_window_scale.h"

#include <gtest/gtest.h>

namespace {

struct ScaleCase {
    const char *setting;
    const char *resources;
    int scale;
};

TEST(WindowScale, ComesFromTheSettingElseTheDesktopElseOne) {
    const ScaleCase cases[] = {
        {nullptr, nullptr, 1},
        {"", "", 1},
        {"2", nullptr, 2},
        {"8", nullptr, 8},
        {"3", "Xft.dpi:\t192\n", 3}, // the user's choice comes first
        {"0", nullptr, 1},           // not a scale: the desktop's, here none
        {"9", "Xft.dpi:\t192\n", 2},
        {"2x", nullptr, 1},
        {"-1", nullptr, 1},
        {nullptr, "Xft.dpi:\t96\n", 1},
        {nullptr, "Xft.dpi:\t120\n", 1}, // 1.25 rounds down
        {nullptr, "Xft.dpi:\t144\n", 2}, // 1.5 rounds up
        {nullptr, "Xcursor.size:\t48\nXft.dpi:\t192\nXft.hinting:\t1\n", 2},
        {nullptr, "Xft.dpi:\t2000\n", 8},
        {nullptr, "Xft.dpi:\t72\n", 1},
        {nullptr, "NotXft.dpi:\t192\n", 1},
        {nullptr, "Xft.dpi:\tlarge\n", 1},
    };
    for (const ScaleCase &c : cases)
        EXPECT_EQ(portable::ChooseWindowScale(c.setting, c.resources), c.scale)
            << "ONDULIX_SCALE=" << (c.setting ? c.setting : "(unset)") << ", resources \""
            << (c.resources ? c.resources : "(none)") << "\"";
}

} // namespace
