// The level files: 30 lines of 40 cells each ("M" wall, "-" free, "S" start of snake 1, "T" start of
// snake 2 or of the hand-steered knurf block), read onto an empty board at the start of every game, and
// the screen that tells the player why a level cannot be played in the chosen mode.
#include <cctype>
#include <cstdio>
#include <cstring>

#include "game/SnakeProcedures.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- state ---------------------------------------------------------------------------------------------

static const char *const levelFiles[5] = {
    "savefiles/muur.txt",   "savefiles/geenmuur.txt", "savefiles/smiley.txt",
    "savefiles/insane.txt", "savefiles/custom.txt",
};

// The levels as the slot menu names them.
static const char *const levelNames[5] = {"Walled arena", "No walls", "Smiley", "Insane", "Custom level"};

// Why the last level read was refused (what it lacks), or null.
static const char *refusal;

// The refusal screen: the picture, and over its empty band the level, what it lacks and the mode.
static const char *const REFUSED_PICTURE = "bitmap/refusedlevel.bmp";
// Written in the empty band of the picture.
static const int32_t REFUSED_LINE_Y[3] = {Layout::REFUSED_WORDS_TOP + 10, Layout::REFUSED_WORDS_TOP + 80,
                                          Layout::REFUSED_WORDS_TOP + 130};
static const uint32_t REFUSED_AMBER = 0x3CC9FF, REFUSED_INK = 0xFFF2EE;

// Large enough that any sensible hand-edited line is read in one go; longer ones are read on and dropped.
static const uint32_t LINE_CAPACITY = 4096;

// ---- internal --------------------------------------------------------------------------------------------

// Reads one line of the file into line (at most LINE_CAPACITY bytes kept) and returns how many bytes it
// holds; the rest of an overlong line is read and dropped, so the next call starts at the next line.
static uint32_t ReadLevelLine(SaveFile *file, char *line) {
    RdStr(file, line, LINE_CAPACITY);
    const void *end = std::memchr(line, 0, LINE_CAPACITY);
    if (end) return (uint32_t)((const char *)end - line);
    char rest[LINE_CAPACITY];
    do {
        RdStr(file, rest, LINE_CAPACITY);
    } while (!std::memchr(rest, 0, LINE_CAPACITY));
    return LINE_CAPACITY;
}

// ---- exported ----------------------------------------------------------------------------------------------

void ReadLevel(uint32_t levelchoice, uint32_t Grootte[3], RijEnKolomRec Positie[3], LevelRec *gelezen) {
    LevelRec level;
    std::memset(&level, '-', sizeof level);
    if (LevelVanBuiten) {
        level = *LevelVanBuiten;
    } else if (levelchoice < 5) {
        SaveFile *file = OpenRead(levelFiles[levelchoice]);
        char line[LINE_CAPACITY];
        // A short line leaves its missing cells free; characters beyond column 40 are ignored.
        for (uint32_t rij = 1; rij <= RIJEN; rij++) {
            uint32_t length = ReadLevelLine(file, line);
            LevelRij(level, rij, line, length);
        }
        Close(file);
    }
    uint32_t grootte[3] = {0, Grootte[1], Grootte[2]};
    RijEnKolomRec positie[3] = {{0, 0}, Positie[1], Positie[2]};
    LegLevel(Veld, level, grootte, positie);
    Grootte[1] = grootte[1];
    Grootte[2] = grootte[2];
    Positie[1] = positie[1];
    Positie[2] = positie[2];
    if (gelezen) *gelezen = level;
}

bool LoadLevel(uint32_t Grootte[3], PijlEn Richting[3], RijEnKolomRec Positie[3], const BitmapsRec &Bitmaps,
               uint32_t &levelchoice, LevelRec *gelezen) {
    VensterInBlokken();
    Richting[1] = RECHTS;
    Richting[2] = RECHTS;
    Grootte[1] = 0;
    Grootte[2] = 0;

    refusal = nullptr;
    if (levelchoice >= 5) {
        // On a line of its own: the save and load lines before it end without a line end.
        std::printf("\nLevel %u does not exist.\n", (unsigned)levelchoice);
        std::fflush(stdout);
        refusal = "it does not exist";
        return false;
    }
    const char *name = levelFiles[levelchoice];
    ReadLevel(levelchoice, Grootte, Positie, gelezen);

    const char *reason = WaaromNietSpeelbaar(ModeNu(), Grootte, Positie);
    if (reason) {
        std::printf("\nLevel %s cannot be played: %s.\n", name, reason);
        std::fflush(stdout);
        refusal = reason;
        return false;
    }

    // Walls are drawn only for a level that will be played, so a refused one draws nothing.
    TekenMuren(Bitmaps);

    std::fputs("\nLevel is loaded!", stdout);
    std::fflush(stdout);
    return true;
}

void LevelRefused(uint32_t levelchoice) {
    if (Wimdows::WindowClosed()) return;
    char level[160], lacks[200], mode[120];
    std::snprintf(level, sizeof level, "%s (level %u)", levelchoice < 5 ? levelNames[levelchoice] : "A level",
                  (unsigned)levelchoice + 1);
    // The reason as a sentence: "it has no start for snake 2" becomes "It has no start for snake 2."
    std::snprintf(lacks, sizeof lacks, "%s.", refusal ? refusal : "it cannot be played");
    lacks[0] = (char)std::toupper((unsigned char)lacks[0]);
    std::snprintf(mode, sizeof mode, "Game mode: %s.", GameModeName(GameMode()));

    Wimdows::FlushKeys();
    Wimdows::ClearScreen();
    Wimdows::DrawBitmap(Wimdows::LoadBitmap(REFUSED_PICTURE, 800, 680), 0, 0);
    CentredText(level, 1, REFUSED_AMBER, REFUSED_LINE_Y[0]);
    CentredText(lacks, 0, REFUSED_INK, REFUSED_LINE_Y[1]);
    CentredText(mode, 0, REFUSED_INK, REFUSED_LINE_Y[2]);
    Wimdows::UpdateWindow();
    Wimdows::GetFreshKey();
}

}  // namespace SnakeProcedures
