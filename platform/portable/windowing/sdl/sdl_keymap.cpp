// SDL's keys as Windows virtual-key codes. The demo only asks whether a key
// was pressed, but the queue carries real WM_KEYDOWN messages, so each key is
// named as Windows names it: by the symbol it types where Windows has a code
// for that symbol, else by its place on the keyboard, so that no layout
// leaves a key without a message.
#include "platform/portable/windowing/sdl/sdl_keymap.h"

namespace portable {
namespace {

struct KeyPair {
    SDL_Keycode sym;
    WPARAM vk;
};

const KeyPair kNamedKeys[] = {
    {SDLK_BACKSPACE, VK_BACK},
    {SDLK_TAB, VK_TAB},
    {SDLK_RETURN, VK_RETURN},
    {SDLK_KP_ENTER, VK_RETURN},
    {SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_SPACE, VK_SPACE},
    {SDLK_PAGEUP, VK_PRIOR},
    {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, VK_END},
    {SDLK_HOME, VK_HOME},
    {SDLK_LEFT, VK_LEFT},
    {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},
    {SDLK_DOWN, VK_DOWN},
    {SDLK_PRINTSCREEN, VK_SNAPSHOT},
    {SDLK_INSERT, VK_INSERT},
    {SDLK_DELETE, VK_DELETE},
    {SDLK_PAUSE, VK_PAUSE},
    {SDLK_CAPSLOCK, VK_CAPITAL},
    {SDLK_NUMLOCKCLEAR, VK_NUMLOCK},
    {SDLK_SCROLLLOCK, VK_SCROLL},
    {SDLK_LSHIFT, VK_SHIFT},
    {SDLK_RSHIFT, VK_SHIFT},
    {SDLK_LCTRL, VK_CONTROL},
    {SDLK_RCTRL, VK_CONTROL},
    {SDLK_LALT, VK_MENU},
    {SDLK_RALT, VK_MENU},
    {SDLK_LGUI, VK_LWIN},
    {SDLK_RGUI, VK_RWIN},
    {SDLK_APPLICATION, VK_APPS},
    {SDLK_KP_MULTIPLY, VK_MULTIPLY},
    {SDLK_KP_PLUS, VK_ADD},
    {SDLK_KP_MINUS, VK_SUBTRACT},
    {SDLK_KP_PERIOD, VK_DECIMAL},
    {SDLK_KP_DIVIDE, VK_DIVIDE},
    {SDLK_SEMICOLON, VK_OEM_1},
    {SDLK_EQUALS, VK_OEM_PLUS},
    {SDLK_COMMA, VK_OEM_COMMA},
    {SDLK_MINUS, VK_OEM_MINUS},
    {SDLK_PERIOD, VK_OEM_PERIOD},
    {SDLK_SLASH, VK_OEM_2},
    {SDLK_BACKQUOTE, VK_OEM_3},
    {SDLK_LEFTBRACKET, VK_OEM_4},
    {SDLK_BACKSLASH, VK_OEM_5},
    {SDLK_RIGHTBRACKET, VK_OEM_6},
    {SDLK_QUOTE, VK_OEM_7},
};

} // namespace

WPARAM VirtualKeyFor(SDL_Keycode sym, SDL_Scancode scancode) {
    if (sym >= SDLK_a && sym <= SDLK_z)
        return static_cast<WPARAM>('A' + (sym - SDLK_a));
    if (sym >= SDLK_0 && sym <= SDLK_9)
        return static_cast<WPARAM>('0' + (sym - SDLK_0));
    if (sym >= SDLK_F1 && sym <= SDLK_F12)
        return static_cast<WPARAM>(VK_F1 + (sym - SDLK_F1));
    if (sym >= SDLK_F13 && sym <= SDLK_F24)
        return static_cast<WPARAM>(VK_F1 + 12 + (sym - SDLK_F13));
    if (sym >= SDLK_KP_1 && sym <= SDLK_KP_9)
        return static_cast<WPARAM>(VK_NUMPAD0 + 1 + (sym - SDLK_KP_1));
    if (sym == SDLK_KP_0)
        return VK_NUMPAD0;
    for (const KeyPair &pair : kNamedKeys)
        if (pair.sym == sym)
            return pair.vk;
    // Layouts whose keys have other symbols: fall back on the key's place.
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return static_cast<WPARAM>('A' + (scancode - SDL_SCANCODE_A));
    // The digit row keeps its digit codes where it types other symbols
    // (AZERTY's & and a-grave), as on Windows; SDL puts 0 after 9.
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return static_cast<WPARAM>('1' + (scancode - SDL_SCANCODE_1));
    if (scancode == SDL_SCANCODE_0)
        return '0';
    if (scancode == SDL_SCANCODE_NONUSBACKSLASH)
        return VK_OEM_102;
    return 0xFF;
}

bool IsExtendedKey(SDL_Scancode scancode) {
    switch (scancode) {
    case SDL_SCANCODE_RALT:
    case SDL_SCANCODE_RCTRL:
    case SDL_SCANCODE_INSERT:
    case SDL_SCANCODE_DELETE:
    case SDL_SCANCODE_HOME:
    case SDL_SCANCODE_END:
    case SDL_SCANCODE_PAGEUP:
    case SDL_SCANCODE_PAGEDOWN:
    case SDL_SCANCODE_LEFT:
    case SDL_SCANCODE_RIGHT:
    case SDL_SCANCODE_UP:
    case SDL_SCANCODE_DOWN:
    case SDL_SCANCODE_NUMLOCKCLEAR:
    case SDL_SCANCODE_KP_DIVIDE:
    case SDL_SCANCODE_KP_ENTER:
    case SDL_SCANCODE_PRINTSCREEN:
    case SDL_SCANCODE_LGUI:
    case SDL_SCANCODE_RGUI:
    case SDL_SCANCODE_APPLICATION:
        return true;
    default:
        return false;
    }
}

} // namespace portable
