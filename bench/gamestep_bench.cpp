// gamestep_bench: what one game step costs and what many games cost in memory, on this machine.
//
// Plays games in every mode at every difficulty, in one process, with the window open under SDL's dummy
// video driver (drawing goes into the back buffer as in the real game) and the dummy audio driver. Every
// wait is made instant; a small autopilot steers the snakes from inside the wait, so its thinking is not
// counted. A step's work is the time from the end of one step's wait to the start of the next one: the
// knurf blocks, the snakes, the crash test, the key checks, the typed keys and showing the picture.
//
// Prints, per mode and difficulty, the steps measured and the median and 99th percentile of a step's
// work, then the resident memory before the first game and after 100 games.
//
//   cmake --build build --target gamestep_bench && build/bench/gamestep_bench
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench/benchfolder.h"
#include "game/SnakeProcedures.h"
#include "music/Music.h"
#include "support/StandardLib.h"
#include "tests/support/gamemode.h"
#include "wimdows/Wimdows.h"

using namespace SnakeProcedures;
using Clock = std::chrono::steady_clock;

namespace {

// ---- types -----------------------------------------------------------------------------------------------

using GameMode::Mode;

struct Bot {
    bool active;
    uint32_t rij, kolom;
    PijlEn richting;
};

// ---- state -----------------------------------------------------------------------------------------------

const uint32_t COUNTDOWN_WAIT = 800, PAUSE_WAIT = 1000, GAME_OVER_WAIT = 4000;
const int GAMES_PER_CONFIGURATION = 12;
const int MEMORY_GAMES = 100;
const int LONGEST_GAME = 4000;  // steps; a game that lasts longer is left with Escape

const BesturingRec KEYS[3] = {{0, 0, 0, 0}, {39, 37, 38, 40}, {68, 65, 87, 83}};

bool inGame = false;            // between a game's countdown and its end
bool firstStepWait = false;     // the next step wait is the game's first
Clock::time_point lastStepEnd;  // when the previous step's wait returned
bool haveLastStep = false;
int stepsThisGame = 0;
std::vector<double> stepMicros;
Bot bots[3];
uint32_t knurfKeyTimer = 0;
std::atomic<bool> wantKeyForTable{false};
long firstStepKiB = 0;  // resident memory at the first game's first step

// ---- internal ---------------------------------------------------------------------------------------------

// The resident memory of this process in KiB, -1 when it cannot be read.
long ResidentKiB() {
    std::FILE *f = std::fopen("/proc/self/status", "r");
    if (!f) return -1;
    char line[256];
    long kib = -1;
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, "VmRSS:", 6) == 0) kib = std::strtol(line + 6, nullptr, 10);
    std::fclose(f);
    return kib;
}

// ---- internal: the autopilot ------------------------------------------------------------------------------

PijlEn Opposite(PijlEn d) {
    static const PijlEn opposite[4] = {RECHTS, LINKS, ONDER, BOVEN};
    return opposite[d];
}

void MoveSnakeWay(uint32_t &r, uint32_t &k, PijlEn d) {
    DoorMuur(d, r, k);
    VeranderRijKolom(r, k, d);
}

bool SafeCell(uint32_t r, uint32_t k) {
    const BlokRec &c = Veld[r][k];
    if (c.bezet == ONBEZET) return true;
    return c.bezet == BLOKJE && c.soortblokje != GIFTIG;
}

// How many safe cells can be reached from (r, k), up to cap.
int Room(uint32_t r0, uint32_t k0, int cap) {
    static uint32_t seen[RIJEN + 1][KOLOMMEN + 1];
    static uint32_t mark = 0;
    mark++;
    std::vector<std::pair<uint32_t, uint32_t>> todo{{r0, k0}};
    seen[r0][k0] = mark;
    int n = 0;
    while (!todo.empty() && n < cap) {
        auto [r, k] = todo.back();
        todo.pop_back();
        n++;
        for (int d = 0; d < 4; d++) {
            uint32_t rr = r, kk = k;
            MoveSnakeWay(rr, kk, (PijlEn)d);
            if (seen[rr][kk] != mark && SafeCell(rr, kk)) {
                seen[rr][kk] = mark;
                todo.push_back({rr, kk});
            }
        }
    }
    return n;
}

int DistanceToFood(uint32_t r, uint32_t k) {
    int best = 1000;
    for (uint32_t rr = 1; rr <= RIJEN; rr++)
        for (uint32_t kk = 1; kk <= KOLOMMEN; kk++)
            if (Veld[rr][kk].bezet == BLOKJE && Veld[rr][kk].soortblokje != GIFTIG)
                best = std::min(best, std::abs((int)rr - (int)r) + std::abs((int)kk - (int)k));
    return best;
}

// The head of snake s as the game start laid it: slots 1..g in a row, slot g + 1 a copy of the head.
bool FindStartHead(uint32_t s, Bot &bot) {
    for (uint32_t g = 1; g + 1 < SLANGSLOTS && g < 45; g++) {
        const BlokRec &a = Slang[s][g], &b = Slang[s][g + 1];
        if (a.x1 == b.x1 && a.y1 == b.y1 && a.x1 < 800 && a.y1 < 600) {
            bot = Bot{true, a.y1 / 20 + 1, a.x1 / 20 + 1, RECHTS};
            return true;
        }
    }
    return false;
}

// Chooses and holds the key of snake s's next direction: room to live first, then the nearest food.
void Steer(uint32_t s) {
    Bot &bot = bots[s];
    int bestScore = -1;
    PijlEn best = bot.richting;
    for (int d = 0; d < 4; d++) {
        PijlEn dir = (PijlEn)d;
        if (dir == Opposite(bot.richting)) continue;
        uint32_t r = bot.rij, k = bot.kolom;
        MoveSnakeWay(r, k, dir);
        if (!SafeCell(r, k)) continue;
        int score = std::min(Room(r, k, 80), 80) * 1000 - DistanceToFood(r, k);
        if (score > bestScore) {
            bestScore = score;
            best = dir;
        }
    }
    const BesturingRec &keys = KEYS[s];
    uint32_t keyOf[4] = {keys.links, keys.rechts, keys.boven, keys.onder};
    for (uint32_t key : keyOf) Wimdows::SimulateKeyUp(key);
    if (best != bot.richting) Wimdows::SimulateKeyDown(keyOf[best]);
    bot.richting = best;
}

void OnStepWait() {
    uint32_t snakes = AantalSlangen();
    if (firstStepWait) {
        firstStepWait = false;
        if (firstStepKiB == 0) firstStepKiB = ResidentKiB();
        for (uint32_t s = 1; s <= 2; s++) bots[s].active = s <= snakes && FindStartHead(s, bots[s]);
    } else {
        for (uint32_t s = 1; s <= snakes; s++)
            if (bots[s].active) MoveSnakeWay(bots[s].rij, bots[s].kolom, bots[s].richting);
    }
    for (uint32_t s = 1; s <= snakes; s++)
        if (bots[s].active) Steer(s);
    if (BlokjeManueel && ++knurfKeyTimer % 7 == 0) {
        const BesturingRec &keys = KEYS[2];
        uint32_t keyOf[4] = {keys.links, keys.rechts, keys.boven, keys.onder};
        for (uint32_t key : keyOf) Wimdows::SimulateKeyUp(key);
        Wimdows::SimulateKeyDown(keyOf[StandardLib::RANDOM(4)]);
    }
    if (++stepsThisGame > LONGEST_GAME) Wimdows::SimulateKeyDown(Wimdows::KEY_ESCAPE);
}

void OnWait(uint32_t ms) {
    Clock::time_point now = Clock::now();
    if (ms == COUNTDOWN_WAIT) {
        inGame = true;
        firstStepWait = true;
        haveLastStep = false;
        stepsThisGame = 0;
        wantKeyForTable = false;
        Wimdows::SimulateKeyUp(Wimdows::KEY_ESCAPE);
        return;
    }
    if (!inGame || ms == PAUSE_WAIT) return;
    if (ms == GAME_OVER_WAIT) {
        inGame = false;
        haveLastStep = false;
        wantKeyForTable = true;  // the highscore table waits for a key
        return;
    }
    if (haveLastStep) stepMicros.push_back(std::chrono::duration<double, std::micro>(now - lastStepEnd).count());
    OnStepWait();
    haveLastStep = true;
    lastStepEnd = Clock::now();
}

// Presses a key now and then while the highscore table after a game waits for one.
void TableKeyPresser(std::atomic<bool> *stop) {
    while (!stop->load()) {
        if (wantKeyForTable.load()) {
            Wimdows::SimulateKeyDown(32);
            Wimdows::SimulateKeyUp(32);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void SetMode(Mode mode, int32_t diff) {
    GameMode::Set(mode);
    Diff = diff;
}

}  // namespace

int main() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);

    // A play folder of our own: the generated pictures and sounds, fresh copies of the save files.
    std::filesystem::path play;
    int out = StartInBenchFolder("bench", true, play);
    if (out < 0) return 1;

    InitSnakeProcedures();
    StandardLib::SeedRandom(20240607);  // the bench's own keys
    Wimdows::SetWaitProc(OnWait);
    Wimdows::Window("Kwibbel", 800, 680);
    if (Wimdows::State() != Wimdows::STATE_ACTIVE) {
        dprintf(out, "no window under the dummy video driver\n");
        return 1;
    }
    Load();
    Wimdows::SetBuffering(true);
    std::atomic<bool> stop{false};
    std::thread presser(TableKeyPresser, &stop);

    long beforeGames = ResidentKiB();
    std::vector<std::pair<int, long>> memoryAfter;  // (games played, KiB)
    int games = 0;

    dprintf(out, "gamestep_bench: one game step's work (no wait), window open under the dummy driver\n");
    dprintf(out, "%-22s %4s %7s %8s %12s %12s\n", "mode", "diff", "games", "steps", "median (ms)", "p99 (ms)");
    const Mode modes[3] = {Mode::ONE_PLAYER, Mode::TWO_SNAKES, Mode::SNAKE_AGAINST_KNURF};
    const char *modeNames[3] = {"one player", "snake against snake", "snake against knurf"};
    for (int m = 0; m < 3; m++) {
        for (int32_t diff = 1; diff <= 3; diff++) {
            stepMicros.clear();
            SetMode(modes[m], diff);
            for (int g = 0; g < GAMES_PER_CONFIGURATION; g++) {
                uint32_t level = (uint32_t)(g % 5);
                SpelZaad = 20240607 + (uint32_t)games;  // the same games in every run, so runs compare
                StartGame(level);
                games++;
                if (games == 1 || games == 2 || games == 10 || games == 50 || games == MEMORY_GAMES)
                    memoryAfter.push_back({games, ResidentKiB()});
            }
            dprintf(out, "%-22s %4d %7d %8zu %12.4f %12.4f\n", modeNames[m], diff, GAMES_PER_CONFIGURATION,
                    stepMicros.size(), Percentile(stepMicros, 0.5) / 1000.0, Percentile(stepMicros, 0.99) / 1000.0);
        }
    }
    dprintf(out, "resident memory (KiB): %ld before the first game", beforeGames);
    for (const auto &m : memoryAfter) dprintf(out, ", %ld after %d", m.second, m.first);
    dprintf(out, "\n");
    long first = memoryAfter.front().second, last = memoryAfter.back().second;
    dprintf(out,
            "the first game: %.2f MB up to its first step (its pictures, fonts), %.2f MB more to its end "
            "(end picture, highscore table)\n",
            (double)(firstStepKiB - beforeGames) / 1024.0, (double)(first - firstStepKiB) / 1024.0);
    dprintf(out,
            "memory added by %d games: %.2f MB, of which the first game %.2f MB (pictures loaded once and "
            "kept) and the %d after it %.2f MB\n",
            MEMORY_GAMES, (double)(last - beforeGames) / 1024.0, (double)(first - beforeGames) / 1024.0,
            MEMORY_GAMES - 1, (double)(last - first) / 1024.0);

    stop = true;
    presser.join();
    Music::StopMusic();
    Wimdows::KillWindow();
    LeaveBenchFolder(play);
    return 0;
}
