// Replays through the rules alone: recorded random games written, read back and played to the same end;
// a replay that was tampered with is caught at the right steps; hostile files are refused with a line
// that says why; thousands of mutated files never crash the reader.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "support/randomgames.h"

using namespace SnakeProcedures;

namespace {

OpnameRec recorded, read;
ToestandRec state, check;
LevelRec levels[5];

class Replay : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RandomGames::ReadLevels(std::string(KWIBBEL_SOURCE_DIR) + "/data/savefiles", levels));
    }

    // Reads text into `read`; "" when it reads, else what the reader said.
    static std::string Read(const std::string &text) {
        char fault[200] = "";
        return LeesOpname(text.data(), text.size(), read, fault, sizeof fault) ? "" : fault;
    }
    static std::string Verify() {
        char fault[200] = "";
        return ControleerOpname(read, check, fault, sizeof fault) ? "" : fault;
    }
    // A recorded game as its file's text.
    static std::string Text(uint32_t number, uint32_t longest) {
        RandomGames::Play(number, levels, longest, recorded, state);
        std::string text;
        EXPECT_TRUE(SchrijfOpname(recorded, text));
        return text;
    }
};

TEST_F(Replay, RandomGamesOfEveryModeLevelAndDifficultyPlayBackToTheirEnd) {
    // A share of the bench's thousand: every mode on every level at each difficulty.
    for (uint32_t n = 0; n < 60; n++) {
        std::string text = Text(n, 3000);
        ASSERT_EQ(Read(text), "") << "game " << n;
        EXPECT_EQ(Verify(), "") << "game " << n;
        EXPECT_EQ(ToestandHash(check), ToestandHash(state)) << "game " << n;
        std::string again;
        ASSERT_TRUE(SchrijfOpname(read, again));
        EXPECT_EQ(again, text) << "game " << n << " reads back as it was written";
    }
}

TEST_F(Replay, ATamperedReplayIsCaughtWhereItFirstDiffers) {
    std::string text;
    recorded.stappen = 0;
    for (uint32_t n = 0; n < 200 && recorded.stappen <= 1200; n++) text = Text(n, 3000);
    ASSERT_GT(recorded.stappen, 1200u) << "a game long enough for checks";
    ASSERT_EQ(Read(text), "");
    // A turn slipped into step 700 (one that changes the game: some are no turn there): caught by the check
    // after step 1000, or by the game ending before its recorded end.
    const uint32_t word = read.invoer[699];
    std::string said;
    for (uint32_t way = 0; way < 4 && said.empty(); way++) {
        InvoerRec in;
        bool pause;
        PakUit(word, in, pause);
        in.beurten[1] = BeurtenRec{{(PijlEn)way, LINKS}, 1};
        read.invoer[699] = PakInvoer(in, pause);
        said = Verify();
    }
    EXPECT_TRUE(said == "the game first differs between step 501 and step 1000" ||
                said.find("the game ends at step 7") == 0)
        << said;
    ASSERT_EQ(Read(text), "");
    read.hash ^= 1;
    EXPECT_NE(Verify(), "");
    ASSERT_EQ(Read(text), "");
    read.punten[1] += 700;
    EXPECT_NE(Verify().find("kept"), std::string::npos) << "a score the game never reached";
}

TEST_F(Replay, HostileFilesAreRefusedWithALineSayingWhy) {
    const std::string good = Text(2, 400);
    auto with = [&good](const std::string &from, const std::string &to) {
        std::string t = good;
        size_t at = t.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? t : t.replace(at, from.size(), to);
    };
    std::string lines, steps = "steps " + std::to_string(recorded.stappen);
    const struct {
        std::string text, says;
    } cases[] = {
        {"", "not a replay file"},
        {"GIF89a\n", "not a replay file"},
        {with("KWIBBEL-REPLAY 1", "KWIBBEL-REPLAY 2"), "replay format 2"},
        {with("rules 1", "rules 7"), "recorded under rules 7"},
        {with(steps, "steps 4294967296"), "more than a replay holds"},
        {with(steps, "steps 99999999999999"), "should say \"steps\""},
        {with("difficulty ", "difficulty 9"), "must be a number from 0 to 3"},
        {with("seed ", "seed 4294967296"), "must be a number"},
        {with("mode ", "mode 9"), "must be a number from 0 to 3"},
        {with("row MM", "row MX"), "row 1 of the level"},
        {good.substr(0, good.size() - 10), "cut short"},
        {with("\nend\n", "\n"), "cut short"},
        {with("\nend\n", "\nend\nmore\n"), "nothing may follow"},
        {with("input\n", "input\nLLL "), "more turns than a step takes"},
        {with("input\n", "input\nHx "), "is no step"},
        {with("input\n", "input\n9999999 "), "no count of steps"},
        {with("input\n", std::string("input\n\x01", 7)), "binary"},
        {with("input\n", "input\n" + std::string(300, 'L') + "\n"), "too long"},
    };
    for (const auto &c : cases)
        EXPECT_NE(Read(c.text).find(c.says), std::string::npos) << c.says << ": " << Read(c.text);
    // A level with no start for snake 1 cannot be played.
    std::string noStart = good;
    for (size_t at = noStart.find('S'); at != std::string::npos; at = noStart.find('S', at)) noStart[at] = '-';
    EXPECT_NE(Read(noStart).find("no start for snake 1"), std::string::npos);
}

TEST_F(Replay, TenThousandMutatedFilesNeverCrashTheReader) {
    const std::string good = Text(7, 600);
    RandomGames::Dice d{99};
    auto start = std::chrono::steady_clock::now();
    int readable = 0, n = 0;
    // Bounded in time as well as in count, so a slow (sanitizer) build finishes too.
    for (; n < 10000 && std::chrono::steady_clock::now() - start < std::chrono::seconds(60); n++) {
        std::string t = good;
        for (uint32_t edits = 1 + d.Next(4); edits > 0 && !t.empty(); edits--) {
            size_t at = d.Next((uint32_t)t.size());
            switch (d.Next(5)) {
            case 0: t[at] = (char)d.Next(256); break;
            case 1: t.erase(at, 1 + d.Next(40)); break;
            case 2: t.insert(at, std::to_string(d.Next(1u << 30))); break;
            case 3: t.resize(at); break;
            default: t.insert(at, t.substr(d.Next((uint32_t)t.size()), d.Next(200))); break;
            }
        }
        if (Read(t) == "") {
            readable++;
            if (read.stappen <= 5000) Verify();
        }
    }
    EXPECT_GT(n, 1000) << "mutated files read";
    EXPECT_GT(readable, 0) << "some mutations leave a readable replay (a changed count or direction)";
}

}  // namespace
