// The game loop: one game from the chosen level to its end. Every step shows the previous picture, waits
// the pace, reads the keys typed and held into the step's input, asks the computer, steps the rules (which
// report what happened) and paints the report, until a snake crashes (game over) or the player leaves with
// Escape. The computer's snake is steered like a player's: its choice joins its player's typed turns.
#include <chrono>

#include "game/SnakeProcedures.h"
#include "music/Music.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- types ---------------------------------------------------------------------------------------------

// What one game holds besides its state (Spel); index 0 of the per-player arrays is unused.
struct SpelRec {
    BitmapsRec bitmaps;
    RijEnKolomRec positie[3];  // the start cells the level gives
    uint32_t grootte[3];
    PijlEn richting[3];
    BesturingRec besturing[3];
    SpelStartRec start;  // the level as read, the mode, difficulty and seed
};

// ---- state ---------------------------------------------------------------------------------------------

uint32_t ComputerZaad;
uint32_t SpelZaad;
GameEndRec GameEnd;
void (*StapHaak)(const ToestandRec &t, InvoerRec &invoer);

// P first: it wins when both were typed.
static const Wimdows::KeyCode STOPTOETSEN[2] = {Wimdows::KEY_P, Wimdows::KEY_ESCAPE};
static const uint32_t PAUZE_WACHTTIJD = 1000;
static const char *const PAUZE_TEKST = "Paused: press P to go on";

// What the last step reported (kept out of the stack: it has room for every cell of the board).
static GebeurtenissenRec Gebeurtenissen;
// The game in play as it is recorded (its start and every step's input).
static OpnameRec Opname;

// ---- internal --------------------------------------------------------------------------------------------

// The pause: nothing moves until a P is pressed anew (a held P repeating does not count), at the earliest
// a second after the pause began; a sign says so meanwhile and is gone when play goes on. The turns typed
// meanwhile are the first ones after it, so a player can get ready. FALSE when the game is to be left
// instead: Escape pressed anew (as in play), the window closed, or no key can come any more.
static bool Pauze(const BesturingRec besturing[3], InvoerRec &invoer) {
    Wimdows::FlushKeys();
    ShowSign(PAUZE_TEKST);
    Wimdows::Wait(PAUZE_WACHTTIJD);
    for (;;) {
        if (Wimdows::WindowClosed()) return false;
        uint32_t xKey = Wimdows::GetFreshKey();
        if (xKey == 0 || xKey == Wimdows::KEY_ESCAPE) return false;
        if (xKey == Wimdows::KEY_P) {
            Wimdows::RestoreArea();
            return true;
        }
        QueueTypedKey(Spel, invoer, besturing, xKey);
    }
}

// A seed for a new game: the fixed one, or one from the clock.
static uint32_t Zaad(uint32_t vast) {
    if (vast != 0) return vast;
    uint64_t t = (uint64_t)std::chrono::steady_clock::now().time_since_epoch().count();
    uint32_t z = (uint32_t)(t ^ (t >> 32));
    return z != 0 ? z : 1;
}

// The loop of one game, from its set-up to its end.
static void Snake(SpelRec &spel) {
    ToestandRec &t = Spel;
    uint32_t slangen = AantalSlangen();
    // The computer steers a snake in play, or nothing.
    uint32_t computer = ComputerSpeler <= slangen ? ComputerSpeler : 0;

    LeesBesturing(spel.besturing);
    // No key, held or typed, steers the computer's snake: its player has none.
    if (computer != 0) spel.besturing[computer] = BesturingRec{};
    if (NetwerkSessie) NetwerkBesturing(spel.besturing);
    // A pad's B button must not leave a game by accident; Back does that, as Escape does.
    Wimdows::PadBIsEscape(false);
    Wimdows::DrawBitmap(spel.bitmaps.hud, 0, Layout::PANEL_Y);
    // The game draws from a generator of its own, seeded anew for every game and recorded with it.
    Gebeurtenissen.aantal = 0;
    spel.start.mode = ModeNu();
    spel.start.diff = Diff;
    spel.start.zaad = Zaad(SpelZaad);
    BeginSpel(t, spel.start, &Gebeurtenissen);
    TekenGebeurtenissen(t, Gebeurtenissen, spel.bitmaps);
    uint32_t computerZaad = Zaad(ComputerZaad);
    if (computer != 0) ComputerNieuwSpel(computerZaad);
    OpnameBegin(Opname, spel.start, computerZaad);
    // The countdown runs over the board as it starts, so the players see where they head; then the music.
    // Escape or a window closed meanwhile ends the game at the first look at the keys, before any step.
    bool eersteStap = Countdown(spel.bitmaps);
    if (eersteStap) Music::PlaySound(Songs.game, true);
    // Only presses made during the game count as turns.
    Wimdows::FlushKeys();

    InvoerRec invoer{};
    bool gepauzeerd = false;  // the game was paused before this step (the replay shows it)
    bool gecrasht = false;
    uint32_t getypt = eersteStap ? 0 : 2;  // P (bit 0) or Escape (bit 1) typed during the last wait
    for (;;) {
        if (!eersteStap) {
            // A P or Escape tapped during the last wait counts as one held now, so a quick tap is not lost.
            // Over the network both go to the other machine first (NetwerkStap).
            bool hier = NetwerkSessie == nullptr;
            if (hier && (Wimdows::KeyDown(Wimdows::KEY_P) || (getypt & 1u) || !Wimdows::HasFocus())) {
                gepauzeerd = true;
                if (!Pauze(spel.besturing, invoer)) break;
            } else if (hier && (Wimdows::KeyDown(Wimdows::KEY_ESCAPE) || (getypt & 2u) || Wimdows::WindowClosed())) {
                break;
            }
            Wimdows::UpdateWindow();
        }
        eersteStap = false;

        Wimdows::Wait((uint32_t)(t.DelaySnake > 0 ? t.DelaySnake : 0));
        // The presses of the wait are read right before the moves, so a key tapped during the wait turns
        // the snake in this step, as a key held through it does. (Presses after a pause's P are read here
        // too: they are the first turns after it.)
        getypt = QueueTypedKeys(t, invoer, spel.besturing, STOPTOETSEN, 2);
        HeldKeys(t, invoer, spel.besturing);
        if (StapHaak) StapHaak(t, invoer);
        // Over the network the step waits for the other machine's input and takes both.
        if (NetwerkSessie && !NetwerkStap(t, invoer, getypt, gepauzeerd)) break;
        // The computer chooses from the board the players see now, before anything of the step moves.
        if (computer != 0) QueueTurn(t, invoer, computer, ComputerRichting(t, computer), false);

        GameEndRec einde;
        Gebeurtenissen.aantal = 0;
        bool verder = Stap(t, invoer, einde, &Gebeurtenissen);
        OpnameStap(Opname, invoer, gepauzeerd, t);
        gepauzeerd = false;
        invoer = InvoerRec{};
        TekenGebeurtenissen(t, Gebeurtenissen, spel.bitmaps);
        if (!verder) {
            int32_t punten[3];
            EindPunten(t, einde, punten);
            GameEnd = einde;
            OpnameEinde(Opname, EINDE_GECRASHT, punten, t);
            BewaarLaatsteBeeld("game");
            BewaarOpname(Opname);
            GameOver(einde, punten);
            gecrasht = true;
            break;
        }
    }
    if (!gecrasht) {
        OpnameEinde(Opname, EINDE_VERLATEN, t.Score, t);
        BewaarOpname(Opname);
    }
    for (uint32_t p = 1; p <= MAX_SPELERS; p++) t.Score[p] = 0;
    Wimdows::PadBIsEscape(true);
}

// ---- exported ----------------------------------------------------------------------------------------------

void StartGame(uint32_t &levelchoice) {
    SpelRec spel{};

    // The level is read before anything is shown, so a level that cannot be played in the chosen mode
    // returns after the screen that says why, without a countdown or music; the walls of a playable one are
    // drawn once the pictures are loaded, and the game's set-up counts down over them.
    const BitmapsRec geenPlaatjes{};
    if (!LoadLevel(spel.grootte, spel.richting, spel.positie, geenPlaatjes, levelchoice, &spel.start.level)) {
        LevelRefused(levelchoice);
        return;
    }

    Wimdows::ClearScreen();
    LoadBitmaps(spel.bitmaps);
    if (Wimdows::WindowClosed()) return;
    TekenMuren(spel.bitmaps);
    spel.start.levelNummer = levelchoice;

    Snake(spel);
    Music::StopSound(Songs.game);
}

}  // namespace SnakeProcedures
