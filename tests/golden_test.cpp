// Whole games compared picture by picture with games recorded earlier: every mode on every level, each
// difficulty, the computer, a pause with turns typed in it, runs across the open edges. tests/golden/games.txt
// holds, per game, its settings and, per step, the hash of the back buffer at the step's wait and the keys
// pressed in that wait. Played again from those keys, the same build of the rules must paint the same
// pictures, step for step.
//
// KWIBBEL_GOLDEN_RECORD=1 plays the games with an autopilot instead and writes the file anew (only after a
// change of the rules or the pictures that is meant).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/gameboard.h"
#include "support/gamewindow.h"
#include "support/playfolder.h"

using namespace GameBoard;

namespace {

const uint32_t COUNTDOWN_WAIT = 800, PAUSE_WAIT = 1000, GAME_OVER_WAIT = 4000;
const int LONGEST_GAME = 260;  // steps; Escape leaves a game that lasts longer
const std::string GOLDEN_FILE = std::string(KWIBBEL_SOURCE_DIR) + "/tests/golden/games.txt";

// One key event of a script: down, up, or a tap (down and up in the same wait).
struct KeyEvent {
    char what;  // '+', '-', 't'
    uint32_t key;
};
struct StepRec {
    bool pause;  // the keys of a pause's wait; no picture is compared there
    uint64_t hash;
    std::vector<KeyEvent> keys;
};
struct GameRec {
    Mode mode;
    uint32_t level;
    int32_t diff;
    uint32_t seed;
    std::vector<StepRec> steps;
};

// ---- the games: each mode on each level, the difficulties in turn, and the level without walls at each ----

std::vector<GameRec> Games() {
    std::vector<GameRec> games;
    const Mode modes[4] = {Mode::ONE_PLAYER, Mode::TWO_SNAKES, Mode::SNAKE_AGAINST_KNURF, Mode::SNAKE_AGAINST_COMPUTER};
    uint32_t seed = 1000;
    for (uint32_t level = 0; level < 5; level++)
        for (int m = 0; m < 4; m++) games.push_back({modes[m], level, (int32_t)(1 + (level + m) % 3), seed++, {}});
    for (int32_t diff = 1; diff <= 3; diff++) games.push_back({Mode::ONE_PLAYER, 1, diff, seed++, {}});
    return games;
}

// ---- the autopilot of a recording: steers each snake a player steers to room and food, now and then at random ----

struct Bot {
    bool active;
    uint32_t rij, kolom;
    PijlEn richting;
    uint32_t held;  // key held since the last step, released at this one
};
Bot bots[3];
uint32_t lcg = 1;
uint32_t Next(uint32_t n) {
    lcg = lcg * 1103515245u + 12345u;
    return (lcg >> 16) % n;
}
PijlEn Opposite(PijlEn d) {
    static const PijlEn opposite[4] = {RECHTS, LINKS, ONDER, BOVEN};
    return opposite[d];
}
void Ahead(uint32_t &r, uint32_t &k, PijlEn d) {
    DoorMuur(d, r, k);
    VeranderRijKolom(r, k, d);
}
bool Safe(uint32_t r, uint32_t k) {
    const BlokRec &c = Veld[r][k];
    return c.bezet == ONBEZET || (c.bezet == BLOKJE && c.soortblokje != GIFTIG);
}
int Room(uint32_t r0, uint32_t k0) {
    static uint32_t seen[RIJEN + 2][KOLOMMEN + 2], mark = 0;
    mark++;
    std::vector<std::pair<uint32_t, uint32_t>> todo{{r0, k0}};
    seen[r0][k0] = mark;
    int n = 0;
    while (!todo.empty() && n < 60) {
        auto [r, k] = todo.back();
        todo.pop_back();
        n++;
        for (int d = 0; d < 4; d++) {
            uint32_t rr = r, kk = k;
            Ahead(rr, kk, (PijlEn)d);
            if (seen[rr][kk] != mark && Safe(rr, kk)) {
                seen[rr][kk] = mark;
                todo.push_back({rr, kk});
            }
        }
    }
    return n;
}
bool FindStartHead(uint32_t s, Bot &bot) {
    for (uint32_t g = 1; g + 1 < SLANGSLOTS && g < 45; g++) {
        const BlokRec &a = Slang[s][g], &b = Slang[s][g + 1];
        if (a.x1 == b.x1 && a.y1 == b.y1 && a.x1 < 800 && a.y1 < 600) {
            bot = Bot{true, a.y1 / 20 + 1, a.x1 / 20 + 1, RECHTS, 0};
            return true;
        }
    }
    return false;
}
const BesturingRec KEYS[3] = {{0, 0, 0, 0}, {39, 37, 38, 40}, {68, 65, 87, 83}};
uint32_t KeyOf(uint32_t p, PijlEn d) {
    const uint32_t keys[4] = {KEYS[p].links, KEYS[p].rechts, KEYS[p].boven, KEYS[p].onder};
    return keys[d];
}

// The keys of one step wait of a recording.
std::vector<KeyEvent> Autopilot(bool first, int step) {
    std::vector<KeyEvent> keys;
    uint32_t snakes = AantalSlangen();
    for (uint32_t s = 1; s <= 2; s++) {
        Bot &bot = bots[s];
        if (first)
            bot.active = s <= snakes && s != ComputerSpeler && FindStartHead(s, bot);
        else if (bot.active)
            Ahead(bot.rij, bot.kolom, bot.richting);
        if (bot.held != 0) keys.push_back({'-', bot.held});
        bot.held = 0;
    }
    for (uint32_t s = 1; s <= snakes; s++) {
        Bot &bot = bots[s];
        if (!bot.active) continue;
        int best = -1;
        PijlEn keuze = bot.richting;
        for (int d = 0; d < 4; d++) {
            PijlEn dir = (PijlEn)d;
            if (dir == Opposite(bot.richting)) continue;
            uint32_t r = bot.rij, k = bot.kolom;
            Ahead(r, k, dir);
            if (!Safe(r, k)) continue;
            int score = Room(r, k) * 8 + (int)Next(8) + (dir == bot.richting ? 4 : 0);
            if (score > best) {
                best = score;
                keuze = dir;
            }
        }
        if (Next(25) == 0) keys.push_back({'t', KeyOf(s, Opposite(bot.richting))});  // a reversal is refused
        if (keuze != bot.richting) {
            if (Next(2) == 0) {
                keys.push_back({'t', KeyOf(s, keuze)});
            } else {
                keys.push_back({'+', KeyOf(s, keuze)});
                bot.held = KeyOf(s, keuze);
            }
            bot.richting = keuze;
        }
    }
    if (BlokjeManueel && step % 5 == 0) keys.push_back({'t', KeyOf(2, (PijlEn)Next(4))});
    if (step == 12) keys.push_back({'t', Wimdows::KEY_P});
    return keys;
}

// ---- playing ---------------------------------------------------------------------------------------------------

struct Player {
    bool recording = false;
    GameRec *game = nullptr;
    size_t at = 0;  // the next step of the script
    int steps = 0;
    std::string firstDifference;
    std::atomic<bool> wantKey{false};
} player;

void Press(const std::vector<KeyEvent> &keys) {
    for (const KeyEvent &e : keys) {
        if (e.what != '-') Wimdows::SimulateKeyDown(e.key);
        if (e.what != '+') Wimdows::SimulateKeyUp(e.key);
    }
}

void OnWait(uint32_t ms) {
    if (ms == COUNTDOWN_WAIT) {
        player.wantKey = false;
        return;
    }
    if (ms == GAME_OVER_WAIT) {
        player.wantKey = true;
        return;
    }
    GameRec &g = *player.game;
    if (ms == PAUSE_WAIT) {
        // Turns typed during the pause come first after it; a fresh P goes on.
        std::vector<KeyEvent> keys;
        if (player.recording) {
            keys = {{'-', Wimdows::KEY_P}, {'t', KeyOf(1, (PijlEn)Next(4))}, {'t', Wimdows::KEY_P}};
            g.steps.push_back({true, 0, keys});
        } else if (player.at < g.steps.size() && g.steps[player.at].pause) {
            keys = g.steps[player.at++].keys;
        }
        Press(keys);
        return;
    }
    player.steps++;
    uint64_t hash = Wimdows::BufferHash();
    if (player.recording) {
        std::vector<KeyEvent> keys = Autopilot(player.steps == 1, player.steps);
        if (player.steps > LONGEST_GAME) keys = {{'+', Wimdows::KEY_ESCAPE}};
        g.steps.push_back({false, hash, keys});
        Press(keys);
        return;
    }
    if (player.at >= g.steps.size() || g.steps[player.at].pause) {
        if (player.firstDifference.empty())
            player.firstDifference = "step " + std::to_string(player.steps) + ": the recorded game had ended";
        Wimdows::SimulateKeyDown(Wimdows::KEY_ESCAPE);
        return;
    }
    const StepRec &rec = g.steps[player.at++];
    if (rec.hash != hash && player.firstDifference.empty())
        player.firstDifference = "step " + std::to_string(player.steps) + ": another picture";
    Press(rec.keys);
}

// Presses a key now and then while a screen after the game waits for one.
void KeyPresser(std::atomic<bool> *stop) {
    while (!stop->load()) {
        if (player.wantKey.load()) {
            Wimdows::SimulateKeyDown(32);
            Wimdows::SimulateKeyUp(32);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void Play(GameRec &g, bool recording) {
    player.recording = recording;
    player.game = &g;
    player.at = 0;
    player.steps = 0;
    player.firstDifference.clear();
    player.wantKey = true;  // a level the mode cannot play waits for a key
    bots[1] = bots[2] = Bot{};
    lcg = g.seed;
    SetMode(g.mode, g.diff);
    StandardLib::gPseudoRandom = false;
    StandardLib::SeedRandom(g.seed);
    ComputerZaad = g.seed;
    uint32_t level = g.level;
    testing::internal::CaptureStdout();
    StartGame(level);
    testing::internal::GetCapturedStdout();
    Wimdows::SimulateKeyUp(Wimdows::KEY_ESCAPE);
    for (uint32_t key : {37u, 38u, 39u, 40u, 65u, 68u, 83u, 87u}) Wimdows::SimulateKeyUp(key);
}

// ---- the file ---------------------------------------------------------------------------------------------------

void Write(const std::vector<GameRec> &games) {
    std::ofstream out(GOLDEN_FILE);
    for (const GameRec &g : games) {
        out << "game " << (int)g.mode << ' ' << g.level << ' ' << g.diff << ' ' << g.seed << '\n';
        for (const StepRec &s : g.steps) {
            if (s.pause)
                out << 'p';
            else
                out << std::hex << s.hash << std::dec;
            for (const KeyEvent &e : s.keys) out << ' ' << e.what << e.key;
            out << '\n';
        }
    }
}

bool Read(std::vector<GameRec> &games) {
    std::ifstream in(GOLDEN_FILE);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first == "game") {
            int mode = 0;
            GameRec g{};
            words >> mode >> g.level >> g.diff >> g.seed;
            g.mode = (Mode)mode;
            games.push_back(g);
            continue;
        }
        if (games.empty()) return false;
        StepRec s{first == "p", first == "p" ? 0 : std::stoull(first, nullptr, 16), {}};
        std::string e;
        while (words >> e) s.keys.push_back({e[0], (uint32_t)std::stoul(e.substr(1))});
        games.back().steps.push_back(s);
    }
    return !games.empty();
}

class Golden : public ::testing::Test {
protected:
    PlayFolder::Scoped folder;
    std::atomic<bool> stop{false};
    std::thread presser;

    void SetUp() override {
        namespace fs = std::filesystem;
        for (const auto &f : fs::directory_iterator(std::string(KWIBBEL_SOURCE_DIR) + "/data/savefiles"))
            fs::copy_file(f.path(), fs::path("savefiles") / f.path().filename(), fs::copy_options::overwrite_existing);
        StartTest();
        ASSERT_TRUE(GameWindow::Open());
        Songs = SongsRec{};
        Wimdows::SetWaitProc(OnWait);
        presser = std::thread(KeyPresser, &stop);
    }
    void TearDown() override {
        stop = true;
        presser.join();
        Wimdows::SetWaitProc(nullptr);
        ComputerZaad = 0;
        Wimdows::KillWindow();
        EndTest();
    }
};

TEST_F(Golden, EveryGamePaintsWhatItPaintedWhenRecorded) {
    if (std::getenv("KWIBBEL_GOLDEN_RECORD")) {
        std::vector<GameRec> games = Games();
        for (GameRec &g : games) Play(g, true);
        Write(games);
        GTEST_SKIP() << "recorded " << GOLDEN_FILE;
    }
    std::vector<GameRec> games;
    ASSERT_TRUE(Read(games)) << GOLDEN_FILE << " is missing or damaged";
    ASSERT_EQ(games.size(), Games().size());
    for (GameRec &g : games) {
        Play(g, false);
        size_t recorded = 0;
        for (const StepRec &s : g.steps) recorded += s.pause ? 0 : 1;
        EXPECT_EQ(player.firstDifference, "")
            << "mode " << (int)g.mode << ", level " << g.level << ", difficulty " << g.diff;
        EXPECT_EQ((size_t)player.steps, recorded) << "mode " << (int)g.mode << ", level " << g.level;
    }
}

}  // namespace
