// The key-choosing screen: both players choose their four keys anew, all eight different, and the
// controls file is rewritten. The reserved keys are refused like a taken key: in a game P and Escape pause
// and leave, so a snake steered with them could not be played, and F11, F2 and F3 (fullscreen, music,
// sound effects) belong to the window. Escape leaves the screen instead, keeping the keys as they were, as
// closing the window before the eighth key does.

#include <string>

#include "game/SnakeProcedures.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- constants ---------------------------------------------------------------------------------------

static const uint32_t REFUSAL_MS = 1337;
// The key a direction has now: the small proportional font, pale blue-grey (0x00BBGGRR).
static const uint32_t NOW_FONT = 3, NOW_COLOUR = 0xE8D8C8;

static const char *const CONTROLS_FILE = "savefiles/controleslang.txt";
static const char *const FAIL_PICTURE = "bitmap/fail.bmp";
static const char *const PROMPT_PICTURES[3] = {nullptr, "bitmap/choosekey1.bmp", "bitmap/choosekey2.bmp"};
// In the order the keys are asked: right, left, up, down (the order of BesturingRec).
static const char *const ARROW_PICTURES[4] = {"bitmap/arrowright.bmp", "bitmap/arrowleft.bmp", "bitmap/arrowup.bmp",
                                              "bitmap/arrowdown.bmp"};

// ---- internal ----------------------------------------------------------------------------------------

// The field of a player's controls for the direction asked in place `d` (0 right, 1 left, 2 up, 3 down).
static uint32_t &KeyOf(BesturingRec &besturing, uint32_t d) {
    switch (d) {
    case 0: return besturing.rechts;
    case 1: return besturing.links;
    case 2: return besturing.boven;
    default: return besturing.onder;
    }
}

// TRUE when `key` may not be chosen: a key the game keeps for itself, or one chosen earlier in this visit.
static bool Refused(uint32_t key, const BesturingRec besturing[3], uint32_t chosen) {
    // A pad stands for its player's keys (set from the file this screen writes), never for a key of its own.
    if (Wimdows::IsReservedKey(key) || Wimdows::KeyCameFromPad()) return true;
    for (uint32_t n = 0; n < chosen; n++) {
        BesturingRec earlier = besturing[1 + n / 4];
        if (KeyOf(earlier, n % 4) == key) return true;
    }
    return false;
}

// A prompt: the direction's picture, the bar of the player asked, and the key the player has for it now.
static void ShowPrompt(uint32_t screen, uint32_t bar, Wimdows::KeyCode now) {
    Wimdows::DrawBitmap(screen, 0, 0);
    Wimdows::DrawBitmap(bar, 0, Layout::PANEL_Y);
    char name[40];
    Wimdows::KeyName(now, name, sizeof name);
    CentredText((std::string("Your key now: ") + name).c_str(), NOW_FONT, NOW_COLOUR, Layout::KEY_NOW_Y);
    Wimdows::UpdateWindow();
}

// The screen ends without a change: the window is gone (GetKey gave no key, or the player closed the
// window), or the player pressed Escape.
static bool Left(uint32_t key) { return key == 0 || key == Wimdows::KEY_ESCAPE || Wimdows::WindowClosed(); }

// ---- exported ----------------------------------------------------------------------------------------

void Controls() {
    BesturingRec Besturing[3] = {}, nu[3] = {};
    LeesAlleBesturingen(nu);
    Wimdows::FlushKeys();
    Wimdows::ClearScreen();
    uint32_t fail = Wimdows::LoadBitmap(FAIL_PICTURE, 800, 600);
    uint32_t hud = Wimdows::LoadBitmap(PROMPT_PICTURES[1], 800, 80);

    for (uint32_t n = 0; n < 8; n++) {
        uint32_t speler = 1 + n / 4, d = n % 4;
        if (n == 4) hud = Wimdows::LoadBitmap(PROMPT_PICTURES[2], 800, 80);
        uint32_t screen = Wimdows::LoadBitmap(ARROW_PICTURES[d], 800, 600);
        ShowPrompt(screen, hud, KeyOf(nu[speler], d));

        uint32_t key = Wimdows::GetKey();
        if (Left(key)) return;
        // Presses typed ahead are dropped; after the very first key nothing is.
        if (n > 0) Wimdows::FlushKeys();
        while (Refused(key, Besturing, n)) {
            Wimdows::ClearScreen();
            Wimdows::DrawBitmap(fail, 0, 0);
            Wimdows::UpdateWindow();
            Wimdows::Wait(REFUSAL_MS);
            ShowPrompt(screen, hud, KeyOf(nu[speler], d));
            key = Wimdows::GetKey();
            if (Left(key)) return;
            Wimdows::FlushKeys();
        }
        KeyOf(Besturing[speler], d) = key;
    }

    // A file that cannot be written keeps the keys it has, and the player is told so.
    SaveFile *file = TryOpen(CONTROLS_FILE, true);
    if (file) {
        Flush(file);
        for (uint32_t speler = 1; speler <= 2; speler++) {
            for (uint32_t d = 0; d < 4; d++) {
                WrCard(file, KeyOf(Besturing[speler], d), 0);
                WrLn(file);
            }
            WrLn(file);
        }
    }
    if (!file || !TryClose(file)) {
        ShowSaveFailure();
    } else {
        for (uint32_t speler = 1; speler <= 2; speler++) {
            const BesturingRec &b = Besturing[speler];
            Wimdows::SetPadKeys(speler, b.rechts, b.links, b.boven, b.onder);
        }
    }
    Wimdows::FlushKeys();
}

}  // namespace SnakeProcedures
