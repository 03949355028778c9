// The rules alone, linked with nothing but the rules library (no window, drawing or sound): a step as a
// function of a state and an input, its events, how a game ends, and that copies step alike.
#include <gtest/gtest.h>

#include <cstring>

#include "game/rules/Rules.h"

using namespace SnakeProcedures;

namespace {

// A walled arena, mode m, snake 1 (and 2 with two snakes) of length 4 on rows 10 and 20 from column 2.
ToestandRec Start(GameModeEn m, int32_t diff = 2) {
    static ToestandRec t;
    t = ToestandRec{};
    VensterInBlokken(t.Veld);
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++)
            if (r == 1 || r == RIJEN || k == 1 || k == KOLOMMEN) t.Veld[r][k].bezet = MUUR;
    const uint32_t grootte[3] = {0, 4, 4};
    const RijEnKolomRec positie[3] = {{0, 0}, {10, 2}, {20, 2}};
    StandardLib::RandomRec random{};
    random.pseudo = true;
    random.pseudoSeed = 94;
    ModeRec mode = ModeSettings(m);
    mode.automatisch = 0;  // no knurf block but those a case puts down
    NieuwSpel(t, mode, diff, random, grootte, positie, nullptr);
    t.teller = 1;  // the knurf blocks wander in step 0: the cases' blocks stay where they are put
    return t;
}

int Count(const GebeurtenissenRec &uit, GebeurtenisEn soort) {
    int n = 0;
    for (uint32_t i = 0; i < uit.aantal; i++) n += uit.lijst[i].soort == soort ? 1 : 0;
    return n;
}

TEST(Step, EachCellAheadEndsTheStepAsTheRulesSay) {
    struct Case {
        BezetEn bezet;
        SoortBlokjeEn soort;
        bool goesOn;
        OorzaakEn oorzaak;
        int32_t points;
    };
    for (const Case &c :
         {Case{ONBEZET, NORMAAL, true, OORZAAK_GEEN, 0}, Case{MUUR, NORMAAL, false, OORZAAK_MUUR, 0},
          Case{BLOKJE, GIFTIG, false, OORZAAK_GIFTIG, 0}, Case{BLOKJE, NORMAAL, true, OORZAAK_GEEN, 200},
          Case{BLOKJE, SNELLER, true, OORZAAK_GEEN, 200},
          Case{MANUEEL_BLOKJE, NORMAAL, false, OORZAAK_KNURFSPELER, 0}}) {
        ToestandRec t = Start(MODE_ONE_PLAYER);
        t.Veld[10][7].bezet = c.bezet;  // the head is on (10,6), going right
        t.Veld[10][7].soortblokje = c.soort;
        GameEndRec end;
        static GebeurtenissenRec uit;
        uit.aantal = 0;
        EXPECT_EQ(Stap(t, InvoerRec{}, end, &uit), c.goesOn) << "cell " << (int)c.bezet;
        EXPECT_EQ(end.oorzaak[1], c.oorzaak) << "cell " << (int)c.bezet;
        EXPECT_EQ(t.Score[1], c.points);
        EXPECT_EQ(Count(uit, G_GECRASHT), c.goesOn ? 0 : 1);
        EXPECT_EQ(Count(uit, G_BLOKJE_GEGETEN), c.points > 0 ? 1 : 0);
        EXPECT_EQ(Count(uit, G_SNELLER), c.soort == SNELLER && c.goesOn ? 1 : 0);
    }
}

TEST(Step, TurnsHeldKeysAndTheOtherSnakeDecideTheEnd) {
    // A typed turn up, then the held key down is a reversal and is refused.
    ToestandRec t = Start(MODE_ONE_PLAYER);
    InvoerRec in{};
    QueueTurn(t, in, 1, BOVEN, false);
    QueueTurn(t, in, 1, BOVEN, false);  // a repeat
    GameEndRec end;
    ASSERT_TRUE(Stap(t, in, end, nullptr));
    EXPECT_EQ(t.positie[1].rij, 9u);
    in = InvoerRec{};
    in.vast[1] = true;
    in.vastRichting[1] = ONDER;
    ASSERT_TRUE(Stap(t, in, end, nullptr));
    EXPECT_EQ(t.positie[1].rij, 8u) << "held down while going up";

    // Snake 1 turns down into its own body; two snakes: snake 2 into snake 1.
    t = Start(MODE_SNAKE_VS_SNAKE);
    for (PijlEn d : {BOVEN, LINKS, ONDER}) {
        in = InvoerRec{};
        QueueTurn(t, in, 1, d, false);
        Stap(t, in, end, nullptr);
    }
    EXPECT_TRUE(end.crashed[1]);
    EXPECT_EQ(end.oorzaak[1], OORZAAK_EIGEN_LIJF);
    t = Start(MODE_SNAKE_VS_SNAKE);
    t.Veld[20][7] = t.Veld[10][7];  // snake 1's body stands in snake 2's way (its cell keeps its place)
    t.Veld[20][7].x1 = 6 * 20;
    t.Veld[20][7].y1 = 19 * 20;
    t.Veld[20][7].bezet = SLANG;
    EXPECT_FALSE(Stap(t, InvoerRec{}, end, nullptr));
    EXPECT_EQ(end.oorzaak[2], OORZAAK_ANDERE_SLANG);
}

TEST(Step, TheKnurfPlayerWinsTheSnakesPointsUnlessItCaughtTheSnake) {
    ToestandRec t = Start(MODE_SNAKE_VS_KNURF);
    t.Score[1] = 700;
    int32_t punten[3];
    GameEndRec end{};
    end.crashed[1] = true;
    EindPunten(t, end, punten);
    EXPECT_EQ(punten[1], 0);
    EXPECT_EQ(punten[2], 700);
    end.caught = true;
    EindPunten(t, end, punten);
    EXPECT_EQ(punten[1], 700);
    EXPECT_EQ(punten[2], 0);
}

TEST(Step, TwoCopiesWithTheSameInputsStayEqual) {
    ToestandRec a = Start(MODE_SNAKE_VS_SNAKE, 3);
    uint32_t grootte[3] = {0, 4, 4};
    const RijEnKolomRec positie[3] = {{0, 0}, {10, 2}, {20, 2}};
    NieuwSpel(a, ModeSettings(MODE_SNAKE_VS_SNAKE), 3, a.random, grootte, positie, nullptr);
    static ToestandRec b;
    b = a;
    GameEndRec end;
    const PijlEn turns[6] = {BOVEN, LINKS, ONDER, RECHTS, BOVEN, RECHTS};
    for (uint32_t i = 0; i < 60; i++) {
        InvoerRec in{};
        QueueTurn(a, in, 1 + i % 2, turns[i % 6], false);
        bool verder = Stap(a, in, end, nullptr);
        EXPECT_EQ(Stap(b, in, end, nullptr), verder);
        ASSERT_EQ(0, std::memcmp(&a, &b, sizeof a)) << "step " << i;
        if (!verder) break;
    }
}

}  // namespace
