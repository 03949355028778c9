// Reading the players' keys from the controls file at the start of a game.
#include <gtest/gtest.h>

#include "game/SnakeProcedures.h"
#include "support/playfolder.h"

using namespace SnakeProcedures;

namespace {

class KeysFromFile : public ::testing::Test {
protected:
    PlayFolder::Scoped folder;
    BesturingRec keys[3];

    void SetUp() override {
        for (BesturingRec &k : keys) k = BesturingRec{777, 777, 777, 777};
    }
    void TearDown() override { AantalSpelers = 1; }
    // The layout the key screen writes: four numbers and an empty line per player.
    static void WriteTwoPlayersKeys() {
        PlayFolder::WriteBytes("savefiles/controleslang.txt",
                               PlayFolder::CrLfLines({"39", "37", "38", "40", "", "68", "65", "87", "83", ""}));
    }
};

void ExpectKeys(const BesturingRec &k, uint32_t rechts, uint32_t links, uint32_t boven, uint32_t onder) {
    EXPECT_EQ(k.rechts, rechts);
    EXPECT_EQ(k.links, links);
    EXPECT_EQ(k.boven, boven);
    EXPECT_EQ(k.onder, onder);
}

TEST_F(KeysFromFile, OnePlayerReadsOnlyTheFirstFour) {
    WriteTwoPlayersKeys();
    AantalSpelers = 1;
    LeesBesturing(keys);
    ExpectKeys(keys[1], 39, 37, 38, 40);
    ExpectKeys(keys[2], 777, 777, 777, 777);
    ExpectKeys(keys[0], 777, 777, 777, 777);
}

TEST_F(KeysFromFile, TwoPlayersReadEightInFileOrder) {
    WriteTwoPlayersKeys();
    AantalSpelers = 2;
    LeesBesturing(keys);
    ExpectKeys(keys[1], 39, 37, 38, 40);
    ExpectKeys(keys[2], 68, 65, 87, 83);
    ExpectKeys(keys[0], 777, 777, 777, 777);
}

TEST_F(KeysFromFile, OnlyTheOrderOfTheNumbersCounts) {
    // Empty lines, tabs, bare line feeds, the byte 26 and an old longer tail after the tenth line.
    const std::string text("\r\n\r\n 39\t37\n\n38 40\x1a"
                           "68\r65 87\r\n\r\n83\r\n\r\n1234\r\n");
    PlayFolder::WriteBytes("savefiles/controleslang.txt", text);
    AantalSpelers = 2;
    LeesBesturing(keys);
    ExpectKeys(keys[1], 39, 37, 38, 40);
    ExpectKeys(keys[2], 68, 65, 87, 83);
    EXPECT_EQ(PlayFolder::ReadBytes("savefiles/controleslang.txt"), text) << "reading leaves the file alone";
}

TEST_F(KeysFromFile, ADamagedKeyIsTheShippedOneWithOneLine) {
    // No key (0, 1037), a reserved key (P), a key taken already (player 2's 39), and the file ending early.
    PlayFolder::WriteBytes("savefiles/controleslang.txt", PlayFolder::CrLfLines({"0", "1037", "80", "40", "", "39"}));
    AantalSpelers = 2;
    testing::internal::CaptureStderr();
    LeesBesturing(keys);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "savefiles/controleslang.txt is damaged: 7 of its keys are no keys to steer with, the keys as shipped "
              "stand in for them.\n");
    ExpectKeys(keys[1], 39, 37, 38, 40);
    ExpectKeys(keys[2], 68, 65, 87, 83);
}

TEST_F(KeysFromFile, TheShippedKeysAreEightDifferentOnes) {
    PlayFolder::WriteBytes("savefiles/controleslang.txt", PlayFolder::ReadBytes(std::string(KWIBBEL_SOURCE_DIR) +
                                                                                "/data/savefiles/controleslang.txt"));
    AantalSpelers = 2;
    LeesBesturing(keys);
    uint32_t all[8] = {keys[1].rechts, keys[1].links, keys[1].boven, keys[1].onder,
                       keys[2].rechts, keys[2].links, keys[2].boven, keys[2].onder};
    for (int i = 0; i < 8; i++) {
        EXPECT_GT(all[i], 0u);
        EXPECT_LT(all[i], 256u);
        for (int j = 0; j < i; j++) EXPECT_NE(all[i], all[j]) << "keys " << i << " and " << j;
    }
}

}  // namespace
