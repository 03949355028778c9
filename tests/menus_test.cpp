// The front end: the main menu and the menus behind it, driven headless by simulated clicks and keys in a
// temporary play folder, with a window under SDL's dummy video driver and sounds on its dummy audio driver.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "game/SnakeProcedures.h"
#include "main/Kwibbel.h"
#include "music/Music.h"
#include "support/BmpFile.h"
#include "support/StandardMenu.h"
#include "support/playfolder.h"
#include "support/waits.h"
#include "wimdows/Wimdows.h"

using namespace SnakeProcedures;
using StandardMenu::ButtonRc;

namespace {

// The menu pictures, each in a colour of its own, so a pixel tells which file a button shows.
const char *const MENU_PICTURES[] = {
    "play1",
    "play2",
    "options1",
    "options2",
    "lvlmaker1",
    "lvlmaker2",
    "highscore1",
    "highscore2",
    "help1",
    "help2",
    "quit1",
    "quit2",
    "slot1",
    "slot12",
    "slot2",
    "slot22",
    "slot3",
    "slot32",
    "slot4",
    "slot42",
    "slot5",
    "slot52",
    "previous1",
    "previous2",
    "diff1",
    "diff2",
    "controls1",
    "controls2",
    "settings1",
    "settings2",
    "easy1",
    "easy2",
    "medium1",
    "medium2",
    "hard1",
    "hard2",
    "sp1",
    "sp2",
    "snakevssnake1",
    "snakevssnake2",
    "snakevsknurf1",
    "snakevsknurf2",
    "snakevscomputer1",
    "snakevscomputer2",
    "network1",
    "network2",
    "hostsnake1",
    "hostsnake2",
    "hostknurf1",
    "hostknurf2",
    "join1",
    "join2",
    "backgroundmenu",
    "slotmenubackground",
    "helptext",
    "highscoretable",
    "levelmakerhelp",
};
std::map<std::string, uint32_t> gColour;  // "bitmap/play1.bmp" -> 0x00BBGGRR

const char *const SOUNDS[] = {"3",     "2",         "1",           "laden",           "easy",     "medium", "hard",
                              "laser", "menumusic", "ingamemusic", "customizermusic", "gameover", "beep"};

// ---- the wait script -------------------------------------------------------------------------------------

// Every Wait runs Waits::Current().run with its number (1, 2, ...) and its length; menus wait 25 ms, other
// screens not.

// A click in the middle of button k of a menu column whose buttons are `height` high.
void ClickButton(int k, int32_t height) {
    Wimdows::SimulateLeftUp(150, Layout::MENU_Y + Layout::MENU_GAP * k + height / 2);
}

void Type(uint32_t key) {
    Wimdows::SimulateKeyDown(key);
    Wimdows::SimulateKeyUp(key);
}

// Types a key every few milliseconds while switched on, for the screens that wait in GetKey.
class KeyFeeder {
public:
    KeyFeeder()
        : on(false), stop(false), thread([this] {
              while (!stop) {
                  if (on) Type(' ');
                  std::this_thread::sleep_for(std::chrono::milliseconds(5));
              }
          }) {}
    ~KeyFeeder() {
        stop = true;
        thread.join();
    }
    std::atomic<bool> on, stop;

private:
    std::thread thread;
};

// Runs the main menu while a helper thread waits for the window to show `picture` at (x, y), then sets
// `typed` and types a key: for the screens that wait in GetKey.
void RunMainMenuTypingOn(const char *picture, int32_t x, int32_t y, std::atomic<bool> &typed) {
    std::atomic<bool> menuEnded{false};
    const uint32_t colour = gColour[picture];
    std::thread typist([&] {
        while (!menuEnded && Wimdows::ScreenPixel(x, y) != colour)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (menuEnded) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        typed = true;
        Type(' ');
    });
    testing::internal::CaptureStdout();
    Kwibbel::StartMenu();
    testing::internal::GetCapturedStdout();
    menuEnded = true;
    typist.join();
}

class MenusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char tmpl[] = "/tmp/kwibbel-menus-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        mkdir((dir + "/bitmap").c_str(), 0755);
        mkdir((dir + "/audio").c_str(), 0755);
        mkdir((dir + "/savefiles").c_str(), 0755);
        int i = 0;
        for (const char *name : MENU_PICTURES) {
            const std::string file = std::string("bitmap/") + name + ".bmp";
            // Colours far from black and from each other: red, green and blue steps.
            const uint32_t c = (uint32_t(40 + (i * 5) % 200)) | (uint32_t(250 - i * 4) << 8) | (uint32_t(60 + i) << 16);
            gColour[file] = c;
            ASSERT_TRUE(TestBmp::WriteSolidBmp((dir + "/" + file).c_str(), 8, 8, c));
            i++;
        }
        for (const char *name : SOUNDS) PlayFolder::WriteWav(dir + "/audio/" + name + ".mp3", 50, 600);
        ASSERT_EQ(chdir(dir.c_str()), 0);
        // SDL's own drivers: no screen and no sound card needed.
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        Kwibbel::StartModules();
        Wimdows::Window("menus", 800, 680);
        ASSERT_EQ(Wimdows::State(), Wimdows::STATE_ACTIVE) << "no window under the dummy driver";
        Wimdows::SetBuffering(true);
    }
    static void TearDownTestSuite() {
        Wimdows::KillWindow();
        Music::StopMusic();
        std::system(("rm -rf '" + dir + "'").c_str());
    }

    void SetUp() override {
        // Fresh save files for every test.
        for (const char *f : {"muur.txt", "geenmuur.txt", "smiley.txt", "insane.txt", "custom.txt", "highscores.txt",
                              "controleslang.txt"}) {
            std::ofstream(dir + "/savefiles/" + f, std::ios::binary)
                << PlayFolder::ReadBytes(std::string(KWIBBEL_SOURCE_DIR) + "/data/savefiles/" + f);
        }
        ASSERT_TRUE(Music::InitMusic()) << "the dummy audio driver should open";
        testing::internal::CaptureStdout();
        LoadSongs();
        const std::string failures = testing::internal::GetCapturedStdout();
        ASSERT_EQ(failures, "") << "every sound should load";
        Kwibbel::SetDefaults();
        Waits::Start();
        Wimdows::SimulateMouseMove(0, 0);
        Wimdows::FlushKeys();
    }
    void TearDown() override {
        Waits::Stop();
        Music::StopMusic();
        using namespace Wimdows;
        for (KeyCode k : {KEY_ENTER, KEY_ESCAPE, KEY_SPACE, KEY_LEFT, KEY_UP, KEY_RIGHT, KEY_DOWN}) SimulateKeyUp(k);
    }

    static std::string dir;
};
std::string MenusTest::dir;

// ---- start-up and the buttons --------------------------------------------------------------------------

TEST_F(MenusTest, DefaultsAreMediumOnePlayerThreeAutomaticKnurfs) {
    Diff = 3;
    AantalSpelers = 2;
    BlokjeManueel = true;
    AantalBlokjesManueel = 1;
    AantalBlokjesAutomatisch = 4;
    ComputerSpeler = 2;
    Kwibbel::SetDefaults();
    EXPECT_EQ(Diff, 2);
    EXPECT_EQ(AantalSpelers, 1u);
    EXPECT_FALSE(BlokjeManueel);
    EXPECT_EQ(AantalBlokjesManueel, 0u);
    EXPECT_EQ(AantalBlokjesAutomatisch, 3u);
    EXPECT_EQ(ComputerSpeler, 0u);
}

struct ExpectedButton {
    int32_t width, height;
    const char *normal, *mouseOver;
};

// Checks size, place and both pictures of every button a builder made.
void ExpectMenu(const char *menu, const ButtonRc *buttons, const std::vector<ExpectedButton> &expected) {
    for (size_t k = 0; k < expected.size(); k++) {
        const ButtonRc &b = buttons[k];
        const ExpectedButton &e = expected[k];
        SCOPED_TRACE(std::string(menu) + " button " + std::to_string(k));
        EXPECT_EQ(b.x0, 100);
        EXPECT_EQ(b.y0, int32_t(Layout::MENU_Y + Layout::MENU_GAP * k));
        EXPECT_EQ(b.width, e.width);
        EXPECT_EQ(b.height, e.height);
        EXPECT_TRUE(b.visible);
        EXPECT_TRUE(b.type.withMouseOver);
        EXPECT_FALSE(b.type.withMask);
        const int32_t cx = b.x0 + b.width / 2, cy = b.y0 + b.height / 2;
        Wimdows::SimulateMouseMove(0, 0);
        StandardMenu::DrawButton(b);
        EXPECT_EQ(Wimdows::BufferPixel(cx, cy), gColour[std::string("bitmap/") + e.normal + ".bmp"])
            << "normal picture " << e.normal;
        Wimdows::SimulateMouseMove(cx, cy);
        StandardMenu::DrawButton(b);
        EXPECT_EQ(Wimdows::BufferPixel(cx, cy), gColour[std::string("bitmap/") + e.mouseOver + ".bmp"])
            << "mouse-over picture " << e.mouseOver;
        // The last column of the button shows it; the next column does not belong to it.
        Wimdows::ClearScreen();
        StandardMenu::DrawButton(b);
        EXPECT_NE(Wimdows::BufferPixel(b.x0 + b.width - 1, cy), 0u);
        EXPECT_EQ(Wimdows::BufferPixel(b.x0 + b.width, cy), 0u);
    }
}

TEST_F(MenusTest, EveryMenuShowsItsOwnPicturesInItsColumn) {
    ButtonRc six[6], four[4];
    LaadHoofdMenu(six);
    ExpectMenu("main", six,
               {{200, 50, "play1", "play2"},
                {200, 50, "options1", "options2"},
                {200, 50, "lvlmaker1", "lvlmaker2"},
                {200, 50, "highscore1", "highscore2"},
                {200, 50, "help1", "help2"},
                {200, 50, "quit1", "quit2"}});
    LaadSlots(six);
    ExpectMenu("slots", six,
               {{280, 60, "slot1", "slot12"},
                {280, 60, "slot2", "slot22"},
                {280, 60, "slot3", "slot32"},
                {280, 60, "slot5", "slot52"},
                {280, 60, "slot4", "slot42"},
                {93, 60, "previous1", "previous2"}});
    LaadOptions(four);
    ExpectMenu("options", four,
               {{200, 60, "diff1", "diff2"},
                {200, 60, "controls1", "controls2"},
                {200, 60, "settings1", "settings2"},
                {66, 60, "previous1", "previous2"}});
    LaadDiff(four);
    ExpectMenu("difficulty", four,
               {{200, 60, "easy1", "easy2"},
                {200, 60, "medium1", "medium2"},
                {200, 60, "hard1", "hard2"},
                {66, 60, "previous1", "previous2"}});
    LaadSettings(six);
    ExpectMenu("game mode", six,
               {{200, 54, "sp1", "sp2"},
                {200, 54, "snakevssnake1", "snakevssnake2"},
                {200, 54, "snakevsknurf1", "snakevsknurf2"},
                {200, 54, "snakevscomputer1", "snakevscomputer2"},
                {200, 54, "network1", "network2"},
                {66, 54, "previous1", "previous2"}});
    LaadNetwork(four);
    ExpectMenu("network", four,
               {{200, 60, "hostsnake1", "hostsnake2"},
                {200, 60, "hostknurf1", "hostknurf2"},
                {200, 60, "join1", "join2"},
                {66, 60, "previous1", "previous2"}});
}

TEST_F(MenusTest, MainMenuClickPositions) {
    ButtonRc menu[6];
    LaadHoofdMenu(menu);
    struct Case {
        int32_t x, y;
        int32_t choice;
    } cases[] = {{150, 100, 0}, {150, 440, 4}, {150, 520, 5}};
    for (const Case &c : cases) {
        Waits::Current().count = 0;
        Waits::Current().run = [c](int wait, uint32_t) {
            if (wait == 1) Wimdows::SimulateLeftUp(150, 140);  // between play and options: nothing
            if (wait == 2) Wimdows::SimulateLeftUp(c.x, c.y);
        };
        EXPECT_EQ(StandardMenu::MenuSelection(menu, 6), c.choice) << "click at " << c.x << "," << c.y;
        EXPECT_EQ(Waits::Current().count, 2) << "the click between two buttons must not end the menu";
    }
}

// ---- the option menus ---------------------------------------------------------------------------------------

TEST_F(MenusTest, DifficultyChoicesSetDiffAndPlayTheirSound) {
    struct Case {
        int k;
        int32_t diff;
        uint32_t SongsRec::*sound;
    } cases[] = {{0, 1, &SongsRec::easy}, {1, 2, &SongsRec::medium}, {2, 3, &SongsRec::hard}};
    for (const Case &c : cases) {
        Diff = 0;
        Waits::Current().count = 0;
        Waits::Current().run = [c](int wait, uint32_t) {
            if (wait == 1) ClickButton(c.k, 60);
        };
        Difficulty();
        EXPECT_EQ(Diff, c.diff);
        EXPECT_TRUE(Music::SoundMarkedPlaying(Songs.*(c.sound))) << "difficulty " << c.diff;
        EXPECT_FALSE(Music::SoundMarkedPlaying(Songs.click));
        Music::StopSound(Songs.*(c.sound));
    }
    // Back: the click plays and the difficulty stays.
    Waits::Current().count = 0;
    Waits::Current().run = [](int wait, uint32_t) {
        if (wait == 1) Wimdows::SimulateLeftUp(120, Layout::MENU_Y + 3 * Layout::MENU_GAP + 30);
    };
    Difficulty();
    EXPECT_EQ(Diff, 3);
    EXPECT_TRUE(Music::SoundMarkedPlaying(Songs.click));
}

TEST_F(MenusTest, GameModesSetAllTheirSettings) {
    struct Case {
        int k;
        uint32_t spelers;
        bool manueel;
        uint32_t blokjesManueel, blokjesAutomatisch, computer;
    } cases[] = {{1, 2, false, 0, 4, 0}, {3, 2, false, 0, 4, 2}, {2, 2, true, 1, 3, 0},
                 {3, 2, false, 0, 4, 2}, {0, 1, false, 0, 3, 0}, {2, 2, true, 1, 3, 0}};
    // The menu names the mode chosen before it under its buttons: the words' pixels per visit.
    std::vector<std::vector<uint32_t>> notes;
    auto note = [&notes] {
        std::vector<uint32_t> band;
        for (int32_t y = Layout::MENU_NOTE_Y; y < Layout::MENU_NOTE_Y + 20; y++)
            for (int32_t x = Layout::MENU_PANEL_LEFT; x < Layout::MENU_PANEL_RIGHT; x++)
                band.push_back(Wimdows::BufferPixel(x, y));
        notes.push_back(band);
    };
    for (const Case &c : cases) {
        Waits::Current().count = 0;
        Waits::Current().run = [c, &note](int wait, uint32_t) {
            if (wait == 1) {
                note();
                ClickButton(c.k, 54);
            }
        };
        Settings();
        SCOPED_TRACE("mode " + std::to_string(c.k));
        EXPECT_EQ(AantalSpelers, c.spelers);
        EXPECT_EQ(BlokjeManueel, c.manueel);
        EXPECT_EQ(AantalBlokjesManueel, c.blokjesManueel);
        EXPECT_EQ(AantalBlokjesAutomatisch, c.blokjesAutomatisch);
        EXPECT_EQ(ComputerSpeler, c.computer);
        EXPECT_EQ(GameMode(), c.k) << "the settings make the mode of the button";
        EXPECT_TRUE(Music::SoundMarkedPlaying(Songs.click));
    }
    // Back keeps the last mode (snake against knurf).
    Waits::Current().count = 0;
    Waits::Current().run = [](int wait, uint32_t) {
        if (wait == 1) Wimdows::SimulateLeftUp(120, Layout::MENU_Y + 5 * Layout::MENU_GAP + 27);
    };
    Settings();
    // Visits 2 and 4 come after the computer mode, 3 after snake against knurf.
    ASSERT_EQ(notes.size(), 6u);
    EXPECT_EQ(notes[2], notes[4]);
    EXPECT_NE(notes[1], notes[2]);
    EXPECT_NE(notes[2], notes[3]);
    EXPECT_NE(std::count(notes[1].begin(), notes[1].end(), notes[1][0]), (long)notes[1].size()) << "no words";
    EXPECT_EQ(AantalSpelers, 2u);
    EXPECT_TRUE(BlokjeManueel);
    EXPECT_EQ(AantalBlokjesManueel, 1u);
    EXPECT_EQ(AantalBlokjesAutomatisch, 3u);
}

TEST_F(MenusTest, OptionsLeadToOneSubMenuAndReturnWithIt) {
    Waits::Current().count = 0;
    Waits::Current().run = [](int wait, uint32_t) {
        if (wait == 1) ClickButton(0, 60);  // options: difficulty
        if (wait == 2) ClickButton(2, 60);  // difficulty: hard
    };
    Options();
    EXPECT_EQ(Diff, 3);
    EXPECT_EQ(Waits::Current().count, 2) << "after the difficulty menu, Options returns without waiting again";
    EXPECT_TRUE(Music::SoundMarkedPlaying(Songs.hard));

    Waits::Current().count = 0;
    Waits::Current().count = 0;
    Waits::Current().run = [](int wait, uint32_t) {
        if (wait == 1) ClickButton(2, 60);  // options: game mode
        if (wait == 2) ClickButton(1, 54);  // snake against snake
    };
    Options();
    EXPECT_EQ(AantalSpelers, 2u);
    EXPECT_EQ(AantalBlokjesAutomatisch, 4u);
    EXPECT_EQ(Waits::Current().count, 2);

    Waits::Current().count = 0;
    Music::StopSound(Songs.click);
    Waits::Current().count = 0;
    Waits::Current().run = [](int wait, uint32_t) {
        if (wait == 1) Wimdows::SimulateLeftUp(120, Layout::MENU_Y + 3 * Layout::MENU_GAP + 30);  // back
    };
    Options();
    EXPECT_EQ(Waits::Current().count, 1);
    EXPECT_TRUE(Music::SoundMarkedPlaying(Songs.click));
    EXPECT_EQ(Diff, 3);
}

TEST_F(MenusTest, KeyScreenFromTheOptionsWritesTheNewKeys) {
    KeyFeeder feeder;
    std::atomic<bool> typing{false};
    Waits::Current().count = 0;
    Waits::Current().run = [&](int wait, uint32_t) {
        if (wait == 1) ClickButton(1, 60);  // options: controls
    };
    // The key screen waits in GetKey: type eight different keys, one at a time, from another thread.
    std::thread typist([&] {
        const uint32_t keys[8] = {'L', 'J', 'I', 'K', 'D', 'A', 'W', 'S'};
        while (Waits::Current().count < 1) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        for (uint32_t k : keys) {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            Type(k);
        }
        typing = true;
    });
    Options();
    typist.join();
    EXPECT_TRUE(typing);
    EXPECT_EQ(PlayFolder::ReadBytes(dir + "/savefiles/controleslang.txt"),
              "76\r\n74\r\n73\r\n75\r\n\r\n68\r\n65\r\n87\r\n83\r\n\r\n");
}

// ---- the slot menu and the games behind it ----------------------------------------------------------------

// The walls of a level file as a 30 x 40 picture of "M" and "-".
std::string WallsOfFile(const std::string &file) {
    std::string text = PlayFolder::ReadBytes(file), walls;
    std::istringstream in(text);
    std::string line;
    for (int r = 0; r < 30 && std::getline(in, line); r++)
        for (int c = 0; c < 40; c++) walls += (c < int(line.size()) && line[c] == 'M') ? 'M' : '-';
    return walls;
}

std::string WallsOfBoard() {
    std::string walls;
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t c = 1; c <= KOLOMMEN; c++) walls += Veld[r][c].bezet == MUUR ? 'M' : '-';
    return walls;
}

TEST_F(MenusTest, EachSlotPlaysItsLevelAndTheMenuMusicComesBack) {
    const char *files[5] = {"muur.txt", "geenmuur.txt", "smiley.txt", "insane.txt", "custom.txt"};
    for (int k = 0; k < 5; k++) {
        SCOPED_TRACE(std::string("slot button ") + std::to_string(k) + " plays " + files[k]);
        Music::PlaySound(Songs.menu, true);
        Waits::Current().count = 0;
        bool sawGame = false, menuDuringGame = true, gameMusic = false;
        int gameWaits = 0;
        Waits::Current().count = 0;
        Waits::Current().run = [&](int wait, uint32_t ms) {
            if (wait == 1) ClickButton(k, 60);
            if (ms == 25) return;
            // The game: countdown, then steps. Leave with Escape after a few steps.
            sawGame = true;
            gameWaits++;
            if (gameWaits == 6) {
                menuDuringGame = Music::SoundMarkedPlaying(Songs.menu);
                gameMusic = Music::SoundMarkedPlaying(Songs.game);
                Wimdows::SimulateKeyDown(Wimdows::KEY_ESCAPE);
            }
        };
        testing::internal::CaptureStdout();
        Slots();
        const std::string out = testing::internal::GetCapturedStdout();
        Wimdows::SimulateKeyUp(Wimdows::KEY_ESCAPE);
        EXPECT_TRUE(sawGame);
        EXPECT_NE(out.find("Level is loaded!"), std::string::npos) << out;
        EXPECT_EQ(WallsOfBoard(), WallsOfFile(dir + "/savefiles/" + files[k]));
        EXPECT_FALSE(menuDuringGame) << "the menu music stops for the game";
        EXPECT_TRUE(gameMusic) << "the game plays its own music";
        EXPECT_TRUE(Music::SoundMarkedPlaying(Songs.menu)) << "the menu music plays again after the game";
        EXPECT_FALSE(Music::SoundMarkedPlaying(Songs.game));
    }
}

TEST_F(MenusTest, SlotBackPlaysTheClickAndNoGame) {
    Music::PlaySound(Songs.menu, true);
    bool otherWait = false;
    Waits::Current().count = 0;
    Waits::Current().run = [&](int wait, uint32_t ms) {
        if (ms != 25) otherWait = true;
        if (wait == 1) Wimdows::SimulateLeftUp(150, Layout::MENU_Y + 5 * Layout::MENU_GAP + 30);
    };
    Slots();
    EXPECT_FALSE(otherWait) << "no game was started";
    EXPECT_EQ(Waits::Current().count, 1);
    EXPECT_TRUE(Music::SoundMarkedPlaying(Songs.click));
    EXPECT_TRUE(Music::SoundMarkedPlaying(Songs.menu));
}

// ---- the main menu ------------------------------------------------------------------------------------------

TEST_F(MenusTest, QuitWritesTheFarewellAndShutsTheSoundDown) {
    Waits::Current().count = 0;
    Waits::Current().run = [](int wait, uint32_t) {
        if (wait == 1) Wimdows::SimulateLeftUp(150, 520);
    };
    testing::internal::CaptureStdout();
    Kwibbel::StartMenu();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "\nThank you for playing Kwibbel!\n");
    EXPECT_EQ(Music::LoadSound("audio/laser.mp3"), 0u) << "the sound system is shut down";
    EXPECT_EQ(Waits::Current().count, 1);
}

TEST_F(MenusTest, MainMenuComesBackAfterEverySubMenu) {
    // Options, difficulty, hard; then the main menu again (its play button shows); then quit.
    bool mainMenuAgain = false;
    Waits::Current().count = 0;
    Waits::Current().run = [&](int wait, uint32_t) {
        if (wait == 1) ClickButton(1, 50);  // main: options
        if (wait == 2) ClickButton(0, 60);  // options: difficulty
        if (wait == 3) ClickButton(2, 60);  // difficulty: hard
        if (wait == 4) {
            mainMenuAgain = Wimdows::BufferPixel(200, 100) == gColour["bitmap/play1.bmp"];
            EXPECT_EQ(Diff, 3);
            EXPECT_TRUE(Music::SoundMarkedPlaying(Songs.hard));
            EXPECT_TRUE(Music::SoundMarkedPlaying(Songs.menu)) << "the menu music goes on under the menus";
            Wimdows::SimulateLeftUp(150, 520);
        }
    };
    testing::internal::CaptureStdout();
    Kwibbel::StartMenu();
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(mainMenuAgain);
    EXPECT_EQ(Waits::Current().count, 4);
}

TEST_F(MenusTest, HelpScreenIgnoresAKeyTypedBeforeIt) {
    std::atomic<bool> helpClosedByUs{false};
    bool helpReturnedEarly = false;
    Waits::Current().count = 0;
    Waits::Current().run = [&](int wait, uint32_t) {
        if (wait == 1) {
            Type('X');  // typed before the help screen opens: must not close it
            ClickButton(4, 50);
        }
        if (wait == 2) {
            helpReturnedEarly = !helpClosedByUs;
            Wimdows::SimulateLeftUp(150, 520);
        }
    };
    // Closes the help screen once it shows: its picture fills the window.
    RunMainMenuTypingOn("bitmap/helptext.bmp", 400, 20, helpClosedByUs);
    EXPECT_FALSE(helpReturnedEarly) << "the key typed before the help screen closed it";
    EXPECT_EQ(Waits::Current().count, 2);
}

TEST_F(MenusTest, HighscoreTableFromTheMainMenu) {
    std::atomic<bool> tableSeen{false};
    bool tableBeforeMenu = false;
    Waits::Current().count = 0;
    Waits::Current().run = [&](int wait, uint32_t) {
        if (wait == 1) ClickButton(3, 50);
        if (wait == 2) {
            tableBeforeMenu = tableSeen;
            Wimdows::SimulateLeftUp(150, 520);
        }
    };
    // Closes the table with a key once it shows.
    RunMainMenuTypingOn("bitmap/highscoretable.bmp", 700, 20, tableSeen);
    EXPECT_TRUE(tableBeforeMenu) << "the highscore table shows until a key is typed";
    EXPECT_EQ(Waits::Current().count, 2);
}

TEST_F(MenusTest, LevelEditorSwapsTheMusicAndBack) {
    KeyFeeder feeder;  // closes the editor's help picture
    bool editorMusic = false, menuMusicInEditor = true, menuMusicAfter = false, editorMusicAfter = true;
    int editorWaits = 0;
    Waits::Current().count = 0;
    Waits::Current().run = [&](int wait, uint32_t ms) {
        if (wait == 1) {
            ClickButton(2, 50);
            feeder.on = true;
            return;
        }
        if (ms != 25) {
            feeder.on = false;
            editorWaits++;
            if (editorWaits == 1) {
                editorMusic = Music::SoundMarkedPlaying(Songs.lvlmaker);
                menuMusicInEditor = Music::SoundMarkedPlaying(Songs.menu);
            }
            // After the countdown: Enter lays both starts, then Escape saves and leaves.
            if (editorWaits == 5) Wimdows::SimulateKeyDown(13);
            if (editorWaits == 40) {
                Wimdows::SimulateKeyUp(13);
                Wimdows::SimulateKeyDown(Wimdows::KEY_ESCAPE);
            }
            return;
        }
        // The main menu again.
        Wimdows::SimulateKeyUp(Wimdows::KEY_ESCAPE);
        menuMusicAfter = Music::SoundMarkedPlaying(Songs.menu);
        editorMusicAfter = Music::SoundMarkedPlaying(Songs.lvlmaker);
        Wimdows::SimulateLeftUp(150, 520);
    };
    testing::internal::CaptureStdout();
    Kwibbel::StartMenu();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(editorMusic);
    EXPECT_FALSE(menuMusicInEditor);
    EXPECT_TRUE(menuMusicAfter);
    EXPECT_FALSE(editorMusicAfter);
    EXPECT_NE(out.find("Level has been saved."), std::string::npos) << out;
}

// ---- settings that last --------------------------------------------------------------------------------

TEST_F(MenusTest, MusicAndEffectsSwitchedInAScreenSurviveARestart) {
    std::remove(Kwibbel::SETTINGS_FILE);
    testing::internal::CaptureStderr();
    Kwibbel::LoadSettings();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "No settings.txt yet: the window takes its first size, music and sound effects are on.\n");
    EXPECT_TRUE(Music::MusicOn() && Music::EffectsOn());
    // F2 and F3 while a screen waits: switched off and saved at once.
    Wimdows::SimulateKeyDown(Wimdows::KEY_F2);
    Wimdows::SimulateKeyDown(Wimdows::KEY_F3);
    Wimdows::Wait(25);
    EXPECT_FALSE(Music::MusicOn());
    EXPECT_FALSE(Music::EffectsOn());
    const std::string saved = PlayFolder::ReadBytes(Kwibbel::SETTINGS_FILE);
    for (const char *line : {"window-width=800\n", "window-height=680\n", "fullscreen=0\n", "music=0\n", "effects=0\n"})
        EXPECT_NE(saved.find(line), std::string::npos) << line << " in:\n" << saved;
    // The next run starts as this one left off, without a word.
    Music::SetMusicOn(true);
    Music::SetEffectsOn(true);
    testing::internal::CaptureStderr();
    Kwibbel::LoadSettings();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(Music::MusicOn());
    EXPECT_FALSE(Music::EffectsOn());
    // F3 again: the sound effects come back with a click.
    Wimdows::SimulateKeyUp(Wimdows::KEY_F3);
    Wimdows::SimulateKeyDown(Wimdows::KEY_F3);
    Wimdows::Wait(25);
    EXPECT_TRUE(Music::EffectsOn());
    EXPECT_TRUE(Music::SoundMarkedPlaying(Songs.click));
    Wimdows::SimulateKeyUp(Wimdows::KEY_F2);
    Wimdows::SimulateKeyUp(Wimdows::KEY_F3);
    Wimdows::OnRequests(nullptr);
    Music::SetMusicOn(true);
    Music::SetEffectsOn(true);
    std::remove(Kwibbel::SETTINGS_FILE);
}

TEST_F(MenusTest, ASettingChangedByAnotherCopyIsKept) {
    PlayFolder::WriteBytes(Kwibbel::SETTINGS_FILE, "window-width=800\nwindow-height=680\nmusic=1\neffects=1\n");
    Kwibbel::LoadSettings();
    // The other copy turns the music off; this one then the sound effects.
    PlayFolder::WriteBytes(Kwibbel::SETTINGS_FILE, "window-width=800\nwindow-height=680\nmusic=0\neffects=1\n");
    Wimdows::SimulateKeyDown(Wimdows::KEY_F3);
    Wimdows::Wait(25);
    Wimdows::SimulateKeyUp(Wimdows::KEY_F3);
    Wimdows::OnRequests(nullptr);
    const std::string saved = PlayFolder::ReadBytes(Kwibbel::SETTINGS_FILE);
    EXPECT_NE(saved.find("music=0\neffects=0\n"), std::string::npos) << saved;
    Music::SetEffectsOn(true);
    std::remove(Kwibbel::SETTINGS_FILE);
}

TEST_F(MenusTest, ADamagedSettingMeansItsDefaultAndOneLine) {
    PlayFolder::WriteBytes(Kwibbel::SETTINGS_FILE, "window-width=800\nwindow-height=6x0\nmusic=0\n");
    testing::internal::CaptureStderr();
    Kwibbel::Settings s = Kwibbel::ReadSettings(Kwibbel::SETTINGS_FILE);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "settings.txt is damaged (line 2): that setting takes its default.\n");
    EXPECT_TRUE(!s.music && s.effects) << "the other values stand";
    EXPECT_EQ(s.placement.width, 0u) << "the first size";
    // A pipe in its place is no settings file, and reading it never waits.
    std::remove(Kwibbel::SETTINGS_FILE);
    ASSERT_EQ(mkfifo(Kwibbel::SETTINGS_FILE, 0600), 0);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(Kwibbel::ReadSettings(Kwibbel::SETTINGS_FILE).music);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Cannot read settings.txt: the default settings are used.\n");
    std::remove(Kwibbel::SETTINGS_FILE);
    // A size its reader would refuse is never written.
    ASSERT_TRUE(Kwibbel::WriteSettings(Kwibbel::SETTINGS_FILE, {{0, 0, 20000, 680, false, false}, true, true}));
    EXPECT_EQ(PlayFolder::ReadBytes(Kwibbel::SETTINGS_FILE).find("window-"), std::string::npos);
    // Written whole and read back, position and fullscreen too; keys of later versions are passed over.
    const Kwibbel::Settings t = {{-20, 35, 1200, 1020, true, true}, false, true};
    ASSERT_TRUE(Kwibbel::WriteSettings(Kwibbel::SETTINGS_FILE, t));
    std::ofstream(Kwibbel::SETTINGS_FILE, std::ios::app) << "colour=blue\n";
    bool fine = false;
    Kwibbel::Settings u = Kwibbel::ReadSettings(Kwibbel::SETTINGS_FILE, &fine);
    EXPECT_TRUE(fine);
    const Wimdows::Placement &p = u.placement;
    EXPECT_EQ(std::make_tuple(p.x, p.y, p.width, p.height, p.positioned, p.fullscreen, u.music, u.effects),
              std::make_tuple(-20, 35, 1200u, 1020u, true, true, false, true));
    int files = 0;
    for (const auto &entry : std::filesystem::directory_iterator("."))
        files += entry.path().filename().string().rfind(Kwibbel::SETTINGS_FILE, 0) == 0;
    EXPECT_EQ(files, 1) << "no temporary file is left beside the settings";
    std::remove(Kwibbel::SETTINGS_FILE);
}

}  // namespace
