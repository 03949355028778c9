// computer_bench: how well the computer plays and how long it thinks, on this machine.
//
// The computer plays one-player games alone: it steers snake 1 through whole games of StartGame, headless
// (no window, every wait instant). At each step's wait, before the step's knurf blocks and snake move, it
// is asked for a direction, which goes into player 1's waiting turns as a key press would. Each game has
// its own fixed seed for the game's random numbers, the same seeds for every difficulty. A game that has
// not ended after LONGEST_GAME steps is left with Escape.
//
// Prints per level and difficulty: knurf blocks eaten per game (mean, median, worst), the mean steps per
// game, how many games hit the cap and how many ended with no ordinary knurf block left on the board, and
// the time of one decision (median, 99th percentile, microseconds).
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

// The game loop's own record of snake 1, followed from outside: the head, the direction, the length.
struct Tracked {
    bool inGame, firstStep, capped;
    RijEnKolomRec positie[3];
    PijlEn richting[3];
    uint32_t grootte[3];
    int32_t score;  // Score[1] at the last wait
    int steps;
    bool starved;   // no ordinary knurf block left on the board at the end
    int lost;       // steps at which the followed head did not match the board
};
Tracked game;
std::vector<double> decisionMicros;

// ---- internal ---------------------------------------------------------------------------------------------

bool NoFoodLeft()
{
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++)
            if (Veld[r][k].bezet == BLOKJE && Veld[r][k].soortblokje == NORMAAL)
                return false;
    return true;
}

bool SameCell(const BlokRec &a, const BlokRec &b) { return a.x1 == b.x1 && a.y1 == b.y1; }

// Snake 1 as the game start lays it: slots 1..g in a row, slot g + 1 a copy of the head.
bool FindStart()
{
    for (uint32_t g = 1; g + 1 < SLANGSLOTS; g++) {
        const BlokRec &a = Slang[1][g];
        if (SameCell(a, Slang[1][g + 1]) && a.x1 < 800 && a.y1 < 600) {
            game.positie[1] = RijEnKolomRec{a.y1 / 20 + 1, a.x1 / 20 + 1};
            game.grootte[1] = g;
            game.richting[1] = RECHTS;
            return true;
        }
    }
    return false;
}

// The step just made: the head went one cell in the direction taken, and grew when the score rose.
void FollowStep()
{
    DoorMuur(game.richting[1], game.positie[1].rij, game.positie[1].kolom);
    VeranderRijKolom(game.positie[1].rij, game.positie[1].kolom, game.richting[1]);
    if (Score[1] > game.score)
        game.grootte[1]++;
    const BlokRec &head = Veld[game.positie[1].rij][game.positie[1].kolom];
    if (head.bezet != SLANG || !SameCell(head, Slang[1][game.grootte[1]]))
        game.lost++;
}

void OnStep()
{
    if (game.firstStep) {
        game.firstStep = false;
        if (!FindStart())
            game.lost++;
    } else {
        FollowStep();
    }
    game.score = Score[1];
    Clock::time_point t0 = Clock::now();
    PijlEn d = ComputerRichting(1, game.positie, game.richting, game.grootte, Diff);
    decisionMicros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    QueueTurn(1, d, false);
    game.richting[1] = d;
    if (++game.steps >= LONGEST_GAME) {
        game.capped = true;
        game.starved = NoFoodLeft();
        Wimdows::SimulateKeyDown(Wimdows::KEY_ESCAPE);
    }
}

void OnWait(uint32_t ms)
{
    if (ms == COUNTDOWN_WAIT) {
        game.inGame = true;
        game.firstStep = true;
        return;
    }
    if (!game.inGame || ms == PAUSE_WAIT)
        return;
    if (ms == GAME_OVER_WAIT) {
        game.inGame = false;
        game.score = Score[1];
        game.starved = NoFoodLeft();
        return;
    }
    OnStep();
}

double Percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    size_t i = (size_t)(p * (double)(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

// 100 games of one level and difficulty; prints one line of figures.
void PlayLevel(int out, uint32_t level, int32_t diff)
{
    AantalSpelers = 1;
    BlokjeManueel = false;
    AantalBlokjesManueel = 0;
    AantalBlokjesAutomatisch = 3;
    Diff = diff;
    decisionMicros.clear();
    std::vector<double> knurfs;
    double steps = 0;
    int capped = 0, starved = 0, lost = 0;
    for (int g = 0; g < GAMES; g++) {
        uint32_t seed = 1 + 1000 * level + (uint32_t)g;
        StandardLib::SeedRandom(seed);
        ComputerNieuwSpel(seed);
        game = Tracked{};
        uint32_t choice = level;
        StartGame(choice);
        Wimdows::SimulateKeyUp(Wimdows::KEY_ESCAPE);
        knurfs.push_back((double)game.score / (diff * 100));
        steps += game.steps;
        capped += game.capped ? 1 : 0;
        starved += game.starved ? 1 : 0;
        lost += game.lost;
    }
    double mean = 0;
    for (double k : knurfs)
        mean += k;
    mean /= (double)knurfs.size();
    const char *diffNames[4] = {"", "easy", "medium", "hard"};
    dprintf(out, "%u %-9s %-7s | %6.1f %6.1f %6.0f | %7.0f %7d %7d | %8.1f %8.1f%s\n", level, LEVEL_NAMES[level],
            diffNames[diff], mean, Percentile(knurfs, 0.5), *std::min_element(knurfs.begin(), knurfs.end()),
            steps / GAMES, capped, starved, Percentile(decisionMicros, 0.5), Percentile(decisionMicros, 0.99),
            lost ? "  (lost track of the snake)" : "");
}

}  // namespace

int main()
{
    // A play folder of our own with fresh copies of the shipped save files; no pictures or sounds.
    namespace fs = std::filesystem;
    char pattern[] = "/tmp/kwibbel-computer-bench-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        return 1;
    }
    fs::path play = pattern;
    fs::path data = KWIBBEL_DATA_DIR;
    fs::create_directory(play / "bitmap");
    fs::create_directory(play / "audio");
    fs::copy(data / "savefiles", play / "savefiles");
    fs::current_path(play);

    // The game's console lines go nowhere; the figures go to the real standard output.
    int out = dup(1);
    int devnull = open("/dev/null", O_WRONLY);
    dup2(devnull, 1);

    InitSnakeProcedures();
    Wimdows::SetWaitProc(OnWait);

    dprintf(out, "computer_bench: the computer alone in one-player games, %d games each, seeds fixed\n", GAMES);
    dprintf(out, "%-19s | %-20s | %-23s | %s\n", "", "knurfs per game", "games", "decision (us)");
    dprintf(out, "%-11s %-7s | %6s %6s %6s | %7s %7s %7s | %8s %8s\n", "level", "diff", "mean", "median", "worst",
            "steps", "capped", "no food", "median", "p99");
    for (uint32_t level = 0; level < 5; level++)
        PlayLevel(out, level, 2);
    PlayLevel(out, 0, 1);
    PlayLevel(out, 0, 3);

    Wimdows::SetWaitProc(nullptr);
    fs::current_path("/");
    std::error_code ec;
    fs::remove_all(play, ec);
    return 0;
}
