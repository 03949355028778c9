// The menus behind the main menu: level slots, options, difficulty and game mode; the main menu's buttons
// and the farewell line.
//
// Every menu makes one choice and returns. When the player closes the window, MenuSelection gives -1 and
// each menu returns at once without acting, so the main menu can end the program.
#include <cstdio>
#include <string>

#include "game/SnakeProcedures.h"
#include "music/Music.h"
#include "network/Network.h"
#include "support/StandardMenu.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

using StandardMenu::ButtonRc;

// ---- internal -----------------------------------------------------------------------------------------

// One row of a menu: its size and its normal and mouse-over pictures.
struct MenuRow {
    int32_t width, height;
    const char *normal;
    const char *mouseOver;
};


static const MenuRow HOOFDMENU_ROWS[6] = {
    {200, 50, "bitmap/play1.bmp", "bitmap/play2.bmp"},
    {200, 50, "bitmap/options1.bmp", "bitmap/options2.bmp"},
    {200, 50, "bitmap/lvlmaker1.bmp", "bitmap/lvlmaker2.bmp"},
    {200, 50, "bitmap/highscore1.bmp", "bitmap/highscore2.bmp"},
    {200, 50, "bitmap/help1.bmp", "bitmap/help2.bmp"},
    {200, 50, "bitmap/quit1.bmp", "bitmap/quit2.bmp"},
};

// The fourth slot shows slot5.bmp and plays level 3; the fifth shows slot4.bmp and plays the custom level.
static const MenuRow SLOT_ROWS[6] = {
    {280, 60, "bitmap/slot1.bmp", "bitmap/slot12.bmp"}, {280, 60, "bitmap/slot2.bmp", "bitmap/slot22.bmp"},
    {280, 60, "bitmap/slot3.bmp", "bitmap/slot32.bmp"}, {280, 60, "bitmap/slot5.bmp", "bitmap/slot52.bmp"},
    {280, 60, "bitmap/slot4.bmp", "bitmap/slot42.bmp"}, {93, 60, "bitmap/previous1.bmp", "bitmap/previous2.bmp"},
};

static const MenuRow OPTION_ROWS[4] = {
    {200, 60, "bitmap/diff1.bmp", "bitmap/diff2.bmp"},
    {200, 60, "bitmap/controls1.bmp", "bitmap/controls2.bmp"},
    {200, 60, "bitmap/settings1.bmp", "bitmap/settings2.bmp"},
    {66, 60, "bitmap/previous1.bmp", "bitmap/previous2.bmp"},
};

static const MenuRow DIFF_ROWS[4] = {
    {200, 60, "bitmap/easy1.bmp", "bitmap/easy2.bmp"},
    {200, 60, "bitmap/medium1.bmp", "bitmap/medium2.bmp"},
    {200, 60, "bitmap/hard1.bmp", "bitmap/hard2.bmp"},
    {66, 60, "bitmap/previous1.bmp", "bitmap/previous2.bmp"},
};

// The modes in the order of the mode table, then the game over the network, then back.
static const MenuRow SETTING_ROWS[6] = {
    {200, 54, "bitmap/sp1.bmp", "bitmap/sp2.bmp"},
    {200, 54, "bitmap/snakevssnake1.bmp", "bitmap/snakevssnake2.bmp"},
    {200, 54, "bitmap/snakevsknurf1.bmp", "bitmap/snakevsknurf2.bmp"},
    {200, 54, "bitmap/snakevscomputer1.bmp", "bitmap/snakevscomputer2.bmp"},
    {200, 54, "bitmap/network1.bmp", "bitmap/network2.bmp"},
    {66, 54, "bitmap/previous1.bmp", "bitmap/previous2.bmp"},
};

static const MenuRow NETWORK_ROWS[4] = {
    {200, 60, "bitmap/hostsnake1.bmp", "bitmap/hostsnake2.bmp"},
    {200, 60, "bitmap/hostknurf1.bmp", "bitmap/hostknurf2.bmp"},
    {200, 60, "bitmap/join1.bmp", "bitmap/join2.bmp"},
    {66, 60, "bitmap/previous1.bmp", "bitmap/previous2.bmp"},
};
static const GameModeEn NETWORK_MODES[2] = {MODE_SNAKE_VS_SNAKE, MODE_SNAKE_VS_KNURF};

static const char *const MENU_BACKGROUND = "bitmap/backgroundmenu.bmp";
// The note under a settings menu: the small proportional font, pale blue-grey (0x00BBGGRR).
static const uint32_t NOTE_FONT = 3, NOTE_COLOUR = 0xE8D8C8;
static const char *const DIFFICULTY_NAMES[4] = {"", "easy", "medium", "hard"};
static const char *const SLOT_BACKGROUND = "bitmap/slotmenubackground.bmp";

// Creates the buttons of `rows` in row order (so their pictures load in that order) and places the column.
static void BuildMenu(ButtonRc *buttons, const MenuRow *rows, int n) {
    for (int k = 0; k < n; k++)
        buttons[k] =
            StandardMenu::CreateButton(rows[k].width, rows[k].height, StandardMenu::MakeBitmapName(rows[k].normal),
                                       StandardMenu::MakeBitmapName(rows[k].mouseOver));
    StandardMenu::SetVerticalMenu(Layout::MENU_X, Layout::MENU_Y, Layout::MENU_GAP, buttons, n);
}

// The note under a menu's buttons ("Chosen now: medium"); in a menu whose last button (the way back)
// reaches down to the note's line, beside that button instead.
static void Note(const std::string &text, const ButtonRc &last) {
    uint32_t w = 0, h = 0;
    Wimdows::GetTextSize(text.c_str(), NOTE_FONT, w, h);
    int32_t x = Layout::MENU_NOTE_X - (int32_t)(w / 2), y = Layout::MENU_NOTE_Y;
    if (last.y0 + last.height > Layout::MENU_NOTE_Y) {
        int32_t left = last.x0 + last.width + 8;
        x = (left + Layout::MENU_PANEL_RIGHT - (int32_t)w) / 2;
        y = last.y0 + (last.height - (int32_t)h) / 2;
    }
    Wimdows::SetFont(NOTE_FONT, NOTE_COLOUR);
    Wimdows::Text(text.c_str(), x, y);
}

// Runs a built menu over its background until a choice in 0..n-1 is made; -1 when the window was closed.
// A choice outside the menu's range writes the guard line and shows the same buttons again. `now`, when
// given, is the note under the buttons (what the menu has chosen now); button `current` is where the
// keyboard's highlight starts.
static int32_t RunMenu(ButtonRc *buttons, int n, const char *background, const char *now = nullptr,
                       int32_t current = -1) {
    for (;;) {
        if (Wimdows::WindowClosed()) return -1;
        const uint32_t picture = Wimdows::LoadBitmap(background, 800, 680);
        Wimdows::DrawBitmap(picture, 0, 0);
        if (now) Note(now, buttons[n - 1]);
        Wimdows::UpdateWindow();
        // Escape picks the last button, each sub-menu's way back.
        const int32_t choice = StandardMenu::MenuSelection(buttons, n, n - 1, current);
        if (Wimdows::WindowClosed()) return -1;
        if (choice >= 0 && choice < n) return choice;
        std::fputs("error! wrong button number!\n", stdout);
        std::fflush(stdout);
    }
}

// Plays level `level` from the slot menu: the menu music makes way for the game's and comes back after it.
static void PlayLevel(uint32_t level) {
    Music::PlaySound(Songs.click, false);
    Music::StopSound(Songs.menu);
    StartGame(level);
    // When the window was closed during the game the program is ending: no music to start again.
    if (!Wimdows::WindowClosed()) Music::PlaySound(Songs.menu, true);
}

// ---- exported -----------------------------------------------------------------------------------------

void LaadHoofdMenu(ButtonRc HoofdMenuButton[6]) { BuildMenu(HoofdMenuButton, HOOFDMENU_ROWS, 6); }

void LaadSlots(ButtonRc SlotButton[6]) { BuildMenu(SlotButton, SLOT_ROWS, 6); }

void LaadOptions(ButtonRc OptionButton[4]) { BuildMenu(OptionButton, OPTION_ROWS, 4); }

void LaadDiff(ButtonRc DiffButton[4]) { BuildMenu(DiffButton, DIFF_ROWS, 4); }

void LaadSettings(ButtonRc SettingButton[6]) { BuildMenu(SettingButton, SETTING_ROWS, 6); }

void LaadNetwork(ButtonRc NetworkButton[4]) { BuildMenu(NetworkButton, NETWORK_ROWS, 4); }

void Quit() {
    std::fputs("\nThank you for playing Kwibbel!\n", stdout);
    std::fflush(stdout);
}

void Slots() {
    ButtonRc SlotButton[6];
    Wimdows::ClearScreen();
    LaadSlots(SlotButton);
    const int32_t choice = RunMenu(SlotButton, 6, SLOT_BACKGROUND);
    if (choice < 0) return;
    if (choice == 5) {
        Music::PlaySound(Songs.click, false);
        return;
    }
    PlayLevel(static_cast<uint32_t>(choice));
}

void Options() {
    ButtonRc OptionButton[4];
    Wimdows::ClearScreen();
    LaadOptions(OptionButton);
    const int32_t choice = RunMenu(OptionButton, 4, MENU_BACKGROUND);
    if (choice < 0) return;
    Music::PlaySound(Songs.click, false);
    switch (choice) {
    case 0: Difficulty(); break;
    case 1: Controls(); break;
    case 2: Settings(); break;
    default: break;  // back
    }
}

void Difficulty() {
    ButtonRc DiffButton[4];
    Wimdows::ClearScreen();
    LaadDiff(DiffButton);
    const int32_t now = Diff >= 1 && Diff <= 3 ? Diff : 2;  // buttons easy, medium, hard: now - 1
    const int32_t choice =
        RunMenu(DiffButton, 4, MENU_BACKGROUND, (std::string("Chosen now: ") + DIFFICULTY_NAMES[now]).c_str(), now - 1);
    switch (choice) {
    case 0:
        Music::PlaySound(Songs.easy, false);
        Diff = 1;
        break;
    case 1:
        Music::PlaySound(Songs.medium, false);
        Diff = 2;
        break;
    case 2:
        Music::PlaySound(Songs.hard, false);
        Diff = 3;
        break;
    case 3: Music::PlaySound(Songs.click, false); break;
    default: break;  // window closed
    }
}

void Settings() {
    ButtonRc SettingButton[6];
    Wimdows::ClearScreen();
    LaadSettings(SettingButton);
    // The buttons stand in the order of the modes.
    const int32_t choice = RunMenu(SettingButton, 6, MENU_BACKGROUND,
                                   (std::string("Chosen now: ") + GameModeName(GameMode())).c_str(), GameMode());
    if (choice < 0) return;
    // The buttons stand in the order of the modes; then the network game; the last one goes back.
    if (choice < MODE_COUNT) SetGameMode((GameModeEn)choice);
    Music::PlaySound(Songs.click, false);
    if (choice == MODE_COUNT) NetworkMenu();
}

void NetworkMenu() {
    ButtonRc NetworkButton[4];
    Wimdows::ClearScreen();
    LaadNetwork(NetworkButton);
    const std::string port = "The host listens on UDP port " + std::to_string(Network::DEFAULT_PORT) + ".";
    const int32_t choice = RunMenu(NetworkButton, 4, MENU_BACKGROUND, port.c_str());
    if (choice < 0) return;
    Music::PlaySound(Songs.click, false);
    if (choice == 2) {
        PlayOverTheNetwork(false, NETWORK_MODES[0], 0, "", Network::DEFAULT_PORT);
        return;
    }
    if (choice > 2) return;
    // The host chooses the level; the arrow goes back.
    ButtonRc SlotButton[6];
    Wimdows::ClearScreen();
    LaadSlots(SlotButton);
    const int32_t level = RunMenu(SlotButton, 6, SLOT_BACKGROUND);
    if (level < 0 || level == 5) return;
    Music::PlaySound(Songs.click, false);
    PlayOverTheNetwork(true, NETWORK_MODES[choice], (uint32_t)level, "", Network::DEFAULT_PORT);
}

}  // namespace SnakeProcedures
