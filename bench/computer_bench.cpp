// computer_bench: how well the computer plays and how long it thinks, on this machine.
//
// Whole games of StartGame, headless (no window, every wait instant), the computer asked by the game loop
// itself at every step, as in a game against a player. Each game has its own fixed seed for the game's
// random numbers and for the computer's, the same seeds in every row, so every figure reproduces. A game
// that has not ended after LONGEST_GAME steps (LONGEST_FILLING in the row that fills the arena) is left
// with Escape (a draw).
//
// Alone: the computer steers snake 1 of a one-player game (three knurf blocks). Prints knurf blocks eaten
// per game (mean, median, worst), the steps per game, capped games, and the share of the level's free
// cells its snake filled when it died. One row plays without poisonous or faster knurf blocks.
//
// Against a player: the mode snake against the computer (two snakes, four knurf blocks), the computer as
// player 2, moving second, against a scripted player 1 whose turns enter its waiting turns as a key's
// would: "greedy" (the shortest way to the nearest knurf block, any open cell when there is none),
// "walls" (keeps beside walls and snakes, into the roomiest side), or a copy of the computer at a given
// difficulty. Prints the computer's wins, losses and draws, its knurf blocks per game, the seconds a game
// lasted, how the computer died (its own wall or body, the other snake's body, head-on, a blue knurf
// block, boxed in: no open cell ahead at all), the faster knurf blocks each side ate per game and the
// pace at the end.
//
// Every row prints the step with the computer's decision (median, p99, worst, microseconds): the CPU time
// from the scripted player's turn to the next step's wait, i.e. the computer's decision with the knurf
// blocks' and the snakes' moves (without a window these draw nothing, and cost a microsecond or two).
//
//   cmake --build build --target computer_bench && nice -n 10 build/bench/computer_bench [games] [part]
//   part: all (the default), alone, greedy, walls, copies; then a level (0..4) plays only its rows
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/benchfolder.h"
#include "game/SnakeProcedures.h"
#include "wimdows/Wimdows.h"

using namespace SnakeProcedures;

namespace {

// ---- types ------------------------------------------------------------------------------------------------

enum Opponent { ALONE, GREEDY, WALLS, COPY };
enum Cause { OWN, OTHER_BODY, HEAD_ON, BLUE, BOXED, CAUSES };

// One game as the bench follows it from the waits and the steps.
struct Followed {
    bool inGame;
    bool stepped;      // a step's turns were made since the last wait
    double turnsMade;  // CPU time then (us)
    bool capped;
    int steps;
    double seconds;
    int freeCells;             // the level's cells without a wall
    RijEnKolomRec positie[3];  // the game's arrays at the last wait
    PijlEn richting[3];
    uint32_t grootte[3];
    const RijEnKolomRec *gamePositie;
    const PijlEn *gameRichting;
    const uint32_t *gameGrootte;
    int32_t delay, score[3];  // at the last step
    int faster[3];            // faster knurf blocks eaten per player
};

// ---- state -----------------------------------------------------------------------------------------------

const uint32_t COUNTDOWN_WAIT = 800, PAUSE_WAIT = 1000, GAME_OVER_WAIT = 4000;
const int LONGEST_GAME = 20000;      // steps
const int LONGEST_FILLING = 200000;  // steps: a snake filling the arena takes its time
const char *LEVEL_NAMES[5] = {"muur", "geenmuur", "smiley", "insane", "custom"};
const char *DIFF_NAMES[4] = {"", "easy", "medium", "hard"};
const int CELLS = (int)(RIJEN * KOLOMMEN);

int games = 100;
int out;  // the real standard output, for the figures
Opponent opponent;
int32_t copyDiff;
Followed game;
int longestGame;
std::vector<double> stepMicros;

// ---- internal ---------------------------------------------------------------------------------------------

// This thread's CPU time in microseconds: what the step cost, without the time other programs on this
// shared machine took the core.
double CpuMicros() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return (double)t.tv_sec * 1e6 + (double)t.tv_nsec / 1e3;
}

int CellOf(uint32_t rij, uint32_t kolom) { return (int)((rij - 1) * KOLOMMEN + (kolom - 1)); }
const BlokRec &At(int c) { return Veld[c / KOLOMMEN + 1][c % KOLOMMEN + 1]; }

// The cell a snake's head reaches from c in direction d, with the snakes' edge crossing.
int Next(int c, int d) {
    uint32_t r = (uint32_t)(c / KOLOMMEN + 1), k = (uint32_t)(c % KOLOMMEN + 1);
    DoorMuur((PijlEn)d, r, k);
    VeranderRijKolom(r, k, (PijlEn)d);
    return CellOf(r, k);
}

bool Food(int c) { return (At(c).bezet == BLOKJE || At(c).bezet == ALBEWOGEN_BLOKJE) && At(c).soortblokje != GIFTIG; }
bool Open(int c) { return At(c).bezet == ONBEZET || Food(c); }

PijlEn Reverse(PijlEn d) {
    static const PijlEn r[4] = {RECHTS, LINKS, ONDER, BOVEN};
    return r[d];
}

// Cells reachable from c over open cells (c itself not counted), up to `enough`.
int Room(int c, int enough) {
    static int queue[RIJEN * KOLOMMEN];
    std::vector<bool> seen(CELLS, false);
    seen[c] = true;
    int head = 0, tail = 0, found = 0;
    queue[tail++] = c;
    while (head < tail && found < enough) {
        int x = queue[head++];
        for (int d = 0; d < 4; d++) {
            int n = Next(x, d);
            if (!seen[n] && Open(n)) {
                seen[n] = true;
                queue[tail++] = n;
                found++;
            }
        }
    }
    return found;
}

// The greedy player: the first step of a shortest way to the nearest knurf block; without one, the first
// open cell of straight on, left, right.
PijlEn Greedy(int head, PijlEn now) {
    static int queue[RIJEN * KOLOMMEN], first[RIJEN * KOLOMMEN];
    std::vector<bool> seen(CELLS, false);
    seen[head] = true;
    int qh = 0, qt = 0;
    for (int d = 0; d < 4; d++) {
        int n = Next(head, d);
        if ((PijlEn)d == Reverse(now) || !Open(n) || seen[n]) continue;
        if (Food(n)) return (PijlEn)d;
        seen[n] = true;
        first[n] = d;
        queue[qt++] = n;
    }
    while (qh < qt) {
        int x = queue[qh++];
        for (int d = 0; d < 4; d++) {
            int n = Next(x, d);
            if (seen[n] || !Open(n)) continue;
            if (Food(n)) return (PijlEn)first[x];
            seen[n] = true;
            first[n] = first[x];
            queue[qt++] = n;
        }
    }
    return qt > 0 ? (PijlEn)first[queue[0]] : now;
}

// The wall follower: of the open cells ahead, one with room for its length if there is one, then the one
// with the most closed neighbours (a wall or a snake beside it), straight on in a tie.
PijlEn Walls(int head, PijlEn now, uint32_t length) {
    int best = -1, bestScore = -1;
    const int order[3] = {now, now < 2 ? 2 : 0, now < 2 ? 3 : 1};  // straight on, then the two turns
    for (int d : order) {
        int n = Next(head, d);
        if (!Open(n)) continue;
        int closed = 0;
        for (int e = 0; e < 4; e++) closed += Open(Next(n, e)) || Next(n, e) == head ? 0 : 1;
        int score = (Room(n, (int)length + 2) >= (int)length + 2 ? 10 : 0) + closed;
        if (score > bestScore) {
            best = d;
            bestScore = score;
        }
    }
    return best < 0 ? now : (PijlEn)best;
}

// Every step, before the computer chooses: the scripted player's turn, and what the bench follows.
void OnStep(const ToestandRec &t, InvoerRec &invoer) {
    const RijEnKolomRec *positie = t.positie;
    const PijlEn *richting = t.richting;
    const uint32_t *grootte = t.grootte;
    game.gamePositie = positie;
    game.gameRichting = richting;
    game.gameGrootte = grootte;
    // A faster pace since the last step: the player whose score rose ate a faster knurf block.
    if (game.steps > 0 && t.DelaySnake < game.delay)
        for (int p = 1; p <= 2; p++) game.faster[p] += Score[p] > game.score[p] ? 1 : 0;
    game.delay = t.DelaySnake;
    game.score[1] = Score[1];
    game.score[2] = Score[2];
    if (opponent != ALONE) {
        int head = CellOf(positie[1].rij, positie[1].kolom);
        PijlEn d;
        if (opponent == GREEDY) {
            d = Greedy(head, richting[1]);
        } else if (opponent == WALLS) {
            d = Walls(head, richting[1], grootte[1]);
        } else {
            static ToestandRec kopie;  // the same game, seen by a computer of another difficulty
            kopie = t;
            kopie.Diff = copyDiff;
            d = ComputerRichting(kopie, 1);
        }
        QueueTurn(t, invoer, 1, d, false);
    }
    game.stepped = true;
    game.turnsMade = CpuMicros();
}

void OnWait(uint32_t ms) {
    double now = CpuMicros();
    bool special = ms == COUNTDOWN_WAIT || ms == PAUSE_WAIT || ms == GAME_OVER_WAIT;
    if (!special && game.stepped) stepMicros.push_back(now - game.turnsMade);
    game.stepped = false;
    if (game.gamePositie) {
        std::memcpy(game.positie, game.gamePositie, sizeof game.positie);
        std::memcpy(game.richting, game.gameRichting, sizeof game.richting);
        std::memcpy(game.grootte, game.gameGrootte, sizeof game.grootte);
    }
    if (ms == COUNTDOWN_WAIT && !game.inGame) {
        game.inGame = true;
        for (int c = 0; c < CELLS; c++) game.freeCells += At(c).bezet != MUUR ? 1 : 0;
    } else if (ms == GAME_OVER_WAIT) {
        game.inGame = false;
    } else if (!special && game.inGame) {
        game.seconds += ms / 1000.0;
        if (++game.steps >= longestGame) {
            game.capped = true;
            Wimdows::SimulateKeyDown(Wimdows::KEY_ESCAPE);
        }
    }
}

// Why snake s could not move, read from the board at the game's end.
Cause CauseOfCrash(uint32_t s) {
    int head = CellOf(game.positie[s].rij, game.positie[s].kolom);
    int ahead = Next(head, game.richting[s]);
    uint32_t o = 3 - s;
    if (ahead == CellOf(game.positie[o].rij, game.positie[o].kolom)) return HEAD_ON;
    bool open = false;
    for (int d = 0; d < 4; d++) open = open || ((PijlEn)d != Reverse(game.richting[s]) && Open(Next(head, d)));
    if (!open) return BOXED;
    const BlokRec &cel = At(ahead);
    if (cel.bezet == BLOKJE || cel.bezet == ALBEWOGEN_BLOKJE) return BLUE;
    if (cel.bezet == SLANG) {
        for (uint32_t i = 0; i <= game.grootte[o]; i++) {
            const BlokRec &slot = Slang[o][i];
            if (slot.x1 == cel.x1 && slot.y1 == cel.y1) return OTHER_BODY;
        }
    }
    return OWN;
}

// The row's games; prints one line of figures.
void PlayRow(uint32_t level, int32_t diff, Opponent against, int32_t otherDiff, bool onlyOrdinary) {
    bool alone = against == ALONE;
    AantalSpelers = alone ? 1 : 2;
    BlokjeManueel = false;
    AantalBlokjesManueel = 0;
    AantalBlokjesAutomatisch = alone ? 3 : 4;
    ComputerSpeler = alone ? 1 : 2;
    Spel.alleenGewoneBlokjes = onlyOrdinary;
    Diff = diff;
    opponent = against;
    copyDiff = otherDiff;
    longestGame = onlyOrdinary ? LONGEST_FILLING : LONGEST_GAME;
    uint32_t computer = ComputerSpeler;
    stepMicros.clear();
    std::vector<double> knurfs;
    double steps = 0, seconds = 0, fill = 0, fasterMine = 0, fasterTheirs = 0, pace = 0;
    int capped = 0, won = 0, lost = 0, causes[CAUSES] = {};
    for (int g = 0; g < games; g++) {
        uint32_t seed = 1 + 1000 * level + (uint32_t)g;
        SpelZaad = seed;
        ComputerZaad = seed;
        game = Followed{};
        uint32_t choice = level;
        StartGame(choice);
        Wimdows::SimulateKeyUp(Wimdows::KEY_ESCAPE);
        knurfs.push_back((double)game.score[computer] / (diff * 100));
        steps += game.steps;
        seconds += game.seconds;
        capped += game.capped ? 1 : 0;
        fill += game.freeCells > 0 ? (double)(game.grootte[computer] + 1) / game.freeCells : 0;
        fasterMine += game.faster[computer];
        fasterTheirs += alone ? 0 : game.faster[1];
        pace += game.delay;
        if (game.capped || alone) continue;
        bool mine = GameEnd.crashed[computer], theirs = GameEnd.crashed[1];
        won += theirs && !mine ? 1 : 0;
        lost += mine && !theirs ? 1 : 0;
        if (mine) causes[CauseOfCrash(computer)]++;
    }
    double mean = 0;
    for (double k : knurfs) mean += k;
    mean /= (double)knurfs.size();
    double worst = *std::min_element(knurfs.begin(), knurfs.end());
    std::string timing;
    char buf[200];
    std::snprintf(buf, sizeof buf, "%6.1f %6.1f %6.0f", Percentile(stepMicros, 0.5), Percentile(stepMicros, 0.99),
                  stepMicros.empty() ? 0.0 : *std::max_element(stepMicros.begin(), stepMicros.end()));
    timing = buf;
    if (alone) {
        dprintf(out, "%u %-9s %-7s %-8s | %6.1f %6.1f %6.0f | %6.0f %6d %5.0f%% | %s\n", level, LEVEL_NAMES[level],
                DIFF_NAMES[diff], onlyOrdinary ? "no b/y" : "", mean, Percentile(knurfs, 0.5), worst, steps / games,
                capped, 100 * fill / games, timing.c_str());
    } else {
        std::string who = against == GREEDY ? "greedy" : against == WALLS ? "walls" : DIFF_NAMES[otherDiff];
        dprintf(out, "%u %-9s %-7s %-7s | %3d %3d %3d | %6.1f %6.0f | %3d %3d %3d %3d %3d | %4.1f %4.1f %4.0f | %s\n",
                level, LEVEL_NAMES[level], DIFF_NAMES[diff], who.c_str(), won, lost, games - won - lost, mean,
                seconds / games, causes[OWN], causes[OTHER_BODY], causes[HEAD_ON], causes[BLUE], causes[BOXED],
                fasterMine / games, fasterTheirs / games, pace / games, timing.c_str());
    }
}

bool Part(const char *wanted, const char *part) { return !std::strcmp(wanted, "all") || !std::strcmp(wanted, part); }

}  // namespace

int main(int argc, char **argv) {
    if (argc > 1) games = std::max(1, std::atoi(argv[1]));
    const char *part = argc > 2 ? argv[2] : "all";
    int onlyLevel = argc > 3 ? std::atoi(argv[3]) : -1;  // one level's rows against a player

    // A play folder of our own with fresh copies of the shipped save files; no pictures or sounds.
    std::filesystem::path play;
    out = StartInBenchFolder("computer-bench", false, play);
    if (out < 0) return 1;

    InitSnakeProcedures();
    Wimdows::SetWaitProc(OnWait);
    StapHaak = OnStep;

    if (Part(part, "alone")) {
        dprintf(out, "computer_bench: the computer alone in one-player games, %d games each, seeds fixed\n", games);
        dprintf(out, "%-28s | %-20s | %-20s | %s\n", "", "knurfs per game", "games", "step with decision (us)");
        dprintf(out, "%-11s %-7s %-8s | %6s %6s %6s | %6s %6s %6s | %6s %6s %6s\n", "level", "diff", "knurfs", "mean",
                "median", "worst", "steps", "capped", "filled", "median", "p99", "worst");
        for (uint32_t level = 0; level < 5; level++) PlayRow(level, 2, ALONE, 0, false);
        PlayRow(0, 1, ALONE, 0, false);
        PlayRow(0, 3, ALONE, 0, false);
        PlayRow(1, 3, ALONE, 0, false);
        PlayRow(0, 3, ALONE, 0, true);
    }
    const char *againstParts[3] = {"greedy", "walls", "copies"};
    for (int a = 0; a < 3; a++) {
        if (!Part(part, againstParts[a])) continue;
        dprintf(out, "\ncomputer_bench: snake against the computer, the computer player 2 against %s, %d games each\n",
                a == 2 ? "a copy of itself" : againstParts[a], games);
        dprintf(out, "%-19s %-7s | %-11s | %-13s | %-19s | %-14s | %s\n", "", "", "computer", "per game",
                "the computer died", "faster, pace", "step with decision (us)");
        dprintf(out, "%-11s %-7s %-7s | %3s %3s %3s | %6s %6s | %3s %3s %3s %3s %3s | %4s %4s %4s | %6s %6s %6s\n",
                "level", "diff", "against", "won", "lst", "drw", "knurfs", "secs", "own", "oth", "h-o", "blu", "box",
                "mine", "his", "ms", "median", "p99", "worst");
        for (uint32_t level = 0; level < 5; level++) {
            if (onlyLevel >= 0 && (int)level != onlyLevel) continue;
            if (a == 2) {
                PlayRow(level, 2, COPY, 1, false);
                PlayRow(level, 3, COPY, 2, false);
                continue;
            }
            for (int32_t diff = 1; diff <= 3; diff++) PlayRow(level, diff, a == 0 ? GREEDY : WALLS, 0, false);
        }
    }

    StapHaak = nullptr;
    Wimdows::SetWaitProc(nullptr);
    LeaveBenchFolder(play);
    return 0;
}
