// The page's keys (KeyboardEvent.code) as Windows virtual-key codes, and the
// keys Windows marks as extended: the same codes the desktop's keys give.
#include "platform/portable/windowing/canvas/canvas_keymap.h"

#include <gtest/gtest.h>

namespace {

using portable::IsExtendedCode;
using portable::VirtualKeyForCode;

struct CodeCase {
    const char *code;
    WPARAM vk;
    bool extended;
};

const CodeCase kCodes[] = {
    {"KeyA", 'A', false},
    {"KeyZ", 'Z', false},
    {"Digit0", '0', false},
    {"Digit9", '9', false},
    {"F1", VK_F1, false},
    {"F10", VK_F10, false},
    {"F12", VK_F12, false},
    {"F24", 0x87, false},
    {"Numpad0", VK_NUMPAD0, false},
    {"Numpad9", VK_NUMPAD0 + 9, false},
    {"NumpadEnter", VK_RETURN, true},
    {"Enter", VK_RETURN, false},
    {"Escape", VK_ESCAPE, false},
    {"Space", VK_SPACE, false},
    {"Backspace", VK_BACK, false},
    {"Tab", VK_TAB, false},
    {"ShiftLeft", VK_SHIFT, false},
    {"ShiftRight", VK_SHIFT, false},
    {"ControlLeft", VK_CONTROL, false},
    {"ControlRight", VK_CONTROL, true},
    {"AltLeft", VK_MENU, false},
    {"AltRight", VK_MENU, true},
    {"MetaLeft", VK_LWIN, true},
    {"OSRight", VK_RWIN, true},
    {"ArrowLeft", VK_LEFT, true},
    {"ArrowDown", VK_DOWN, true},
    {"PageUp", VK_PRIOR, true},
    {"Delete", VK_DELETE, true},
    {"NumpadDivide", VK_DIVIDE, true},
    {"NumpadMultiply", VK_MULTIPLY, false},
    {"Semicolon", VK_OEM_1, false},
    {"Backquote", VK_OEM_3, false},
    {"Quote", VK_OEM_7, false},
    {"IntlBackslash", VK_OEM_102, false},
};

TEST(VirtualKeyForCode, GivesTheDesktopsCodeForEachKey) {
    for (const CodeCase &c : kCodes) {
        EXPECT_EQ(VirtualKeyForCode(c.code), c.vk) << c.code;
        EXPECT_EQ(IsExtendedCode(c.code), c.extended) << c.code;
    }
}

// Keys Windows has no code for, and names that are no key, still arrive as
// keys: with 0xFF.
TEST(VirtualKeyForCode, GivesFFForKeysWithoutACode) {
    for (const char *code :
         {"", "Fn", "KeyAB", "Keya", "Digit10", "F0", "F25", "F1x", "Numpad10", "Lang1"})
        EXPECT_EQ(VirtualKeyForCode(code), WPARAM{0xFF}) << '"' << code << '"';
    EXPECT_EQ(VirtualKeyForCode(nullptr), WPARAM{0xFF});
    EXPECT_FALSE(IsExtendedCode(nullptr));
    EXPECT_FALSE(IsExtendedCode("KeyA"));
}

} // namespace
