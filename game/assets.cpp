// The tables of loaded sounds and pictures, the loading screen at start-up and the countdown before a game
// (over the board the game starts on).
//
// Every wait goes through Wimdows::Wait (or WaitForPress). Once the player has closed the window the loading
// screen and the countdown stop waiting and return at once, and a press ends the loading screen once all is
// loaded; the loading screens it did not reach keep handle 0.
#include <cstdio>
#include <cstring>

#include "game/SnakePieces.h"
#include "game/SnakeProcedures.h"
#include "music/Music.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- types ---------------------------------------------------------------------------------------------

// One row of the sound table: the file, the volume it plays at, the line written when it fails to load, and
// whether it is music (F2 turns music on and off, F3 the other sounds).
struct SoundRow {
    uint32_t SongsRec::*field;  // a plain field, or null for an entry of laden
    int ladenIndex;             // index into laden when field is null
    const char *file;
    uint32_t volume;
    const char *failure;
    bool music;
};

// ---- state ---------------------------------------------------------------------------------------------

SongsRec Songs;
BitmapsRec Bitmaps;

// The loading order of the sounds: the countdown first, the jingle, the menu sounds, then the music.
static const SoundRow soundTable[] = {
    {nullptr, 3, "audio/3.mp3", 255, "failure @ loading 3!", false},
    {nullptr, 2, "audio/2.mp3", 255, "failure @ loading 2!", false},
    {nullptr, 1, "audio/1.mp3", 255, "failure @ loading 1!", false},
    {nullptr, 0, "audio/laden.mp3", 255, "failure @ loading loadsound!", false},
    {&SongsRec::easy, 0, "audio/easy.mp3", 255, "failure @ loading easysound!", false},
    {&SongsRec::medium, 0, "audio/medium.mp3", 255, "failure @ loading mediumsound!", false},
    {&SongsRec::hard, 0, "audio/hard.mp3", 255, "failure @ loading hardsound!", false},
    {&SongsRec::click, 0, "audio/laser.mp3", 255, "failure @ loading clicksound!", false},
    {&SongsRec::menu, 0, "audio/menumusic.mp3", 128, "failure @ loading menu music!", true},
    {&SongsRec::game, 0, "audio/ingamemusic.mp3", 128, "failure @ loading ingamesong!", true},
    {&SongsRec::lvlmaker, 0, "audio/customizermusic.mp3", 128, "failure @ loading customizermusic!", true},
    {&SongsRec::gameover, 0, "audio/gameover.mp3", 185, "failure @ loading gameoversound!", false},
    {&SongsRec::beep, 0, "audio/beep.mp3", 128, "failure @ loading beepsound!", false},
};


static const char *const knurfFiles[4] = {
    "bitmap/knurfs.bmp",
    "bitmap/knurfsgeel.bmp",
    "bitmap/knurfsblauw.bmp",
    "bitmap/knurfsgroen.bmp",
};

// The score plates of player 1, player 2, the knurf player and the computer, in the order of BitmapsRec.platen.
static const char *const plateFiles[4] = {"bitmap/plate1.bmp", "bitmap/plate2.bmp", "bitmap/plateknurf.bmp",
                                          "bitmap/platecomputer.bmp"};

static const char *const countFiles[3] = {"bitmap/3.bmp", "bitmap/2.bmp", "bitmap/1.bmp"};

// How long each count picture shows.
static const uint32_t COUNT_WAIT = 800;

// ---- internal --------------------------------------------------------------------------------------------

static void ConsoleText(const char *text) {
    std::fputs(text, stdout);
    std::fflush(stdout);
}

// Loads the ten pieces of player `player`'s snake.
static void LoadSnakePieces(ArrayCard pieces, uint32_t player) {
    for (uint32_t i = 0; i < SnakePieces::COUNT; i++)
        pieces[i] = Wimdows::LoadBitmap(("bitmap/" + SnakePieces::FileName(player, i)).c_str(), 20, 20);
}

// ---- exported ----------------------------------------------------------------------------------------------

void LoadSongs() {
    for (const SoundRow &row : soundTable) {
        uint32_t &field = row.field ? Songs.*(row.field) : Songs.laden[row.ladenIndex];
        field = Music::LoadSound(row.file);
        if (field == 0) {
            ConsoleText(row.failure);
            ConsoleText("\n");
        }
        // SetSoundVolume only reaches a playing sound; the start volume makes the table hold when it plays.
        Music::SetSoundVolume(field, row.volume);
        Music::SetStartVolume(field, row.volume);
        Music::SetMusicKind(field, row.music);
    }
}

void Load() {
    Bitmaps.laden[0] = Wimdows::LoadBitmap("bitmap/loadscreen1.bmp", 800, 680);
    Wimdows::DrawBitmap(Bitmaps.laden[0], 0, 0);

    ConsoleText("\n *****************  Kwibbel *****************\n");
    if (Music::InitMusic())
        ConsoleText("Music system initialized.\n");
    else
        ConsoleText("Error while initializing music system!\n\n");
    LoadSongs();

    // Everything is loaded now: a key, a click or a pad's button goes on to the menu at once (the press is
    // left for the menu, which drops it).
    Music::PlaySound(Songs.laden[0], false);
    bool skipped = Wimdows::WaitForPress(1600);
    if (!skipped && !Wimdows::WindowClosed()) {
        Bitmaps.laden[1] = Wimdows::LoadBitmap("bitmap/loadscreen2.bmp", 800, 680);
        Wimdows::DrawBitmap(Bitmaps.laden[1], 0, 0);
        skipped = Wimdows::WaitForPress(2800);
    }
    if (!skipped && !Wimdows::WindowClosed()) {
        Bitmaps.laden[2] = Wimdows::LoadBitmap("bitmap/loadscreen3.bmp", 800, 680);
        Wimdows::DrawBitmap(Bitmaps.laden[2], 0, 0);
        Wimdows::WaitForPress(3600);
    }
    Music::StopSound(Songs.laden[0]);
}

void LoadBitmaps(BitmapsRec &bitmaps) {
    std::memset(&bitmaps, 0, sizeof bitmaps);
    for (int i = 0; i < 3; i++)
        bitmaps.laden[i] = Wimdows::LoadBitmap(countFiles[i], Layout::COUNT_SIZE, Layout::COUNT_SIZE);
    LoadSnakePieces(bitmaps.speler2, 2);
    LoadSnakePieces(bitmaps.speler1, 1);
    for (int i = 0; i < 4; i++) bitmaps.blokjes[i] = Wimdows::LoadBitmap(knurfFiles[i], 20, 20);
    bitmaps.hud = Wimdows::LoadBitmap("bitmap/hud.bmp", 800, 80);
    for (int i = 0; i < 4; i++) bitmaps.platen[i] = Wimdows::LoadBitmap(plateFiles[i], 128, 66);
    bitmaps.muur[0] = Wimdows::LoadBitmap("bitmap/muurhor.bmp", 20, 20);
    bitmaps.muur[1] = Wimdows::LoadBitmap("bitmap/muurver.bmp", 20, 20);
}

bool Countdown(const BitmapsRec &bitmaps) {
    const int32_t x = Layout::COUNT_X, y = Layout::COUNT_Y, last = Layout::COUNT_SIZE - 1;
    Wimdows::KeepArea(x, y, x + last, y + last);
    // Each number is seen as it is heard.
    for (int i = 0; i < 3; i++) {
        Wimdows::DrawBitmap(bitmaps.laden[i], x, y);
        Wimdows::UpdateWindow();
        Music::PlaySound(Songs.laden[3 - i], false);
        Wimdows::Wait(COUNT_WAIT);
        if (Wimdows::WindowClosed()) return false;
        // Escape leaves before the first step; other keys typed meanwhile are no turns.
        for (uint32_t key = Wimdows::PollKey(); key != 0; key = Wimdows::PollKey())
            if (key == Wimdows::KEY_ESCAPE) return false;
    }
    Wimdows::RestoreArea();
    Wimdows::UpdateWindow();
    return true;
}

}  // namespace SnakeProcedures
