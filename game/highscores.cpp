// The ten best scores in "savefiles/highscores.txt", best first, and the end of a crashed game: the end
// picture, the scores merged into the file, and the table with this game's scores highlighted.
#include <cstdio>

#include "game/SnakeProcedures.h"
#include "music/Music.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- state ---------------------------------------------------------------------------------------------

static const char *const HIGHSCORE_FILE = "savefiles/highscores.txt";
static const uint32_t ENTRIES = 10;
// Scores are signed 32-bit; a hand-edited larger entry counts as the largest possible score.
static const uint32_t LARGEST_SCORE = 2147483647u;

static const uint32_t COLOUR_SHARED = 0xB00000;    // blue: both players' equal score
static const uint32_t COLOUR_PLAYER1 = 0x0000B0;   // red
static const uint32_t COLOUR_PLAYER2 = 0x00B000;   // green
static const uint32_t COLOUR_OTHER = 0xC0C0C0;     // light grey

// ---- internal --------------------------------------------------------------------------------------------

// Reads the ten entries of the open highscore file into table[1..10].
static void ReadTable(SaveFile *file, uint32_t table[ENTRIES + 1])
{
    for (uint32_t i = 1; i <= ENTRIES; i++) {
        uint32_t value = RdCard(file);
        table[i] = value > LARGEST_SCORE ? LARGEST_SCORE : value;
    }
}

static uint32_t PlayersOfTheGame()
{
    return AantalSpelers < 2 ? AantalSpelers : 2;
}

// Merges this game's scores into the file, which is rewritten from its first byte every time.
static void SaveScore()
{
    uint32_t highscores[ENTRIES + 1];
    SaveFile *file = Open(HIGHSCORE_FILE);
    ReadTable(file, highscores);
    EnterScores(highscores, Score, PlayersOfTheGame());
    Flush(file);
    for (uint32_t i = 1; i <= ENTRIES; i++) {
        WrCard(file, highscores[i], 0);
        WrLn(file);
    }
    Close(file);
    std::fputs("\nHighscore has been saved.", stdout);
    std::fflush(stdout);
}

// ---- exported ----------------------------------------------------------------------------------------------

void EnterScores(uint32_t table[11], const int32_t scores[3], uint32_t players)
{
    for (uint32_t j = 1; j <= players && j <= 2; j++) {
        int64_t score = scores[j];
        for (uint32_t i = 1; i <= ENTRIES; i++) {
            if ((int64_t)table[i] <= score) {
                for (uint32_t k = ENTRIES; k > i; k--)
                    table[k] = table[k - 1];
                table[i] = (uint32_t)score;
                break;
            }
        }
    }
}

void HighlightRows(const uint32_t table[11], int32_t scores[3], uint32_t colours[11])
{
    uint32_t shared = 0;
    for (uint32_t i = 1; i <= ENTRIES; i++) {
        int64_t s = table[i];
        if (scores[1] == s && scores[2] == s && shared < 2) {
            colours[i] = COLOUR_SHARED;
            shared++;
            if (shared == 2) {
                scores[1] = 0;
                scores[2] = 0;
            }
        } else if (scores[1] == s) {
            colours[i] = COLOUR_PLAYER1;
            scores[1] = 0;
        } else if (scores[2] == s) {
            colours[i] = COLOUR_PLAYER2;
            scores[2] = 0;
        } else {
            colours[i] = COLOUR_OTHER;
        }
    }
}

void LeesHighscore()
{
    Wimdows::FlushKeys();
    Wimdows::ClearScreen();
    uint32_t picture = Wimdows::LoadBitmap("bitmap/highscoretable.bmp", 800, 680);
    Wimdows::DrawBitmap(picture, 0, 0);

    // Looking at the table needs no write access to it.
    uint32_t table[ENTRIES + 1];
    SaveFile *file = OpenRead(HIGHSCORE_FILE);
    ReadTable(file, table);
    Close(file);

    uint32_t colours[ENTRIES + 1];
    HighlightRows(table, Score, colours);
    for (uint32_t i = 1; i <= ENTRIES; i++) {
        Wimdows::SetFont(1, colours[i]);
        Wimdows::TextInt((int32_t)table[i], 200, (int32_t)(52 * i + 72));
    }
    Wimdows::UpdateWindow();
    Wimdows::GetKey();
}

void GameOver()
{
    Music::StopSound(Songs.game);
    Wimdows::ClearScreen();
    Wimdows::UpdateWindow();

    uint32_t picture = 0;
    if (SpelerAanDeBeurt == 1) {
        picture = Wimdows::LoadBitmap("bitmap/gameover.bmp", 800, 680);
        if (BlokjeManueel) {
            // The knurf block has won: the snake's points go to the knurf player.
            Score[2] = Score[1];
            Score[1] = 0;
        }
    } else if (SpelerAanDeBeurt == 2) {
        picture = Wimdows::LoadBitmap("bitmap/gameover2.bmp", 800, 680);
    }
    Wimdows::ClearScreen();
    Wimdows::DrawBitmap(picture, 0, 0);
    Wimdows::UpdateWindow();

    Music::PlaySound(Songs.gameover, false);
    // The game is over even when the window was closed: its scores are kept whatever comes next.
    SaveScore();
    if (Wimdows::WindowClosed())
        return;
    Wimdows::Wait(4000);
    if (Wimdows::WindowClosed())
        return;
    Wimdows::ClearScreen();
    LeesHighscore();
}

}  // namespace SnakeProcedures
