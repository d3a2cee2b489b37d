// SDL's keys as Windows virtual-key codes, and the keys Windows marks as
// extended.
#include "platform/portable/windowing/sdl/sdl_keymap.h"

#include <gtest/gtest.h>

namespace {

using portable::IsExtendedKey;
using portable::VirtualKeyFor;

struct KeyCase {
    const char *what;
    SDL_Keycode sym;
    SDL_Scancode scancode;
    WPARAM vk;
};

const KeyCase kKeys[] = {
    {"first letter", SDLK_a, SDL_SCANCODE_A, 'A'},
    {"last letter", SDLK_z, SDL_SCANCODE_Z, 'Z'},
    {"digit 0", SDLK_0, SDL_SCANCODE_0, '0'},
    {"digit 9", SDLK_9, SDL_SCANCODE_9, '9'},
    {"F1", SDLK_F1, SDL_SCANCODE_F1, VK_F1},
    {"F4", SDLK_F4, SDL_SCANCODE_F4, VK_F4},
    {"F10", SDLK_F10, SDL_SCANCODE_F10, VK_F10},
    {"F12", SDLK_F12, SDL_SCANCODE_F12, VK_F12},
    {"F13", SDLK_F13, SDL_SCANCODE_F13, 0x7C},
    {"F24", SDLK_F24, SDL_SCANCODE_F24, 0x87},
    {"keypad 0", SDLK_KP_0, SDL_SCANCODE_KP_0, VK_NUMPAD0},
    {"keypad 1", SDLK_KP_1, SDL_SCANCODE_KP_1, VK_NUMPAD0 + 1},
    {"keypad 9", SDLK_KP_9, SDL_SCANCODE_KP_9, VK_NUMPAD0 + 9},
    {"keypad enter", SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {"escape", SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {"space", SDLK_SPACE, SDL_SCANCODE_SPACE, VK_SPACE},
    {"return", SDLK_RETURN, SDL_SCANCODE_RETURN, VK_RETURN},
    {"left shift", SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, VK_SHIFT},
    {"right control", SDLK_RCTRL, SDL_SCANCODE_RCTRL, VK_CONTROL},
    {"left alt", SDLK_LALT, SDL_SCANCODE_LALT, VK_MENU},
    {"page down", SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, VK_NEXT},
    {"semicolon", SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, VK_OEM_1},
    {"quote", SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, VK_OEM_7},
    // Other layouts: the key's symbol is not a letter or digit, its place is.
    {"AZERTY digit row 1", SDLK_AMPERSAND, SDL_SCANCODE_1, '1'},
    {"AZERTY digit row 0", 0xE0, SDL_SCANCODE_0, '0'},
    {"Cyrillic letter", 0x0444, SDL_SCANCODE_A, 'A'},
    {"key between shift and Z", SDLK_LESS, SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102},
    {"key Windows has no code for", SDLK_MUTE, SDL_SCANCODE_MUTE, 0xFF},
};

TEST(VirtualKeyFor, GivesEachKeyItsWindowsCode) {
    for (const KeyCase &c : kKeys)
        EXPECT_EQ(VirtualKeyFor(c.sym, c.scancode), c.vk) << c.what;
}

TEST(IsExtendedKey, MarksTheKeysOutsideTheOriginalKeyboard) {
    const SDL_Scancode extended[] = {
        SDL_SCANCODE_RALT, SDL_SCANCODE_RCTRL, SDL_SCANCODE_INSERT,   SDL_SCANCODE_DELETE,
        SDL_SCANCODE_LEFT, SDL_SCANCODE_DOWN,  SDL_SCANCODE_KP_ENTER, SDL_SCANCODE_KP_DIVIDE};
    const SDL_Scancode plain[] = {SDL_SCANCODE_LALT, SDL_SCANCODE_LCTRL,  SDL_SCANCODE_RETURN,
                                  SDL_SCANCODE_A,    SDL_SCANCODE_ESCAPE, SDL_SCANCODE_KP_4,
                                  SDL_SCANCODE_F4};
    for (SDL_Scancode s : extended)
        EXPECT_TRUE(IsExtendedKey(s)) << SDL_GetScancodeName(s);
    for (SDL_Scancode s : plain)
        EXPECT_FALSE(IsExtendedKey(s)) << SDL_GetScancodeName(s);
}

} // namespace
