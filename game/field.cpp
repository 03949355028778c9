// The playing field: the board of 30 by 40 cells, the snakes' slot arrays, the scores and the game
// settings, with the small board operations every other part of the game uses (the one-cell step, the
// snakes' edge crossing, freeing a tail cell, the border wall) and the score panel.
#include "game/SnakeProcedures.h"
#include "support/StandardLib.h"
#include "support/StandardMenu.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- state ---------------------------------------------------------------------------------------------

// Everything starts zero or false; the program entry sets the defaults of the settings.
ToestandRec Spel;
BlokRec (&Veld)[RIJEN + 1][KOLOMMEN + 1] = Spel.Veld;
BlokRec (&Slang)[3][SLANGSLOTS] = Spel.Slang;
int32_t (&Score)[3] = Spel.Score;
uint32_t AantalSpelers;
bool BlokjeManueel;
uint32_t AantalBlokjesManueel;
uint32_t AantalBlokjesAutomatisch;
uint32_t ComputerSpeler;
int32_t Diff;

static const uint32_t SCORE_KLEUR = 0xC0C0C0;  // light grey
static const char *const MODE_NAMES[MODE_COUNT] = {"one player", "snake against snake", "snake against knurf",
                                                   "snake against the computer"};
static const uint32_t PLAAT_KNURF = 2, PLAAT_COMPUTER = 3;  // in BitmapsRec.platen, after the players'

// A sign over the middle of the board: its top, height, margin beside the words, colours (0x00BBGGRR).
static const int32_t SIGN_Y = 260, SIGN_HEIGHT = 80, SIGN_MARGIN = 30;
static const uint32_t SIGN_GROUND = 0x381C14, SIGN_LINE = 0x3CC9FF, SIGN_LETTERS = 0xFFF2EE;

static bool gestart = false;

// ---- exported ----------------------------------------------------------------------------------------------

void InitSnakeProcedures() {
    if (gestart) return;
    gestart = true;
    Wimdows::InitWimdows();
    StandardLib::InitStandardLib();
    StandardMenu::InitStandardMenu();
}

uint32_t AantalSlangen() { return SlangenIn(ModeNu()); }

ModeRec ModeNu() {
    return ModeRec{AantalSpelers, BlokjeManueel, AantalBlokjesManueel, AantalBlokjesAutomatisch, ComputerSpeler};
}

void SetGameMode(GameModeEn mode) {
    const ModeRec &m = ModeSettings(mode);
    AantalSpelers = m.spelers;
    BlokjeManueel = m.blokjeManueel;
    AantalBlokjesManueel = m.manueel;
    AantalBlokjesAutomatisch = m.automatisch;
    ComputerSpeler = m.computer;
}

void VensterInBlokken() { VensterInBlokken(Veld); }

void EraseCell(const BlokRec &cel) {
    Wimdows::Rectangle((int32_t)cel.x1, (int32_t)cel.y1, (int32_t)cel.x2 - 1, (int32_t)cel.y2 - 1, 0, true);
}

void Muur() {
    uint32_t horizontaal = Wimdows::LoadBitmap("bitmap/muurhor.bmp", Layout::CELL, Layout::CELL);
    uint32_t verticaal = Wimdows::LoadBitmap("bitmap/muurver.bmp", Layout::CELL, Layout::CELL);
    for (uint32_t rij = 1; rij <= RIJEN; rij++) {
        for (uint32_t kolom = 1; kolom <= KOLOMMEN; kolom++) {
            BlokRec &cel = Veld[rij][kolom];
            if (rij == 1 || rij == RIJEN) {
                cel.bezet = MUUR;
                Wimdows::DrawBitmap(horizontaal, (int32_t)cel.x1, (int32_t)cel.y1);
            } else if (kolom == 1 || kolom == KOLOMMEN) {
                cel.bezet = MUUR;
                Wimdows::DrawBitmap(verticaal, (int32_t)cel.x1, (int32_t)cel.y1);
            }
        }
    }
}

void TekenMuren(const BitmapsRec &bitmaps) {
    for (uint32_t rij = 1; rij <= RIJEN; rij++)
        for (uint32_t kolom = 1; kolom <= KOLOMMEN; kolom++)
            if (Veld[rij][kolom].bezet == MUUR)
                Wimdows::DrawBitmap(bitmaps.muur[0], (int32_t)Veld[rij][kolom].x1, (int32_t)Veld[rij][kolom].y1);
}

GameModeEn GameMode() {
    if (AantalSpelers < 2) return MODE_ONE_PLAYER;
    if (AantalBlokjesManueel >= 1) return MODE_SNAKE_VS_KNURF;
    return ComputerSpeler != 0 ? MODE_SNAKE_VS_COMPUTER : MODE_SNAKE_VS_SNAKE;
}

const char *GameModeName(GameModeEn mode) { return mode < MODE_COUNT ? MODE_NAMES[mode] : ""; }

void CentredText(const char *text, uint32_t style, uint32_t colour, int32_t y) {
    uint32_t w = 0, h = 0;
    Wimdows::GetTextSize(text, style, w, h);
    Wimdows::SetFont(style, colour);
    Wimdows::Text(text, 400 - (int32_t)(w / 2), y);
}

// The sign's box and its text's place (the text centred), as a note of the window layer.
static Wimdows::Note SignNote(const char *text) {
    uint32_t w = 0, h = 0;
    Wimdows::GetTextSize(text, 1, w, h);
    Wimdows::Note n;
    n.x0 = 400 - (int32_t)w / 2 - SIGN_MARGIN;
    n.x1 = 400 + (int32_t)w / 2 + SIGN_MARGIN;
    n.y0 = SIGN_Y;
    n.y1 = SIGN_Y + SIGN_HEIGHT - 1;
    n.ground = SIGN_GROUND;
    n.line = SIGN_LINE;
    n.text = text;
    n.style = 1;
    n.letters = SIGN_LETTERS;
    n.textX = 400 - (int32_t)(w / 2);
    n.textY = SIGN_Y + (SIGN_HEIGHT - (int32_t)h) / 2;
    return n;
}

void FlashSign(const char *text, uint32_t ms) { Wimdows::ShowNote(SignNote(text), ms); }

void ShowSign(const char *text) {
    const Wimdows::Note n = SignNote(text);
    Wimdows::KeepArea(n.x0, n.y0, n.x1, n.y1);
    Wimdows::Rectangle(n.x0, n.y0, n.x1, n.y1, n.ground, true);
    Wimdows::Rectangle(n.x0, n.y0, n.x1, n.y1, n.line, false);
    Wimdows::Rectangle(n.x0 + 1, n.y0 + 1, n.x1 - 1, n.y1 - 1, n.line, false);
    Wimdows::SetFont(n.style, n.letters);
    Wimdows::Text(text, n.textX, n.textY);
    Wimdows::UpdateWindow();
}

}  // namespace SnakeProcedures
