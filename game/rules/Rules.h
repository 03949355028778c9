// Rules: what one step of a game does, as plain functions of one record. A game is its start state
// (the level's board, mode, difficulty, the state of its random numbers) and each step's input (the turns
// each player typed, the direction of a held key); Stap turns a state and an input into the next state
// and reports what happened as events. Nothing here draws, plays a sound or reads a key: the view paints
// the events, the loop reads the keys, and the computer and the tests step copies of a state.
//
// Sections: board and game types; game modes; the state record; input and events; the step; the pieces
// of a step (board, snakes, turns, knurf blocks); the computer player.
//
// Thread rules: none of its own; a record belongs to whoever holds it.
// Numbering: players, snakes, rows and columns count from 1 (index 0 of a per-player array is unused).
#pragma once

#include <cstdint>

#include "game/Layout.h"
#include "support/StandardLib.h"

namespace SnakeProcedures {

// ---- board and game types ------------------------------------------------------------------------

enum BezetEn : uint8_t { MUUR = 0, SLANG = 1, BLOKJE = 2, ONBEZET = 3, ALBEWOGEN_BLOKJE = 4, MANUEEL_BLOKJE = 5 };
enum SoortBlokjeEn : uint8_t { NORMAAL = 0, GIFTIG = 1, SNELLER = 2 };
enum PijlEn : uint8_t { LINKS = 0, RECHTS = 1, BOVEN = 2, ONDER = 3 };

struct BlokRec {
    uint32_t x1, x2, y1, y2;
    uint32_t kleur;
    BezetEn bezet;
    SoortBlokjeEn soortblokje;
    bool BeginPosSlang;
    bool BeginPosSlang2;
};

struct RijEnKolomRec {
    uint32_t rij, kolom;
};

const uint32_t RIJEN = Layout::ROWS;
const uint32_t KOLOMMEN = Layout::COLUMNS;
const uint32_t SLANGSLOTS = 1201;  // slots 0..1200 per snake
// The pixel position of a slot that stands for no cell of the board: painting it paints nothing and
// freeing it frees nothing.
const uint32_t BUITEN_HET_VENSTER = 2000;
// Players in a game at most (snakes and hand-steered knurf blocks together).
const uint32_t MAX_SPELERS = 2;

// The direction a snake cannot turn to from richting.
PijlEn Tegengesteld(PijlEn richting);

// ---- game modes ----------------------------------------------------------------------------------

// The modes of the game-mode menu; a new mode adds a row to the mode table, its name and its game-over words.
enum GameModeEn : uint8_t {
    MODE_ONE_PLAYER,
    MODE_SNAKE_VS_SNAKE,
    MODE_SNAKE_VS_KNURF,
    MODE_SNAKE_VS_COMPUTER,
    MODE_COUNT
};

// Who plays in a mode: players 1..spelers, of whom the first `spelers - manueel` steer snakes and the rest
// a knurf block by hand; `automatisch` knurf blocks wander by themselves; `computer` is the player whose
// snake the computer steers (0: none).
struct ModeRec {
    uint32_t spelers;
    bool blokjeManueel;
    uint32_t manueel;
    uint32_t automatisch;
    uint32_t computer;
};
// The row of the mode table for mode (the first row for a mode out of range).
const ModeRec &ModeSettings(GameModeEn mode);

// ---- the state record ----------------------------------------------------------------------------

// The turns one player typed since the last steps, oldest first (at most two wait).
struct BeurtenRec {
    PijlEn beurt[2];
    uint32_t aantal;
};

// Everything the next step of a game depends on. Plain data: a copy steps exactly as the original.
struct ToestandRec {
    BlokRec Veld[RIJEN + 1][KOLOMMEN + 1];  // Veld[rij][kolom], rows 1..30, columns 1..40
    BlokRec Slang[3][SLANGSLOTS];           // Slang[snake 1..2][slot 0..1200]
    uint32_t grootte[3];                    // snake p's length counter; its head is slot grootte + 1 before a step
    RijEnKolomRec positie[3];               // head of snake p, or the hand-steered block's cell
    PijlEn richting[3];                     // the direction of each player's last step, as shown
    BeurtenRec beurten[3];                  // turns waiting per player
    int32_t Score[3];
    int32_t DelaySnake;  // the wait per step in ms
    int32_t Diff;        // 1 easy, 2 medium, 3 hard
    ModeRec mode;
    uint32_t slangen;  // snakes in play (players 1..slangen)
    uint32_t teller;   // steps taken
    // Benchmarks only: score milestones bring no poisonous or faster knurf block. FALSE in a new record;
    // a new game on the same record keeps it.
    bool alleenGewoneBlokjes;
    StandardLib::RandomRec random;
};

// The number of snakes a mode puts in play (0..2).
uint32_t SlangenIn(const ModeRec &mode);
// Fills in a new game on the board t.Veld, which holds the level (walls, every other cell free): mode,
// difficulty, the random numbers it draws from, the snakes of lengths grootte[p] laid from positie[p]
// rightwards, the hand-steered block on its start cell, the first knurf blocks, the pace. Reports the
// cells it fills to uit (when not null) as a step does.
struct GebeurtenissenRec;
void NieuwSpel(ToestandRec &t, const ModeRec &mode, int32_t diff, const StandardLib::RandomRec &random,
               const uint32_t grootte[3], const RijEnKolomRec positie[3], GebeurtenissenRec *uit);

// ---- input and events ----------------------------------------------------------------------------

// One step's input: per player the turns typed since the last step (judged by QueueTurn, at most two)
// and the direction of a held key (vast FALSE: none held).
struct InvoerRec {
    BeurtenRec beurten[3];
    bool vast[3];
    PijlEn vastRichting[3];
};

// Why a snake could not move.
enum OorzaakEn : uint8_t {
    OORZAAK_GEEN,
    OORZAAK_MUUR,          // a wall
    OORZAAK_EIGEN_LIJF,    // its own body
    OORZAAK_ANDERE_SLANG,  // the other snake
    OORZAAK_GIFTIG,        // a blue knurf block
    OORZAAK_KNURFSPELER,   // the knurf block steered by player 2
};

enum GebeurtenisEn : uint8_t {
    G_CEL_VRIJ,        // cel is free and black again (a tail left it)
    G_SLANG_STUK,      // cel shows snake speler's picture stuk (a piece of the snake picture table)
    G_BLOKJE_GEZET,    // a new knurf block of kind soort on cel
    G_BLOKJE_BEWOGEN,  // a knurf block of kind soort went from cel to naar (manueel: the hand-steered one;
                       // vanVrij: cel was the block's and is free now)
    G_BLOKJE_GEGETEN,  // snake speler ate the knurf block of kind soort on cel
    G_PUNTEN,          // player speler's score is now punten
    G_SNELLER,         // the pace went up: the wait per step is now punten ms
    G_GECRASHT,        // snake speler could not move, for reason oorzaak
    G_GEVANGEN,        // the hand-steered knurf block caught snake 1
};

struct GebeurtenisRec {
    GebeurtenisEn soort;
    uint8_t speler;
    uint8_t stuk;
    SoortBlokjeEn blok;
    OorzaakEn oorzaak;
    bool manueel, vanVrij;
    RijEnKolomRec cel, naar;
    int32_t punten;
};

// What one step did, in the order it happened. A full list keeps its first events (it never fills: the
// board has fewer cells than it has room for).
const uint32_t MAX_GEBEURTENISSEN = 4 * RIJEN * KOLOMMEN;
struct GebeurtenissenRec {
    uint32_t aantal;
    GebeurtenisRec lijst[MAX_GEBEURTENISSEN];
};

// How a game ended: which snakes could not move in its last step and why, caught by the knurf block.
struct GameEndRec {
    bool crashed[3];
    bool caught;
    OorzaakEn oorzaak[3];
};

// ---- the step --------------------------------------------------------------------------------------

// One step: the input's turns join the waiting ones, the knurf blocks move (the wandering ones every few
// steps, the hand-steered one always), then each snake in play. TRUE while the game goes on; FALSE when a
// snake could not move, with end telling how it ended. Events go to uit when it is not null.
bool Stap(ToestandRec &t, const InvoerRec &invoer, GameEndRec &end, GebeurtenissenRec *uit);

// The points of a finished game as they are kept: a snake that crashed by itself in snake against knurf
// gives its points to the knurf player.
void EindPunten(const ToestandRec &t, const GameEndRec &end, int32_t punten[3]);

// ---- the pieces of a step ------------------------------------------------------------------------------

// Every cell free with its pixel rectangle, start markers cleared; soortblokje kept.
void VensterInBlokken(BlokRec veld[RIJEN + 1][KOLOMMEN + 1]);
// One step in direction volgend, no bounds checked.
void VeranderRijKolom(uint32_t &rij, uint32_t &kolom, PijlEn volgend);
// The snakes' edge crossing: TRUE (and the position set one beyond the opposite edge) on leaving the board.
bool DoorMuur(PijlEn volgend, uint32_t &rij, uint32_t &kolom);
// The board cell whose rectangle a snake slot copies; FALSE for a slot that stands for no cell.
bool CelVanRechthoek(const ToestandRec &t, const BlokRec &blok, RijEnKolomRec &cel);

// Records one press of player speler into the step's input; dropped when it changes nothing, when two
// already wait (with those of t), or, for a snake (blokje FALSE), when it reverses the turn before it (or
// the direction the player sees now).
void QueueTurn(const ToestandRec &t, InvoerRec &invoer, uint32_t speler, PijlEn richting, bool blokje);
// Takes the oldest waiting turn of player speler that still turns volgend (a snake never reverses);
// FALSE, volgend unchanged, when none waits.
bool TakeTurn(ToestandRec &t, uint32_t speler, PijlEn &volgend, bool blokje);
// The held direction of the input for player speler into volgend; a snake cannot reverse.
void RichtingBepalen(PijlEn &volgend, const InvoerRec &invoer, uint32_t speler, bool blokje);
// One whole step of snake s; FALSE (and the reason) when it could not move.
bool TekenSlang(ToestandRec &t, uint32_t s, const InvoerRec &invoer, OorzaakEn &oorzaak, GebeurtenissenRec *uit);
// Moves the head of snake s one cell if the cell ahead may be entered.
bool BepalenVolgendBlokjeSlang(ToestandRec &t, uint32_t s, PijlEn volgend_vorig, PijlEn volgend, OorzaakEn &oorzaak,
                               GebeurtenissenRec *uit);
// Places the first knurf blocks (beginspel) or the points and blocks for an ordinary one eaten by speler.
void TekenNieuwBlokje(ToestandRec &t, bool beginspel, uint32_t speler, GebeurtenissenRec *uit);
// Moves the knurf blocks of this step (the wandering ones every few steps, the hand-steered one of player
// speler always, when there is one).
void BeweegBlokje(ToestandRec &t, uint32_t speler, const InvoerRec &invoer, GebeurtenissenRec *uit);

// ---- computer player ---------------------------------------------------------------------------------

// The computer steers a snake from what a player sees: the board, both snakes and the knurf blocks. It
// changes nothing of the game and draws none of its random numbers (it has a generator of its own).
// Starts the computer afresh for a new game (what it learnt of the last one is forgotten); zaad seeds its
// own generator.
void ComputerNieuwSpel(uint32_t zaad);
// The direction for snake s's next step, asked once per step before the step's knurf blocks and snakes
// move. Never the reverse of t.richting[s]; t.richting[s] when no cell ahead can be entered.
PijlEn ComputerRichting(const ToestandRec &t, uint32_t s);

}  // namespace SnakeProcedures
