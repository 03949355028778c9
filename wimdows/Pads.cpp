// Wimdows, gamepads: SDL's game controllers turned into key presses, so that a pad never reaches the game as a
// pad. Pad 1 and pad 2 are the first two pads connected (a pad unplugged gives its number to the next one);
// each stands for the four direction keys SetPadKeys gave it, pressed and released by its d-pad and its left
// stick, and its buttons stand for the game's own keys: Start P, Back Escape, A Enter, B Escape (outside a
// game), any other button a key that only a press-any-key screen takes.
//
// The window thread looks at the pads every few milliseconds while one is connected, and now and then for one
// being plugged in; what changed since the last look becomes key presses and releases.
//
// Sections: state; internal: directions, buttons; the window thread's side; exported.
//
// Window thread only, but for SetPadKeys and PadBIsEscape, whose values are atomics.
#include <SDL.h>

#include <atomic>
#include <cstdlib>

#include "wimdows/Surface.h"
#include "wimdows/Wimdows.h"

namespace Wimdows {

// ---- state -------------------------------------------------------------------------------------------

enum PadDirection { PAD_RIGHT, PAD_LEFT, PAD_UP, PAD_DOWN, PAD_DIRECTIONS };

struct PadRec {
    SDL_GameController *controller;  // null: no pad with this number
    SDL_JoystickID id;
    bool button[SDL_CONTROLLER_BUTTON_MAX];        // every button as last seen
    bool dpad[PAD_DIRECTIONS];                     // d-pad buttons held
    bool stick[PAD_DIRECTIONS];                    // the left stick past its dead zone that way
    KeyCode pressed[PAD_DIRECTIONS];               // the key each direction holds down now (0: none)
    KeyCode buttonKey[SDL_CONTROLLER_BUTTON_MAX];  // the key each other button holds down now
};

static PadRec gPads[MAX_PADS];
// The keys of pad p's directions (right, left, up, down), set from the main thread.
static std::atomic<KeyCode> gPadKeys[MAX_PADS][PAD_DIRECTIONS];
static std::atomic<bool> gBIsEscape{true};
static bool gPadsStarted = false;

// The stick counts as pushed past a third of its way, and as back only once it is under a quarter, so a stick
// resting near the edge of the dead zone does not flicker.
static const int STICK_ON = 32767 / 3, STICK_OFF = 32767 / 4;
// How often the window thread looks at the pads: often while one is connected (a game step is 40 ms or more),
// now and then for a pad being plugged in.
static const int POLL_WITH_PADS_MS = 8, POLL_WITHOUT_PADS_MS = 500;

// ---- internal: directions -----------------------------------------------------------------------------

static PadRec *PadOf(SDL_JoystickID id) {
    for (PadRec &pad : gPads)
        if (pad.controller && pad.id == id) return &pad;
    return nullptr;
}

// Makes the key of direction d of pad p held exactly while its d-pad button or its stick holds it.
static void UpdateDirection(int p, int d) {
    PadRec &pad = gPads[p];
    KeyCode want = (pad.dpad[d] || pad.stick[d]) ? gPadKeys[p][d].load() : 0;
    if (want == pad.pressed[d]) return;
    if (pad.pressed[d]) PadKeyUp(pad.pressed[d]);
    pad.pressed[d] = want;
    if (want) PadKeyDown(want);
}

static void Stick(int p, int negative, int positive, int value) {
    PadRec &pad = gPads[p];
    for (int d : {negative, positive}) {
        int along = d == negative ? -value : value;
        if (!pad.stick[d] && along > STICK_ON)
            pad.stick[d] = true;
        else if (pad.stick[d] && along < STICK_OFF)
            pad.stick[d] = false;
        UpdateDirection(p, d);
    }
}

// Lets go of everything pad p holds.
static void ReleaseAll(int p) {
    PadRec &pad = gPads[p];
    for (int d = 0; d < PAD_DIRECTIONS; d++) {
        pad.dpad[d] = pad.stick[d] = false;
        UpdateDirection(p, d);
    }
    for (KeyCode &key : pad.buttonKey) {
        if (key) PadKeyUp(key);
        key = 0;
    }
}

// ---- internal: buttons ----------------------------------------------------------------------------------

// The key a button stands for; 0 for none.
static KeyCode ButtonKey(uint8_t button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_START: return KEY_P;
    case SDL_CONTROLLER_BUTTON_BACK: return KEY_ESCAPE;
    case SDL_CONTROLLER_BUTTON_A: return KEY_ENTER;
    case SDL_CONTROLLER_BUTTON_B: return gBIsEscape.load() ? KEY_ESCAPE : KEY_PAD_BUTTON;
    default: return KEY_PAD_BUTTON;
    }
}

static void Button(int p, uint8_t button, bool down) {
    PadRec &pad = gPads[p];
    int d = button == SDL_CONTROLLER_BUTTON_DPAD_RIGHT  ? PAD_RIGHT
            : button == SDL_CONTROLLER_BUTTON_DPAD_LEFT ? PAD_LEFT
            : button == SDL_CONTROLLER_BUTTON_DPAD_UP   ? PAD_UP
            : button == SDL_CONTROLLER_BUTTON_DPAD_DOWN ? PAD_DOWN
                                                        : -1;
    if (d >= 0) {
        pad.dpad[d] = down;
        UpdateDirection(p, d);
        return;
    }
    if (button >= SDL_CONTROLLER_BUTTON_MAX) return;
    KeyCode &held = pad.buttonKey[button];
    if (held) PadKeyUp(held);
    held = down ? ButtonKey(button) : 0;
    if (held) PadKeyDown(held);
}

// ---- the window thread's side ---------------------------------------------------------------------------------

void PadsStart() {
    // SDL's own table of pads, and SDL_GAMECONTROLLERCONFIG from the environment, which SDL reads itself.
    // The pads are looked at, not listened to: their events are left to SDL.
    gPadsStarted = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    PadsLook();
}

void PadsStop() {
    if (!gPadsStarted) return;
    for (int p = 0; p < (int)MAX_PADS; p++) {
        if (!gPads[p].controller) continue;
        ReleaseAll(p);
        SDL_GameControllerClose(gPads[p].controller);
        gPads[p] = PadRec{};
    }
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    gPadsStarted = false;
}

int PadsPollMs() {
    if (!gPadsStarted) return -1;
    for (const PadRec &pad : gPads)
        if (pad.controller) return POLL_WITH_PADS_MS;
    return POLL_WITHOUT_PADS_MS;
}

void PadsLook() {
    if (!gPadsStarted) return;
    // Brings SDL's view of the pads up to date: pads plugged in or out, buttons, axes.
    SDL_GameControllerUpdate();
    for (int p = 0; p < (int)MAX_PADS; p++) {
        if (gPads[p].controller && !SDL_GameControllerGetAttached(gPads[p].controller)) {
            ReleaseAll(p);
            SDL_GameControllerClose(gPads[p].controller);
            gPads[p] = PadRec{};
        }
    }
    // A pad plugged in takes the lowest free number; a third one is not used.
    for (int i = 0; i < SDL_NumJoysticks(); i++) {
        if (!SDL_IsGameController(i) || PadOf(SDL_JoystickGetDeviceInstanceID(i))) continue;
        int free = -1;
        for (int p = (int)MAX_PADS - 1; p >= 0; p--)
            if (!gPads[p].controller) free = p;
        if (free < 0) break;
        SDL_GameController *c = SDL_GameControllerOpen(i);
        if (!c) continue;
        gPads[free] = PadRec{};
        gPads[free].controller = c;
        gPads[free].id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c));
    }
    // What each pad holds now, turned into key presses and releases.
    for (int p = 0; p < (int)MAX_PADS; p++) {
        SDL_GameController *c = gPads[p].controller;
        if (!c) continue;
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; b++) {
            bool down = SDL_GameControllerGetButton(c, (SDL_GameControllerButton)b) != 0;
            if (down != gPads[p].button[b]) {
                gPads[p].button[b] = down;
                Button(p, (uint8_t)b, down);
            }
        }
        Stick(p, PAD_LEFT, PAD_RIGHT, SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX));
        Stick(p, PAD_UP, PAD_DOWN, SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY));
    }
}

// ---- exported ---------------------------------------------------------------------------------------------------

void SetPadKeys(uint32_t pad, KeyCode right, KeyCode left, KeyCode up, KeyCode down) {
    if (pad < 1 || pad > MAX_PADS) return;
    const KeyCode keys[PAD_DIRECTIONS] = {right, left, up, down};
    for (int d = 0; d < PAD_DIRECTIONS; d++) gPadKeys[pad - 1][d].store(keys[d] <= 255 ? keys[d] : 0);
}

bool IsPadDirectionKey(KeyCode key, uint32_t &pad, MenuKey &direction) {
    static const MenuKey DIRECTIONS[PAD_DIRECTIONS] = {MENU_RIGHT, MENU_LEFT, MENU_UP, MENU_DOWN};
    for (uint32_t p = 0; p < MAX_PADS; p++)
        for (int d = 0; d < PAD_DIRECTIONS; d++)
            if (key != 0 && gPadKeys[p][d].load() == key) {
                pad = p + 1;
                direction = DIRECTIONS[d];
                return true;
            }
    return false;
}

void PadBIsEscape(bool escape) { gBIsEscape.store(escape); }

}  // namespace Wimdows
