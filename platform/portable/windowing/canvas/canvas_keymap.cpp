// A browser hands a page no virtual-key codes: KeyboardEvent.code names the
// key's place, as on a US keyboard, and KeyboardEvent.key the character it
// types, which changes with Shift and dead keys. The place is what the SDL
// back end falls back on too, and it is the same for a key's press and
// release, so the codes are read from it.
#include "platform/portable/windowing/canvas/canvas_keymap.h"

#include <cstdlib>
#include <cstring>

namespace portable {
namespace {

struct CodePair {
    const char *code;
    WPARAM vk;
};

const CodePair kNamedKeys[] = {
    {"Backspace", VK_BACK},
    {"Tab", VK_TAB},
    {"Enter", VK_RETURN},
    {"NumpadEnter", VK_RETURN},
    {"Escape", VK_ESCAPE},
    {"Space", VK_SPACE},
    {"PageUp", VK_PRIOR},
    {"PageDown", VK_NEXT},
    {"End", VK_END},
    {"Home", VK_HOME},
    {"ArrowLeft", VK_LEFT},
    {"ArrowUp", VK_UP},
    {"ArrowRight", VK_RIGHT},
    {"ArrowDown", VK_DOWN},
    {"PrintScreen", VK_SNAPSHOT},
    {"Insert", VK_INSERT},
    {"Delete", VK_DELETE},
    {"Pause", VK_PAUSE},
    {"CapsLock", VK_CAPITAL},
    {"NumLock", VK_NUMLOCK},
    {"ScrollLock", VK_SCROLL},
    {"ShiftLeft", VK_SHIFT},
    {"ShiftRight", VK_SHIFT},
    {"ControlLeft", VK_CONTROL},
    {"ControlRight", VK_CONTROL},
    {"AltLeft", VK_MENU},
    {"AltRight", VK_MENU},
    {"MetaLeft", VK_LWIN},
    {"MetaRight", VK_RWIN},
    {"OSLeft", VK_LWIN}, // the older names of the same two keys
    {"OSRight", VK_RWIN},
    {"ContextMenu", VK_APPS},
    {"NumpadMultiply", VK_MULTIPLY},
    {"NumpadAdd", VK_ADD},
    {"NumpadSubtract", VK_SUBTRACT},
    {"NumpadDecimal", VK_DECIMAL},
    {"NumpadDivide", VK_DIVIDE},
    {"Semicolon", VK_OEM_1},
    {"Equal", VK_OEM_PLUS},
    {"Comma", VK_OEM_COMMA},
    {"Minus", VK_OEM_MINUS},
    {"Period", VK_OEM_PERIOD},
    {"Slash", VK_OEM_2},
    {"Backquote", VK_OEM_3},
    {"BracketLeft", VK_OEM_4},
    {"Backslash", VK_OEM_5},
    {"BracketRight", VK_OEM_6},
    {"Quote", VK_OEM_7},
    {"IntlBackslash", VK_OEM_102},
};

const char *const kExtendedKeys[] = {
    "AltRight", "ControlRight", "Insert",      "Delete",      "Home",     "End",
    "PageUp",   "PageDown",     "ArrowLeft",   "ArrowRight",  "ArrowUp",  "ArrowDown",
    "NumLock",  "NumpadDivide", "NumpadEnter", "PrintScreen", "MetaLeft", "MetaRight",
    "OSLeft",   "OSRight",      "ContextMenu",
};

// The number after `prefix` in `code` ("F12" -> 12), or -1 when `code` is
// not the prefix and one or two digits.
int NumberAfter(const char *code, const char *prefix) {
    const size_t length = std::strlen(prefix);
    if (std::strncmp(code, prefix, length) != 0)
        return -1;
    const char *digits = code + length;
    const size_t count = std::strlen(digits);
    if (count < 1 || count > 2 || digits[0] < '0' || digits[0] > '9' ||
        (count == 2 && (digits[1] < '0' || digits[1] > '9')))
        return -1;
    return std::atoi(digits);
}

} // namespace

WPARAM VirtualKeyForCode(const char *code) {
    if (code == nullptr)
        return 0xFF;
    // "KeyA".."KeyZ" and "Digit0".."Digit9": the codes are the ASCII letters
    // and digits themselves.
    if (std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z' && code[4] == '\0')
        return static_cast<WPARAM>(code[3]);
    if (std::strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9' && code[6] == '\0')
        return static_cast<WPARAM>(code[5]);
    const int function = NumberAfter(code, "F");
    if (function >= 1 && function <= 24)
        return static_cast<WPARAM>(VK_F1 + function - 1);
    const int numpad = NumberAfter(code, "Numpad");
    if (numpad >= 0 && numpad <= 9)
        return static_cast<WPARAM>(VK_NUMPAD0 + numpad);
    for (const CodePair &pair : kNamedKeys)
        if (std::strcmp(pair.code, code) == 0)
            return pair.vk;
    return 0xFF;
}

bool IsExtendedCode(const char *code) {
    if (code == nullptr)
        return false;
    for (const char *extended : kExtendedKeys)
        if (std::strcmp(extended, code) == 0)
            return true;
    return false;
}

} // namespace portable
