// Random numbers: the module's own generator, the clock-seeded additive generator and RandomCard.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

#include "support/StandardLib.h"

using namespace StandardLib;

class RandomTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitStandardLib();
        gPseudoRandom = false;
        SetPseudoSeed(94);
    }
    void TearDown() override {
        gPseudoRandom = false;
        SetPseudoSeed(94);
    }
};

TEST_F(RandomTest, OwnGeneratorRunsItsFixedSequenceFrom94) {
    const uint32_t expected[8] = {716, 230, 841, 546, 327, 446, 682, 452};
    for (int k = 0; k < 8; k++) EXPECT_EQ(expected[k], PseudoRandomCardGenerator()) << "draw " << k + 1;
}

TEST_F(RandomTest, OwnGeneratorCyclesThroughEveryValueBut509) {
    std::set<uint32_t> seen;
    for (int k = 0; k < 1012; k++) {
        uint32_t v = PseudoRandomCardGenerator();
        ASSERT_LE(v, 1012u);
        seen.insert(v);
    }
    EXPECT_EQ(1012u, seen.size()) << "1012 draws should give 1012 different values";
    EXPECT_EQ(0u, seen.count(509)) << "509 is not on the cycle of 94";
    EXPECT_EQ(716u, PseudoRandomCardGenerator()) << "after 1012 draws the sequence starts over";
}

TEST_F(RandomTest, OwnGeneratorStepsPastTheFixedPoint) {
    SetPseudoSeed(509);
    EXPECT_EQ(510u, PseudoRandomCardGenerator());
    gPseudoRandom = true;
    SetPseudoSeed(509);
    RandomCard(0, 1012);
    // 510 maps onto (510 * 351 + 138) mod 1013; the state went on from 510, not from 509.
    EXPECT_EQ((510u * 351u + 138u) % 1013u, PseudoRandomCardGenerator());
}

TEST_F(RandomTest, RandomCardFromOwnGeneratorGivesTheKnownDirections) {
    gPseudoRandom = true;
    const uint32_t expected[8] = {2, 0, 3, 2, 1, 1, 2, 1};
    for (int k = 0; k < 8; k++) EXPECT_EQ(expected[k], RandomCard(0, 3)) << "draw " << k + 1;
}

TEST_F(RandomTest, RandomCardFromOwnGeneratorReachesBothEndsOfTheInterval) {
    // Over one whole cycle the own generator gives every s in 0..1012 but 509: s = 0 must give min and
    // s = 1012 must give max, never max + 1.
    gPseudoRandom = true;
    const uint32_t bounds[][2] = {{2, 29}, {2, 39}, {0, 3}, {0, 1012}, {100, 100000}, {0, 4000000000u}};
    for (const auto &b : bounds) {
        SetPseudoSeed(94);
        uint32_t lowest = UINT32_MAX, highest = 0;
        for (int k = 0; k < 1012; k++) {
            uint32_t v = RandomCard(b[0], b[1]);
            ASSERT_GE(v, b[0]);
            ASSERT_LE(v, b[1]);
            lowest = std::min(lowest, v);
            highest = std::max(highest, v);
        }
        EXPECT_EQ(b[0], lowest) << "interval " << b[0] << ".." << b[1];
        EXPECT_EQ(b[1], highest) << "interval " << b[0] << ".." << b[1];
    }
}

TEST_F(RandomTest, RandomCardStaysInTheGameIntervalsWithTheClockGenerator) {
    uint32_t counts[4] = {0, 0, 0, 0};
    for (int k = 0; k < 4000; k++) {
        uint32_t row = RandomCard(2, 29);
        uint32_t column = RandomCard(2, 39);
        uint32_t direction = RandomCard(0, 3);
        ASSERT_GE(row, 2u);
        ASSERT_LE(row, 29u);
        ASSERT_GE(column, 2u);
        ASSERT_LE(column, 39u);
        ASSERT_LE(direction, 3u);
        counts[direction]++;
    }
    // Every direction turns up often; a generator stuck on a few values or an off-by-one fails this.
    for (int d = 0; d < 4; d++) EXPECT_GT(counts[d], 700u) << "direction " << d;
}

TEST_F(RandomTest, SingleValueIntervalGivesThatValueWithEitherSource) {
    EXPECT_EQ(5u, RandomCard(5, 5));
    gPseudoRandom = true;
    for (int k = 0; k < 20; k++) EXPECT_EQ(5u, RandomCard(5, 5));
}

TEST_F(RandomTest, ReversedIntervalReportsOnTheConsoleAndAdvancesNothing) {
    gPseudoRandom = true;
    SeedRandom(42);
    ::testing::internal::CaptureStdout();
    uint32_t v = RandomCard(7, 3);
    std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(7u, v);
    EXPECT_EQ("ERROR calling RandomCardFromInterval: min 7 is bigger than max 3\n", out);
    EXPECT_EQ(716u, PseudoRandomCardGenerator()) << "the own generator must not have moved";

    gPseudoRandom = false;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(4000000000u, RandomCard(4000000000u, 0));
    out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ("ERROR calling RandomCardFromInterval: min 4000000000 is bigger than max 0\n", out);
    uint32_t afterError = RANDOM(0);
    SeedRandom(42);
    EXPECT_EQ(RANDOM(0), afterError) << "the clock generator must not have moved";
}

TEST_F(RandomTest, AdditiveGeneratorGivesItsKnownWords) {
    // Reference values worked out separately from the seeding rule and the lags 55 and 24.
    SeedRandom(12345);
    const uint32_t expected[6] = {32068, 70994, 49645, 95759, 22801, 60485};
    for (int k = 0; k < 6; k++) EXPECT_EQ(expected[k], RANDOM(0)) << "draw " << k + 1;
    SeedRandom(7);
    uint32_t v = 0;
    for (int k = 0; k < 1000; k++) v = RANDOM(0);
    EXPECT_EQ(1215511827u, v) << "the 1000th word after seeding with 7";
}

TEST_F(RandomTest, AdditiveGeneratorReducesModuloN) {
    SeedRandom(99);
    uint32_t words[50];
    for (int k = 0; k < 50; k++) words[k] = RANDOM(0);
    SeedRandom(99);
    for (int k = 0; k < 50; k++) EXPECT_EQ(words[k] % 28u, RANDOM(28)) << "draw " << k + 1;
}

TEST_F(RandomTest, ClockSeedIsTheProductOfSecondsAndHundredths) {
    // The clock gives seconds 0..59 times hundredths 0..99, so the seeding value is at most 5841; the first word
    // after RANDOMIZE must match seeding with one of those products.
    RANDOMIZE();
    uint32_t first = RANDOM(0);
    uint32_t second = RANDOM(0);
    bool found = false;
    for (uint32_t x = 0; x <= 59u * 99u && !found; x++) {
        SeedRandom(x);
        if (RANDOM(0) == first && RANDOM(0) == second) found = true;
    }
    EXPECT_TRUE(found) << "RANDOMIZE seeded with a value outside 0..5841";
}

TEST_F(RandomTest, StartUpRunsOnceOnly) {
    gPseudoRandom = true;
    SetPseudoSeed(94);
    PseudoRandomCardGenerator();
    InitStandardLib();  // already started: must leave the flag and the state alone
    EXPECT_TRUE(gPseudoRandom);
    EXPECT_EQ(230u, PseudoRandomCardGenerator());
}

// Runs in a fresh copy of the program, where the module has not started and nothing seeded it.
static void UnseededDrawsAndExits() {
    bool ok = RANDOM(0) == 8683u && RANDOM(0) == 32068u && RANDOM(0) == 70994u;
    std::_Exit(ok ? 0 : 1);
}

TEST(RandomFreshTest, UnseededGeneratorSeedsItselfWith12345) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(UnseededDrawsAndExits(), ::testing::ExitedWithCode(0), "")
        << "the first draw of a never seeded generator seeds with 12345 and uses the seeded indices";
}

TEST(RandomFreshTest, StartUpSetsTheFlagAndTheOwnSeed) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto run = []() {
        gPseudoRandom = true;
        SetPseudoSeed(3);
        InitStandardLib();
        std::_Exit(!gPseudoRandom && PseudoRandomCardGenerator() == 716u ? 0 : 1);
    };
    EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "");
}
