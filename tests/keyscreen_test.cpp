// The key-choosing screen on a window under SDL's dummy video driver. A helper thread plays the player: it
// waits until the screen asks for a key (each prompt has its own colours) and then presses the next
// answer; a refusal's wait, which stands in for the 1337 ms, presses the answer after a refused key.
// Checked: the order of the keys, the refusals, the controls file byte for byte, and closing half-way.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <SDL.h>
#include <sys/resource.h>

#include <csignal>

#include "game/SnakeProcedures.h"
#include "support/playfolder.h"
#include "wimdows/Wimdows.h"

using namespace SnakeProcedures;

namespace {

const uint32_t FAIL = 0x2020D0;
const uint32_t PROMPT[2] = {0x30A030, 0xA03030};                     // player 1, player 2
const uint32_t ARROW[4] = {0x101080, 0x108010, 0x801010, 0x808010};  // right, left, up, down
const char *const ARROW_FILES[4] = {"bitmap/arrowright.bmp", "bitmap/arrowleft.bmp", "bitmap/arrowup.bmp",
                                    "bitmap/arrowdown.bmp"};

const uint32_t ESCAPE = Wimdows::KEY_ESCAPE, KEY_P = Wimdows::KEY_P, LEFT = Wimdows::KEY_LEFT, UP = Wimdows::KEY_UP,
               RIGHT = Wimdows::KEY_RIGHT, DOWN = Wimdows::KEY_DOWN;

typedef std::vector<uint32_t> Presses;  // keys pressed together as one answer

// What the player does, shared by the helper thread (answers to prompts) and the refusal wait (answers
// after a refusal); the two never act at the same time.
struct Player {
    std::vector<Presses> answers;
    std::atomic<size_t> next{0};
    int closeAtPrompt = -1;  // close the window instead of answering this prompt (0..7)
    std::vector<uint32_t> refusalWaits;
    std::vector<bool> refusalShown;  // the refusal picture was on the screen during the wait
    std::atomic<bool> lost{false};   // the helper never saw a prompt it waited for
    std::atomic<bool> left{false};   // the screen has returned (Escape leaves it early)
    int namedNow = 0;                // prompts that wrote the key a direction has now over their picture
};

Player *player = nullptr;

void Press(const Presses &keys) {
    for (uint32_t k : keys) {
        Wimdows::SimulateKeyDown(k);
        Wimdows::SimulateKeyUp(k);
    }
}

void CloseLikeThePlayer() {
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    while (!Wimdows::WindowClosed()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void AnswerNext() {
    size_t n = player->next++;
    if (n < player->answers.size()) Press(player->answers[n]);
}

bool ShowsPrompt(int prompt) {
    return Wimdows::BufferPixel(400, 300) == ARROW[prompt % 4] && Wimdows::BufferPixel(400, 640) == PROMPT[prompt / 4];
}

void AnswerPrompts() {
    for (int prompt = 0; prompt < 8; prompt++) {
        auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!ShowsPrompt(prompt)) {
            if (Wimdows::WindowClosed() || player->left) return;
            if (std::chrono::steady_clock::now() > giveUp) {
                // Something else is on the screen for good: close, so that the screen returns.
                player->lost = true;
                CloseLikeThePlayer();
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (prompt == player->closeAtPrompt) {
            CloseLikeThePlayer();
            return;
        }
        // The words come right after the pictures (this thread may look in between).
        bool words = false;
        for (auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
             !words && std::chrono::steady_clock::now() < until; std::this_thread::yield())
            for (int32_t x = 300; x < 500; x++)
                for (int32_t y = Layout::KEY_NOW_Y; y < Layout::KEY_NOW_Y + 16; y++)
                    words = words || Wimdows::BufferPixel(x, y) != ARROW[prompt % 4];
        player->namedNow += words;
        AnswerNext();
    }
}

void RefusalWait(uint32_t ms) {
    if (!player) return;
    player->refusalWaits.push_back(ms);
    player->refusalShown.push_back(Wimdows::BufferPixel(400, 300) == FAIL && Wimdows::BufferPixel(400, 640) == 0);
    AnswerNext();
}

std::string ControlsFile(const std::vector<uint32_t> &numbers) {
    std::string text;
    for (size_t i = 0; i < numbers.size(); i++) {
        text += std::to_string(numbers[i]) + "\r\n";
        if (i % 4 == 3) text += "\r\n";
    }
    return text;
}

// The file as installed: longer numbers than any key code, so a rewrite leaves a tail behind.
const std::string OLD_FILE = ControlsFile({1039, 1037, 1038, 1040, 1068, 1065, 1087, 1083});

class KeyScreen : public ::testing::Test {
protected:
    PlayFolder::Scoped folder;
    Player play;

    void SetUp() override {
        if (Wimdows::WindowClosed())
            GTEST_SKIP() << "an earlier test in this process closed the window for good; run this one alone";
        PlayFolder::WriteBytes("savefiles/controleslang.txt", OLD_FILE);
        PlayFolder::WriteBmp("bitmap/fail.bmp", 8, 6, FAIL);
        PlayFolder::WriteBmp("bitmap/choosekey1.bmp", 8, 2, PROMPT[0]);
        PlayFolder::WriteBmp("bitmap/choosekey2.bmp", 8, 2, PROMPT[1]);
        for (int d = 0; d < 4; d++) PlayFolder::WriteBmp(ARROW_FILES[d], 8, 6, ARROW[d]);
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        Wimdows::InitWimdows();
        Wimdows::Window("Kwibbel", 800, 680);
        ASSERT_EQ(Wimdows::State(), Wimdows::STATE_ACTIVE) << "no window under the dummy video driver";
        Wimdows::SetBuffering(true);
        player = &play;
        Wimdows::SetWaitProc(RefusalWait);
    }
    void TearDown() override {
        Wimdows::SetWaitProc(nullptr);
        player = nullptr;
        Wimdows::KillWindow();
    }

    // Runs the screen with the player's answers; the controls file after it.
    std::string Visit(const std::vector<Presses> &answers) {
        play.answers = answers;
        play.next = 0;
        play.left = false;
        std::thread helper(AnswerPrompts);
        Controls();
        play.left = true;
        helper.join();
        EXPECT_FALSE(play.lost) << "a prompt never came";
        return PlayFolder::ReadBytes("savefiles/controleslang.txt");
    }
};

TEST_F(KeyScreen, WritesTheEightKeysInTheOrderAsked) {
    std::string saved = Visit({{RIGHT}, {LEFT}, {UP}, {DOWN}, {'D'}, {'A'}, {'W'}, {'S'}});
    std::string fresh = ControlsFile({39, 37, 38, 40, 68, 65, 87, 83});
    EXPECT_EQ(saved, fresh + OLD_FILE.substr(fresh.size())) << "ten lines, then the old file's tail";
    EXPECT_TRUE(play.refusalWaits.empty());
    EXPECT_EQ(play.namedNow, 8) << "each prompt names the key it has now";

    BesturingRec besturing[3] = {};
    AantalSpelers = 2;
    LeesBesturing(besturing);
    EXPECT_EQ(besturing[1].rechts, 39u);
    EXPECT_EQ(besturing[1].links, 37u);
    EXPECT_EQ(besturing[1].boven, 38u);
    EXPECT_EQ(besturing[1].onder, 40u);
    EXPECT_EQ(besturing[2].rechts, 68u);
    EXPECT_EQ(besturing[2].onder, 83u);
}

TEST_F(KeyScreen, TakenAndReservedKeysAreRefused) {
    std::string saved = Visit({
        {KEY_P},  // player 1 right: P pauses the game, refused
        {RIGHT},  //   accepted
        {RIGHT},  // player 1 left: taken, refused
        {LEFT},   //   accepted
        {UP},
        {DOWN},
        {LEFT},  // player 2 right: player 1's key, refused
        {DOWN},  //   player 1's too, refused
        {'D'},   //   accepted
        {'A'},
        {'W'},
        {'S'},
    });
    std::string fresh = ControlsFile({39, 37, 38, 40, 68, 65, 87, 83});
    EXPECT_EQ(saved, fresh + OLD_FILE.substr(fresh.size()));
    std::vector<uint32_t> waits = {1337, 1337, 1337, 1337};
    EXPECT_EQ(play.refusalWaits, waits) << "one 1337 ms refusal per refused key";
    for (size_t i = 0; i < play.refusalShown.size(); i++)
        EXPECT_TRUE(play.refusalShown[i]) << "refusal " << i << " did not show the refusal picture alone";
}

TEST_F(KeyScreen, KeysTypedBeforeThePromptDoNotCount) {
    Press({'Q'});  // typed before the screen opened
    std::string saved = Visit({
        {RIGHT},
        {RIGHT},      // refused; the answer during the refusal comes while the screen waits:
        {LEFT, 'X'},  // two keys at once, the second dropped rather than taken for the next prompt
        {UP},
        {DOWN},
        {'D'},
        {'A'},
        {'W'},
        {'S'},
    });
    std::string fresh = ControlsFile({39, 37, 38, 40, 68, 65, 87, 83});
    EXPECT_EQ(saved, fresh + OLD_FILE.substr(fresh.size()));
}

// Escape leaves at once, also from a refusal, and keeps the keys as they were.
TEST_F(KeyScreen, EscapeHalfWayLeavesTheFileAsItWas) {
    EXPECT_EQ(Visit({{RIGHT}, {LEFT}, {ESCAPE}}), OLD_FILE);
    EXPECT_EQ(Visit({{RIGHT}, {RIGHT}, {ESCAPE}}), OLD_FILE);
    EXPECT_EQ(play.refusalWaits, std::vector<uint32_t>{1337});
}

TEST_F(KeyScreen, AFileThatCannotBeWrittenIsShownAndKept) {
    const uint32_t FAILED = 0x503010;
    PlayFolder::WriteBmp("bitmap/savefailed.bmp", 8, 6, FAILED);
    std::atomic<bool> shown{false};
    std::thread reader([&] {
        while (!play.left) {
            if (Wimdows::ScreenPixel(400, 100) == FAILED) shown = true, Press({' '});
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    // Files may not grow past 16 bytes, as on a full disk.
    struct rlimit before, small;
    getrlimit(RLIMIT_FSIZE, &before);
    small = {16, before.rlim_max};
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    std::string saved = Visit({{RIGHT}, {LEFT}, {UP}, {DOWN}, {'D'}, {'A'}, {'W'}, {'S'}});
    setrlimit(RLIMIT_FSIZE, &before);
    reader.join();
    EXPECT_EQ(saved, OLD_FILE);
    EXPECT_TRUE(shown) << "the failure was shown";
    EXPECT_STREQ(LastSaveFailure().problem, "it would grow beyond the size allowed");
}

// Closing the window is for good in a run, so this comes last; under CTest every test runs on its own.
TEST_F(KeyScreen, ClosingHalfWayLeavesTheFileAsItWas) {
    play.closeAtPrompt = 5;  // player 2's left
    std::string saved = Visit({{RIGHT}, {LEFT}, {UP}, {DOWN}, {'D'}});
    EXPECT_EQ(saved, OLD_FILE);

    // Opened after the window is gone, the screen returns at once and writes nothing.
    Controls();
    EXPECT_EQ(PlayFolder::ReadBytes("savefiles/controleslang.txt"), OLD_FILE);
}

}  // namespace
