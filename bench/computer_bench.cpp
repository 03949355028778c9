// computer_bench: how well the computer plays and how long it thinks, on this machine.
//
// The computer plays one-player games alone: it steers snake 1 (ComputerSpeler 1) through whole games of
// StartGame, headless (no window, every wait instant), asked by the game loop itself at every step as in
// a game against a player. Each game has its own fixed seed for the game's random numbers and for the
// computer's, the same seeds for every difficulty. A game that has not ended after LONGEST_GAME steps is
// left with Escape. The bench only follows the game from its waits.
//
// Prints per level and difficulty: knurf blocks eaten per game (mean, median, worst), the mean steps per
// game, how many games hit the cap and how many ended with no ordinary knurf block left on the board, and
// the time of one decision (median, 99th percentile, microseconds). That time is a step's whole work,
// from the end of one step's wait to the start of the next: the computer's decision with the knurf
// blocks' and the snake's moves (without a window these draw nothing, and cost a microsecond or two).
//
//   cmake --build build --target computer_bench && build/bench/computer_bench
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "bench/benchfolder.h"
#include "game/SnakeProcedures.h"
#include "support/StandardLib.h"
#include "wimdows/Wimdows.h"

using namespace SnakeProcedures;
using Clock = std::chrono::steady_clock;

namespace {

// ---- state -----------------------------------------------------------------------------------------------

const uint32_t COUNTDOWN_WAIT = 800, PAUSE_WAIT = 1000, GAME_OVER_WAIT = 4000;
const int GAMES = 100;
const int LONGEST_GAME = 20000;  // steps
const char *LEVEL_NAMES[5] = {"muur", "geenmuur", "smiley", "insane", "custom"};

// One game as the bench follows it from the waits.
struct Followed {
    bool inGame;
    bool stepBefore;  // the last wait was a step's: the time since it returned is one step's work
    Clock::time_point stepEnd;
    bool capped;
    int32_t score;  // Score[1] at the last wait
    int steps;
    bool starved;  // no ordinary knurf block left on the board at the end
};
Followed game;
std::vector<double> stepMicros;

// ---- internal ---------------------------------------------------------------------------------------------

bool NoFoodLeft()
{
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++)
            if (Veld[r][k].bezet == BLOKJE && Veld[r][k].soortblokje == NORMAAL)
                return false;
    return true;
}

void OnWait(uint32_t ms)
{
    Clock::time_point now = Clock::now();
    bool step = game.inGame && ms != COUNTDOWN_WAIT && ms != PAUSE_WAIT && ms != GAME_OVER_WAIT;
    // Only the work between two step waits is one step's: the first follows the set-up, the last one
    // holds the game over's saving.
    if (step && game.stepBefore)
        stepMicros.push_back(std::chrono::duration<double, std::micro>(now - game.stepEnd).count());
    game.stepBefore = step;
    if (ms == COUNTDOWN_WAIT) {
        game.inGame = true;
    } else if (ms == GAME_OVER_WAIT && game.inGame) {
        game.inGame = false;
        game.score = Score[1];
        game.starved = NoFoodLeft();
    } else if (step) {
        game.score = Score[1];
        if (++game.steps >= LONGEST_GAME) {
            game.capped = true;
            game.starved = NoFoodLeft();
            Wimdows::SimulateKeyDown(Wimdows::KEY_ESCAPE);
        }
    }
    game.stepEnd = Clock::now();
}

// 100 games of one level and difficulty; prints one line of figures.
void PlayLevel(int out, uint32_t level, int32_t diff)
{
    AantalSpelers = 1;
    BlokjeManueel = false;
    AantalBlokjesManueel = 0;
    AantalBlokjesAutomatisch = 3;
    ComputerSpeler = 1;
    Diff = diff;
    stepMicros.clear();
    std::vector<double> knurfs;
    double steps = 0;
    int capped = 0, starved = 0;
    for (int g = 0; g < GAMES; g++) {
        uint32_t seed = 1 + 1000 * level + (uint32_t)g;
        StandardLib::SeedRandom(seed);
        ComputerZaad = seed;
        game = Followed{};
        uint32_t choice = level;
        StartGame(choice);
        Wimdows::SimulateKeyUp(Wimdows::KEY_ESCAPE);
        knurfs.push_back((double)game.score / (diff * 100));
        steps += game.steps;
        capped += game.capped ? 1 : 0;
        starved += game.starved ? 1 : 0;
    }
    double mean = 0;
    for (double k : knurfs)
        mean += k;
    mean /= (double)knurfs.size();
    const char *diffNames[4] = {"", "easy", "medium", "hard"};
    dprintf(out, "%u %-9s %-7s | %6.1f %6.1f %6.0f | %7.0f %7d %7d | %8.1f %8.1f\n", level, LEVEL_NAMES[level],
            diffNames[diff], mean, Percentile(knurfs, 0.5), *std::min_element(knurfs.begin(), knurfs.end()),
            steps / GAMES, capped, starved, Percentile(stepMicros, 0.5), Percentile(stepMicros, 0.99));
}

}  // namespace

int main()
{
    // A play folder of our own with fresh copies of the shipped save files; no pictures or sounds.
    std::filesystem::path play;
    int out = StartInBenchFolder("computer-bench", false, play);
    if (out < 0)
        return 1;

    InitSnakeProcedures();
    Wimdows::SetWaitProc(OnWait);

    dprintf(out, "computer_bench: the computer alone in one-player games, %d games each, seeds fixed\n", GAMES);
    dprintf(out, "%-19s | %-20s | %-23s | %s\n", "", "knurfs per game", "games", "step with decision (us)");
    dprintf(out, "%-11s %-7s | %6s %6s %6s | %7s %7s %7s | %8s %8s\n", "level", "diff", "mean", "median", "worst",
            "steps", "capped", "no food", "median", "p99");
    for (uint32_t level = 0; level < 5; level++)
        PlayLevel(out, level, 2);
    PlayLevel(out, 0, 1);
    PlayLevel(out, 0, 3);

    Wimdows::SetWaitProc(nullptr);
    LeaveBenchFolder(play);
    return 0;
}
