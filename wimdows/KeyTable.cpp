// The one map from SDL keys to the Win32 virtual-key codes that the game and its controls file use.
#include <SDL.h>

#include <cstdio>

#include "wimdows/Wimdows.h"
#include "wimdows/WimdowsInternal.h"

namespace Wimdows {

// ---- types and tables --------------------------------------------------------------------------------

struct KeyPair {
    int32_t sdl;
    uint32_t vk;
};

// Keys by label (SDL keycode). Letters and digits are handled before the table; Alt (18) and F10 (121)
// are missing on purpose: they belong to the window system, never to the game.
static const KeyPair kByKeycode[] = {
    {SDLK_BACKSPACE, 8},
    {SDLK_TAB, 9},
    {SDLK_RETURN, 13},
    {SDLK_KP_ENTER, 13},
    {SDLK_RETURN2, 13},
    {SDLK_LSHIFT, 16},
    {SDLK_RSHIFT, 16},
    {SDLK_LCTRL, 17},
    {SDLK_RCTRL, 17},
    {SDLK_PAUSE, 19},
    {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, 27},
    {SDLK_SPACE, 32},
    {SDLK_PAGEUP, 33},
    {SDLK_PAGEDOWN, 34},
    {SDLK_END, 35},
    {SDLK_HOME, 36},
    {SDLK_LEFT, 37},
    {SDLK_UP, 38},
    {SDLK_RIGHT, 39},
    {SDLK_DOWN, 40},
    {SDLK_PRINTSCREEN, 44},
    {SDLK_INSERT, 45},
    {SDLK_DELETE, 46},
    {SDLK_LGUI, 91},
    {SDLK_RGUI, 92},
    {SDLK_APPLICATION, 93},
    {SDLK_MENU, 93},
    {SDLK_KP_0, 96},
    {SDLK_KP_1, 97},
    {SDLK_KP_2, 98},
    {SDLK_KP_3, 99},
    {SDLK_KP_4, 100},
    {SDLK_KP_5, 101},
    {SDLK_KP_6, 102},
    {SDLK_KP_7, 103},
    {SDLK_KP_8, 104},
    {SDLK_KP_9, 105},
    {SDLK_KP_MULTIPLY, 106},
    {SDLK_KP_PLUS, 107},
    {SDLK_KP_MINUS, 109},
    {SDLK_KP_PERIOD, 110},
    {SDLK_KP_DECIMAL, 110},
    {SDLK_KP_DIVIDE, 111},
    {SDLK_F1, 112},
    {SDLK_F2, 113},
    {SDLK_F3, 114},
    {SDLK_F4, 115},
    {SDLK_F5, 116},
    {SDLK_F6, 117},
    {SDLK_F7, 118},
    {SDLK_F8, 119},
    {SDLK_F9, 120},
    {SDLK_F11, 122},
    {SDLK_F12, 123},
    {SDLK_F13, 124},
    {SDLK_F14, 125},
    {SDLK_F15, 126},
    {SDLK_F16, 127},
    {SDLK_F17, 128},
    {SDLK_F18, 129},
    {SDLK_F19, 130},
    {SDLK_F20, 131},
    {SDLK_F21, 132},
    {SDLK_F22, 133},
    {SDLK_F23, 134},
    {SDLK_F24, 135},
    {SDLK_NUMLOCKCLEAR, 144},
    {SDLK_SCROLLLOCK, 145},
    {SDLK_SEMICOLON, 186},
    {SDLK_EQUALS, 187},
    {SDLK_COMMA, 188},
    {SDLK_MINUS, 189},
    {SDLK_PERIOD, 190},
    {SDLK_SLASH, 191},
    {SDLK_BACKQUOTE, 192},
    {SDLK_LEFTBRACKET, 219},
    {SDLK_BACKSLASH, 220},
    {SDLK_RIGHTBRACKET, 221},
    {SDLK_QUOTE, 222},
};

// Keys by position (SDL scancode, named after the US layout), for labels the keycode table lacks: the
// punctuation keys of other layouts ('ß', 'ö' ...) and letters of non-Latin layouts.
static const KeyPair kByScancode[] = {
    {SDL_SCANCODE_SEMICOLON, 186}, {SDL_SCANCODE_EQUALS, 187},       {SDL_SCANCODE_COMMA, 188},
    {SDL_SCANCODE_MINUS, 189},     {SDL_SCANCODE_PERIOD, 190},       {SDL_SCANCODE_SLASH, 191},
    {SDL_SCANCODE_GRAVE, 192},     {SDL_SCANCODE_LEFTBRACKET, 219},  {SDL_SCANCODE_BACKSLASH, 220},
    {SDL_SCANCODE_NONUSHASH, 220}, {SDL_SCANCODE_RIGHTBRACKET, 221}, {SDL_SCANCODE_APOSTROPHE, 222},
};

// ---- exported within the module ----------------------------------------------------------------------

uint32_t VirtualKeyFor(int32_t keycode, int32_t scancode) {
    // The extra key beside left Shift has its own code on every layout, whatever its label.
    if (scancode == SDL_SCANCODE_NONUSBACKSLASH) return 226;
    if (keycode == SDLK_LALT || keycode == SDLK_RALT || keycode == SDLK_F10) return 0;
    if (keycode >= SDLK_a && keycode <= SDLK_z) return (uint32_t)(keycode - SDLK_a) + 65;
    if (keycode >= SDLK_0 && keycode <= SDLK_9) return (uint32_t)(keycode - SDLK_0) + 48;
    for (const KeyPair &p : kByKeycode)
        if (p.sdl == keycode) return p.vk;
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return (uint32_t)(scancode - SDL_SCANCODE_A) + 65;
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return (uint32_t)(scancode - SDL_SCANCODE_1) + 49;
    if (scancode == SDL_SCANCODE_0) return 48;
    for (const KeyPair &p : kByScancode)
        if (p.sdl == scancode) return p.vk;
    return 0;
}

// ---- exported ----------------------------------------------------------------------------------------

bool IsKey(KeyCode key) {
    if (key == 226 || (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return true;
    for (const KeyPair &p : kByKeycode)
        if (p.vk == key) return true;
    for (const KeyPair &p : kByScancode)
        if (p.vk == key) return true;
    return false;
}

void KeyName(KeyCode key, char *name, uint32_t size) {
    if (!name || size == 0) return;
    const char *text = nullptr;
    // The names SDL gives these are short of what they are on the key or mix left and right.
    static const struct {
        KeyCode key;
        const char *name;
    } kOwn[] = {{KEY_LEFT, "Left arrow"}, {KEY_UP, "Up arrow"}, {KEY_RIGHT, "Right arrow"},
                {KEY_DOWN, "Down arrow"}, {16, "Shift"},        {17, "Ctrl"},
                {KEY_ENTER, "Enter"},     {226, "<> key"}};
    for (const auto &own : kOwn)
        if (own.key == key) text = own.name;
    char letter[2] = {(char)key, 0};
    if (!text && ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))) text = letter;
    for (const KeyPair &p : kByKeycode)
        if (!text && p.vk == key) text = SDL_GetKeyName(p.sdl);
    for (const KeyPair &p : kByScancode)
        if ((!text || !*text) && p.vk == key) text = SDL_GetScancodeName((SDL_Scancode)p.sdl);
    if (text && *text)
        std::snprintf(name, size, "%s", text);
    else
        std::snprintf(name, size, "key %u", (unsigned)key);
}

}  // namespace Wimdows
