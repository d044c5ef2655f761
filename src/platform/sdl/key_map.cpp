#include "platform/sdl/key_map.h"

namespace platform::sdl {

namespace {

struct KeyPair {
    int virtualKey;
    SDL_Scancode scancode;
};

// Keys with no run of consecutive codes on both sides. Letters, digits and the
// function keys are handled by arithmetic below.
constexpr KeyPair namedKeys[] = {
    {0x08, SDL_SCANCODE_BACKSPACE},    {0x09, SDL_SCANCODE_TAB},
    {0x0D, SDL_SCANCODE_RETURN},       {0x0D, SDL_SCANCODE_KP_ENTER},
    {0x10, SDL_SCANCODE_LSHIFT},       {0x10, SDL_SCANCODE_RSHIFT},
    {0x11, SDL_SCANCODE_LCTRL},        {0x11, SDL_SCANCODE_RCTRL},
    {0x12, SDL_SCANCODE_LALT},         {0x12, SDL_SCANCODE_RALT},
    {0x13, SDL_SCANCODE_PAUSE},        {0x14, SDL_SCANCODE_CAPSLOCK},
    {0x1B, SDL_SCANCODE_ESCAPE},       {0x20, SDL_SCANCODE_SPACE},
    {0x21, SDL_SCANCODE_PAGEUP},       {0x22, SDL_SCANCODE_PAGEDOWN},
    {0x23, SDL_SCANCODE_END},          {0x24, SDL_SCANCODE_HOME},
    {0x25, SDL_SCANCODE_LEFT},         {0x26, SDL_SCANCODE_UP},
    {0x27, SDL_SCANCODE_RIGHT},        {0x28, SDL_SCANCODE_DOWN},
    {0x2C, SDL_SCANCODE_PRINTSCREEN},  {0x2D, SDL_SCANCODE_INSERT},
    {0x2E, SDL_SCANCODE_DELETE},       {0x5B, SDL_SCANCODE_LGUI},
    {0x5C, SDL_SCANCODE_RGUI},         {0x6A, SDL_SCANCODE_KP_MULTIPLY},
    {0x6B, SDL_SCANCODE_KP_PLUS},      {0x6D, SDL_SCANCODE_KP_MINUS},
    {0x6E, SDL_SCANCODE_KP_PERIOD},    {0x6F, SDL_SCANCODE_KP_DIVIDE},
    {0x90, SDL_SCANCODE_NUMLOCKCLEAR}, {0x91, SDL_SCANCODE_SCROLLLOCK},
    {0xA0, SDL_SCANCODE_LSHIFT},       {0xA1, SDL_SCANCODE_RSHIFT},
    {0xA2, SDL_SCANCODE_LCTRL},        {0xA3, SDL_SCANCODE_RCTRL},
    {0xA4, SDL_SCANCODE_LALT},         {0xA5, SDL_SCANCODE_RALT},
    {0xBA, SDL_SCANCODE_SEMICOLON},    {0xBB, SDL_SCANCODE_EQUALS},
    {0xBC, SDL_SCANCODE_COMMA},        {0xBD, SDL_SCANCODE_MINUS},
    {0xBE, SDL_SCANCODE_PERIOD},       {0xBF, SDL_SCANCODE_SLASH},
    {0xC0, SDL_SCANCODE_GRAVE},        {0xDB, SDL_SCANCODE_LEFTBRACKET},
    {0xDC, SDL_SCANCODE_BACKSLASH},    {0xDD, SDL_SCANCODE_RIGHTBRACKET},
    {0xDE, SDL_SCANCODE_APOSTROPHE},
};

constexpr int VK_0 = 0x30, VK_A = 0x41, VK_NUMPAD0 = 0x60, VK_F1 = 0x70;

// SDL orders the digits 1..9, 0 and the keypad 1..9, 0; Windows 0..9.
SDL_Scancode digitScancode(int digit, SDL_Scancode one, SDL_Scancode zero) {
    return digit == 0 ? zero : static_cast<SDL_Scancode>(one + digit - 1);
}

}  // namespace

int virtualKeyOf(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return VK_A + (scancode - SDL_SCANCODE_A);
    }
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_0) {
        return VK_0 + (scancode == SDL_SCANCODE_0 ? 0 : scancode - SDL_SCANCODE_1 + 1);
    }
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_0) {
        return VK_NUMPAD0 + (scancode == SDL_SCANCODE_KP_0 ? 0 : scancode - SDL_SCANCODE_KP_1 + 1);
    }
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) {
        return VK_F1 + (scancode - SDL_SCANCODE_F1);
    }
    // The first match gives the generic key (VK_SHIFT, not VK_LSHIFT), as
    // wm::KEYDOWN reports it.
    for (const KeyPair& pair : namedKeys) {
        if (pair.scancode == scancode) {
            return pair.virtualKey;
        }
    }
    return 0;
}

std::vector<SDL_Scancode> scancodesOf(int virtualKey) {
    if (virtualKey >= VK_A && virtualKey < VK_A + 26) {
        return {static_cast<SDL_Scancode>(SDL_SCANCODE_A + (virtualKey - VK_A))};
    }
    if (virtualKey >= VK_0 && virtualKey < VK_0 + 10) {
        return {digitScancode(virtualKey - VK_0, SDL_SCANCODE_1, SDL_SCANCODE_0)};
    }
    if (virtualKey >= VK_NUMPAD0 && virtualKey < VK_NUMPAD0 + 10) {
        return {digitScancode(virtualKey - VK_NUMPAD0, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_0)};
    }
    if (virtualKey >= VK_F1 && virtualKey < VK_F1 + 12) {
        return {static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + (virtualKey - VK_F1))};
    }
    std::vector<SDL_Scancode> found;
    for (const KeyPair& pair : namedKeys) {
        if (pair.virtualKey == virtualKey) {
            found.push_back(pair.scancode);
        }
    }
    return found;
}

int mouseButtonOf(int virtualKey) {
    switch (virtualKey) {
        case 0x01:
            return SDL_BUTTON_LEFT;
        case 0x02:
            return SDL_BUTTON_RIGHT;
        case 0x04:
            return SDL_BUTTON_MIDDLE;
        default:
            return 0;
    }
}

int virtualKeyOfMouseButton(int button) {
    switch (button) {
        case SDL_BUTTON_LEFT:
            return 0x01;
        case SDL_BUTTON_RIGHT:
            return 0x02;
        case SDL_BUTTON_MIDDLE:
            return 0x04;
        default:
            return 0;
    }
}

}  // namespace platform::sdl
