// The game loop: one game from the chosen level to its end. The set-up lays out the snakes and the first
// knurf blocks; every step then shows the previous picture, waits the pace, moves the knurf blocks and
// each snake once, until a snake crashes (game over) or the player leaves with Escape. The computer's
// snake is steered like a player's: its choice joins its player's waiting turns with the typed keys.
#include <chrono>

#include "game/SnakeProcedures.h"
#include "music/Music.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- types ---------------------------------------------------------------------------------------------

// What one game holds for its duration; index 0 of the per-player arrays is unused.
struct SpelRec {
    BitmapsRec bitmaps;
    RijEnKolomRec positie[3];  // head of snake p, or the hand-steered block's cell
    uint32_t grootte[3];
    PijlEn richting[3];
    BesturingRec besturing[3];
};

// ---- state ---------------------------------------------------------------------------------------------

uint32_t ComputerZaad;

// P first: it wins when both were typed.
static const Wimdows::KeyCode STOPTOETSEN[2] = {Wimdows::KEY_P, Wimdows::KEY_ESCAPE};
static const uint32_t PAUZE_WACHTTIJD = 1000;
static const char *const PAUZE_TEKST = "Paused: press P to go on";

// ---- internal --------------------------------------------------------------------------------------------

static int32_t WachttijdVoorMoeilijkheid()
{
    switch (Diff) {
    case 1:
        return 210;
    case 3:
        return 80;
    default:
        return 150;
    }
}

// The pause: nothing moves until a P is pressed anew (a held P repeating does not count), at the earliest
// a second after the pause began; a sign says so meanwhile and is gone when play goes on. The turns typed
// meanwhile are the first ones after it, so a player can get ready. FALSE when the game is to be left
// instead: Escape pressed anew (as in play), the window closed, or no key can come any more.
static bool Pauze(const BesturingRec besturing[3], const PijlEn richting[3])
{
    Wimdows::FlushKeys();
    ShowSign(PAUZE_TEKST);
    Wimdows::Wait(PAUZE_WACHTTIJD);
    for (;;) {
        if (Wimdows::WindowClosed())
            return false;
        uint32_t xKey = Wimdows::GetFreshKey();
        if (xKey == 0 || xKey == Wimdows::KEY_ESCAPE)
            return false;
        if (xKey == Wimdows::KEY_P) {
            Wimdows::RestoreArea();
            return true;
        }
        QueueTypedKey(besturing, richting, xKey);
    }
}

// The computer's seed for a new game: the fixed one, or one from the clock (never the game's own random
// numbers, whose sequence it would shift).
static uint32_t ZaadVoorComputer()
{
    if (ComputerZaad != 0)
        return ComputerZaad;
    uint64_t t = (uint64_t)std::chrono::steady_clock::now().time_since_epoch().count();
    return (uint32_t)(t ^ (t >> 32));
}

// Whether a hand-steered knurf block stands right beside snake 1's head (no wrapping across the edge).
static bool BlokjeNaastKop(const RijEnKolomRec &kop)
{
    uint32_t r = kop.rij, k = kop.kolom;
    if (r < 1 || r > RIJEN || k < 1 || k > KOLOMMEN)
        return false;
    // Above, below, left, right; a neighbour off the board does not count.
    return (r > 1 && Veld[r - 1][k].bezet == MANUEEL_BLOKJE) || (r < RIJEN && Veld[r + 1][k].bezet == MANUEEL_BLOKJE) ||
           (k > 1 && Veld[r][k - 1].bezet == MANUEEL_BLOKJE) ||
           (k < KOLOMMEN && Veld[r][k + 1].bezet == MANUEEL_BLOKJE);
}

// The loop of one game, from its set-up to its end.
static void Snake(SpelRec &spel)
{
    uint32_t spelers = AantalSpelers > 2 ? 2 : AantalSpelers;
    uint32_t slangen = AantalSlangen();
    // The computer steers a snake in play, or nothing.
    uint32_t computer = ComputerSpeler <= slangen ? ComputerSpeler : 0;

    LeesBesturing(spel.besturing);
    // No key, held or typed, steers the computer's snake: its player has none.
    if (computer != 0)
        spel.besturing[computer] = BesturingRec{};
    // A pad's B button must not leave a game by accident; Back does that, as Escape does.
    Wimdows::PadBIsEscape(false);
    Wimdows::DrawBitmap(spel.bitmaps.hud, 0, Layout::PANEL_Y);
    if (slangen >= 1)
        TekenBeginSlangen(spel.positie, spel.grootte, spel.richting, spel.bitmaps);
    for (uint32_t p = 1; p <= spelers; p++)
        spel.positie[p].kolom += spel.grootte[p];
    // The hand-steered block stands on its start cell from the first picture on, so no knurf block is
    // placed under it and no snake runs over it unseen before its first move. (A start cell that a snake
    // was laid on stays the snake's; the block then shows from its first move.)
    for (uint32_t p = slangen + 1; p <= spelers && BlokjeManueel; p++) {
        BlokRec &cel = Veld[spel.positie[p].rij][spel.positie[p].kolom];
        if (cel.bezet != ONBEZET)
            continue;
        cel.bezet = MANUEEL_BLOKJE;
        cel.soortblokje = NORMAAL;
        Wimdows::DrawBitmap(spel.bitmaps.blokjes[3], (int32_t)cel.x1, (int32_t)cel.y1);
    }
    SpelerAanDeBeurt = 1;
    TekenNieuwBlokje(true, spel.bitmaps);
    uint32_t teller = 0;
    uint32_t afgelopen = 0;  // the last snake of the step that could not move
    bool gecrasht[3] = {false, false, false};
    DelaySnake = WachttijdVoorMoeilijkheid();
    if (computer != 0)
        ComputerNieuwSpel(ZaadVoorComputer());
    // Only presses made during the game count as turns.
    Wimdows::FlushKeys();
    ClearTurns(spel.richting);

    bool eersteStap = true;
    uint32_t getypt = 0;  // P (bit 0) or Escape (bit 1) typed during the last wait
    for (;;) {
        if (!eersteStap) {
            // A P or Escape tapped during the last wait counts as one held now, so a quick tap is not lost.
            if (Wimdows::KeyDown(Wimdows::KEY_P) || (getypt & 1u) || !Wimdows::HasFocus()) {
                if (!Pauze(spel.besturing, spel.richting))
                    break;
            } else if (Wimdows::KeyDown(Wimdows::KEY_ESCAPE) || (getypt & 2u) || Wimdows::WindowClosed()) {
                break;
            }
            teller++;
            Wimdows::UpdateWindow();
        }
        eersteStap = false;

        Wimdows::Wait((uint32_t)(DelaySnake > 0 ? DelaySnake : 0));
        // The presses of the wait are read right before the moves, so a key tapped during the wait turns
        // the snake in this step, as a key held through it does. (Presses after a pause's P are read here
        // too: they are the first turns after it.)
        getypt = QueueTypedKeys(spel.besturing, spel.richting, STOPTOETSEN, 2);
        // The computer chooses from the board the players see now, before anything of the step moves.
        if (computer != 0)
            QueueTurn(computer, ComputerRichting(computer, spel.positie, spel.richting, spel.grootte, Diff), false);

        if (BlokjeManueel) {
            for (uint32_t p = slangen + 1; p <= spelers; p++) {
                SpelerAanDeBeurt = p;
                BeweegBlokje(teller, spel.positie[p].rij, spel.positie[p].kolom, spel.besturing[p], spel.richting[p],
                             spel.bitmaps.blokjes);
                SpelerAanDeBeurt = 1;
            }
        } else {
            BeweegBlokje(teller, spel.positie[2].rij, spel.positie[2].kolom, spel.besturing[1], spel.richting[2],
                         spel.bitmaps.blokjes);
        }

        for (uint32_t s = 1; s <= slangen; s++) {
            SpelerAanDeBeurt = s;
            if (!TekenSlang(spel.positie[s].rij, spel.positie[s].kolom, spel.richting[s], Slang[s], spel.grootte[s],
                            spel.besturing[s], spel.bitmaps)) {
                afgelopen = s;
                gecrasht[s] = true;
            }
            SpelerAanDeBeurt = 2;
        }
        SpelerAanDeBeurt = 1;

        if (afgelopen != 0) {
            // The hand-steered block beside the snake's head has caught it, wherever the snake crashed.
            bool gevangen = BlokjeNaastKop(spel.positie[1]);
            SpelerAanDeBeurt = gevangen ? 2 : afgelopen;
            GameEnd = GameEndRec{{false, gecrasht[1], gecrasht[2]}, gevangen};
            GameOver();
            break;
        }
    }
    for (uint32_t p = 1; p <= spelers; p++)
        Score[p] = 0;
    Wimdows::PadBIsEscape(true);
}

// ---- exported ----------------------------------------------------------------------------------------------

void StartGame(uint32_t &levelchoice)
{
    SpelRec spel{};

    // The level is read before anything is shown, so a level that cannot be played in the chosen mode
    // returns after the screen that says why, without a countdown or music; the walls of a playable one are
    // drawn once the pictures are loaded.
    const BitmapsRec geenPlaatjes{};
    if (!LoadLevel(spel.grootte, spel.richting, spel.positie, geenPlaatjes, levelchoice)) {
        LevelRefused(levelchoice);
        return;
    }

    Wimdows::ClearScreen();
    LoadBitmaps(spel.bitmaps);
    if (Wimdows::WindowClosed())
        return;
    TekenMuren(spel.bitmaps);

    Music::PlaySound(Songs.game, true);
    Snake(spel);
    Music::StopSound(Songs.game);
}

}  // namespace SnakeProcedures
