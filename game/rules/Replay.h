// Replay: a game as its start (the level, mode, difficulty and the number its draws follow from) and each
// step's input, which the same step turns into the same game anywhere: recorded while it is played, kept
// as a small text file, watched again, verified, and started alike on two machines. The text format is
// described in docs/replay-format.md.
//
// Sections: the level as text; a game's start; the state's hash; one step's input packed in a word; the
// recording and its file; verifying.
//
// Thread rules: none of its own. Errors: readers return FALSE with one line saying what is wrong; nothing
// here stops the program, allocates without a bound or trusts a number it read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "game/rules/Rules.h"

namespace SnakeProcedures {

// The rules' version: a replay recorded under other rules cannot play the same game, and is refused.
const uint32_t REGELS_VERSIE = 1;
// The replay file's format version.
const uint32_t OPNAME_FORMAAT = 1;

// ---- the level as text -----------------------------------------------------------------------------

// A level as its rows of cells: 'M' wall, '-' free, 'S' a start cell of snake 1, 'T' of snake 2 or of the
// hand-steered knurf block. Any other character of a level file counts as free.
struct LevelRec {
    char rijen[RIJEN][KOLOMMEN];
};

// Applies one row (cells 1..lengte of regel; the rest free) to row rij of level.
void LevelRij(LevelRec &level, uint32_t rij, const char *regel, uint32_t lengte);
// Lays level on an empty board veld (walls, every other cell free) and counts per snake 1..2 its start
// cells (grootte) and the first of them (positie, left as it was when it has none).
void LegLevel(BlokRec veld[RIJEN + 1][KOLOMMEN + 1], const LevelRec &level, uint32_t grootte[3],
              RijEnKolomRec positie[3]);
// Why a level with these starts cannot be played in mode, in words that follow "cannot be played: ";
// null when it can.
const char *WaaromNietSpeelbaar(const ModeRec &mode, const uint32_t grootte[3], const RijEnKolomRec positie[3]);

// ---- a game's start ----------------------------------------------------------------------------------

// What a game starts from: the same record gives the same state on any machine.
struct SpelStartRec {
    LevelRec level;
    uint32_t levelNummer;  // the slot it was chosen from (0..4), for the player's eye only
    ModeRec mode;
    int32_t diff;   // 1 easy, 2 medium, 3 hard
    uint32_t zaad;  // the number the game's draws follow from
};

// Lays the start of game start in t, reporting its cells to uit as NieuwSpel does; FALSE (t's board laid,
// the rest untouched) when the level cannot be played in the mode, with reden (when not null) saying why.
bool BeginSpel(ToestandRec &t, const SpelStartRec &start, GebeurtenissenRec *uit, const char **reden = nullptr);

// ---- the state's hash --------------------------------------------------------------------------------

// A hash of everything the next step depends on, field by field, so that equal games give equal hashes on
// any machine.
uint64_t ToestandHash(const ToestandRec &t);

// ---- one step's input in a word ----------------------------------------------------------------------

// Bits 0..8 player 1, 9..17 player 2 (each: the number of typed turns 0..2, two turns of two bits, held
// or not, the held direction), bit 18: the game was paused right before this step.
const uint32_t PAUZE_BIT = 1u << 18;
uint32_t PakInvoer(const InvoerRec &invoer, bool pauze);
// FALSE for a word no step input packs to (a count of 3, bits above the pause bit); invoer then empty.
bool PakUit(uint32_t woord, InvoerRec &invoer, bool &pauze);

// The row of the mode table that mode is; MODE_COUNT for none.
GameModeEn ModeVan(const ModeRec &mode);

// ---- the recording and its file ------------------------------------------------------------------------

// Steps a recording holds at most: hours of play at the fastest pace.
const uint32_t MAX_OPNAME_STAPPEN = 1u << 19;
// A check of the state's hash after every this many steps tells where a replay that differs went wrong.
const uint32_t CONTROLE_STAPPEN = 500;
const uint32_t MAX_CONTROLES = MAX_OPNAME_STAPPEN / CONTROLE_STAPPEN;

enum EindeEn : uint8_t {
    EINDE_GECRASHT,  // a snake could not move: the game-over screen
    EINDE_VERLATEN,  // the players left it with Escape (or closed the window)
};

// One recorded game. About 2 MB: keep it in static storage, never on a stack.
struct OpnameRec {
    SpelStartRec start;
    uint32_t computerZaad;  // the computer's own seed (its turns are in the steps already)
    uint32_t stappen;
    EindeEn einde;
    int32_t punten[3];  // the points the game kept, players 1..2
    uint64_t hash;      // ToestandHash after the last step
    uint32_t controles;
    uint64_t controle[MAX_CONTROLES];  // controle[i]: the hash after step (i + 1) * CONTROLE_STAPPEN
    uint32_t invoer[MAX_OPNAME_STAPPEN];
    bool vol;  // more steps were played than it holds: not kept
};

// Starts recording game start into o.
void OpnameBegin(OpnameRec &o, const SpelStartRec &start, uint32_t computerZaad);
// Records a step taken with input invoer (after a pause when pauze), t being the state after it. No
// allocation, no file: a word and, every CONTROLE_STAPPEN steps, a hash.
void OpnameStap(OpnameRec &o, const InvoerRec &invoer, bool pauze, const ToestandRec &t);
// Closes the recording: how the game ended, its points and the final state's hash.
void OpnameEinde(OpnameRec &o, EindeEn einde, const int32_t punten[3], const ToestandRec &t);

// The recording as the text of a replay file; FALSE when it is not one a file can hold (its mode is no row
// of the mode table, or it was full).
bool SchrijfOpname(const OpnameRec &o, std::string &tekst);
// Reads the text of a replay file into o; FALSE with fout (capacity foutLengte) saying what is wrong.
bool LeesOpname(const char *tekst, size_t lengte, OpnameRec &o, char *fout, size_t foutLengte);

// ---- verifying -----------------------------------------------------------------------------------------

// Plays recording o through the step from its start (t: room for the state; kept at the end). TRUE when
// it ends as recorded with the recorded hash; otherwise FALSE with fout saying at which step it first
// differs, as far as the checks can tell.
bool ControleerOpname(const OpnameRec &o, ToestandRec &t, char *fout, size_t foutLengte);

}  // namespace SnakeProcedures
