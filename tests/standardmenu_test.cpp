// StandardMenu: button geometry, pictures, the pending click and the polling menu, driven headless with
// simulated pointer input and a wait procedure that plays a script instead of sleeping.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "support/BmpFile.h"
#include "support/StandardMenu.h"
#include "support/waits.h"
#include "wimdows/Wimdows.h"

using namespace StandardMenu;

namespace {

// ---- helpers ------------------------------------------------------------------------------------------

// Writes a w by h picture of one colour (0x00BBGGRR); the left half takes `left` when it differs.
void WriteBmp(const std::string &file, uint32_t w, uint32_t h, uint32_t color, uint32_t left) {
    std::vector<uint32_t> pixels((size_t)w * h, color);
    for (uint32_t y = 0; y < h; y++)
        for (uint32_t x = 0; x < w / 2; x++) pixels[(size_t)y * w + x] = left;
    ASSERT_TRUE(TestBmp::WriteBmp24(file.c_str(), w, h, pixels)) << "cannot write " << file;
}

ButtonRc Box(int32_t x0, int32_t y0, int32_t w, int32_t h) {
    ButtonRc b{};
    b.x0 = x0;
    b.y0 = y0;
    b.width = w;
    b.height = h;
    b.visible = true;
    b.type.withMouseOver = true;
    return b;
}

const uint32_t RED = 0x0000FF, GREEN = 0x00FF00, BLUE = 0xFF0000, GREY = 0x808080, WHITE = 0xFFFFFF;

class StandardMenuTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char tmpl[] = "/tmp/kwibbel-standardmenu-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        // Button picture names hold 30 characters: work inside the folder with short names.
        ASSERT_EQ(getcwd(home, sizeof home), home);
        ASSERT_EQ(chdir(tmpl), 0);
        WriteBmp(dir + "/red.bmp", 8, 8, RED, RED);
        WriteBmp(dir + "/green.bmp", 8, 8, GREEN, GREEN);
        WriteBmp(dir + "/blue.bmp", 8, 8, BLUE, BLUE);
        WriteBmp(dir + "/white.bmp", 8, 8, WHITE, WHITE);
        WriteBmp(dir + "/halfmask.bmp", 8, 8, WHITE, 0);  // left half black, right half white
        WriteBmp(dir + "/grey.bmp", 8, 8, GREY, GREY);
        InitStandardMenu();
    }
    static void TearDownTestSuite() {
        ASSERT_EQ(chdir(home), 0);
        std::system(("rm -rf '" + dir + "'").c_str());
    }

    void SetUp() override {
        Waits::Start(1000);  // a menu that never ends fails the test
        Wimdows::SimulateMouseMove(0, 0);
        DropPendingClick();
    }
    void TearDown() override {
        Waits::Stop();
        DropPendingClick();
    }

    // Consumes whatever click is pending, with a button that covers every position.
    static void DropPendingClick() {
        ButtonRc all = Box(-2000000000, -2000000000, 2100000000, 2100000000);
        all.width = 2147483647;
        all.height = 2147483647;
        ButtonSelected(all);
    }

    static BitmapName Name(const char *file) { return MakeBitmapName(file); }

    static std::string dir;
    static char home[4096];
};
std::string StandardMenuTest::dir;
char StandardMenuTest::home[4096];

// ---- names and geometry -------------------------------------------------------------------------------

TEST_F(StandardMenuTest, BitmapNameKeepsThirtyCharactersAndTerminates) {
    BitmapName n = MakeBitmapName("bitmap/play1.bmp");
    EXPECT_STREQ(n.name, "bitmap/play1.bmp");
    n = MakeBitmapName("0123456789012345678901234567890123456789");
    EXPECT_EQ(std::string(n.name), "012345678901234567890123456789") << "a name holds at most 30 characters";
    n = MakeBitmapName(nullptr);
    EXPECT_STREQ(n.name, "");
}

TEST_F(StandardMenuTest, InButtonExcludesTheLeftColumnAndTopRow) {
    const ButtonRc b = Box(100, 75, 200, 50);
    // Hits: the first and the last pixel strictly inside.
    EXPECT_TRUE(InButton(b, 101, 76));
    EXPECT_TRUE(InButton(b, 299, 124));
    EXPECT_TRUE(InButton(b, 150, 100));
    // Misses: on the left column, the top row, one past the right and bottom edges, and far away.
    EXPECT_FALSE(InButton(b, 100, 100));
    EXPECT_FALSE(InButton(b, 150, 75));
    EXPECT_FALSE(InButton(b, 300, 100));
    EXPECT_FALSE(InButton(b, 150, 125));
    EXPECT_FALSE(InButton(b, -150, -100));
    EXPECT_FALSE(InButton(Box(0, 0, 0, 0), 0, 0)) << "an empty button contains nothing";
}

TEST_F(StandardMenuTest, InButtonDoesNotWrapNearTheEndOfTheRange) {
    const ButtonRc b = Box(2147483000, 2147483000, 2000, 2000);
    EXPECT_TRUE(InButton(b, 2147483600, 2147483600));
    EXPECT_FALSE(InButton(b, 10, 10));
}

TEST_F(StandardMenuTest, VerticalMenuStacksTopsByTheGapWhateverTheHeights) {
    ButtonRc menu[6];
    const int32_t heights[6] = {50, 60, 10, 100, 50, 0};
    for (int k = 0; k < 6; k++) menu[k] = Box(-1, -1, 200 + k, heights[k]);
    SetVerticalMenu(100, 75, 85, menu, 6);
    const int32_t tops[6] = {75, 160, 245, 330, 415, 500};
    for (int k = 0; k < 6; k++) {
        EXPECT_EQ(menu[k].x0, 100) << "button " << k;
        EXPECT_EQ(menu[k].y0, tops[k]) << "button " << k;
        EXPECT_EQ(menu[k].width, 200 + k) << "button " << k << ": width kept";
        EXPECT_EQ(menu[k].height, heights[k]) << "button " << k << ": height kept";
    }
    SetVerticalMenu(1, 2, 3, menu, 0);  // no buttons: nothing changes, nothing breaks
    EXPECT_EQ(menu[0].x0, 100);
}

// ---- creating buttons ---------------------------------------------------------------------------------

TEST_F(StandardMenuTest, CreateButtonLoadsNormalThenMouseOverWithoutMasks) {
    const uint32_t before = Wimdows::LoadBitmap("grey.bmp", 8, 8);
    ASSERT_NE(before, 0u);
    const ButtonRc b = CreateButton(200, 50, Name("red.bmp"), Name("green.bmp"));
    const uint32_t after = Wimdows::LoadBitmap("grey.bmp", 8, 8);
    EXPECT_EQ(after, before + 3) << "exactly two pictures are loaded";
    EXPECT_EQ(b.bitmap[0], before + 1) << "the normal picture loads first";
    EXPECT_EQ(b.bitmap[1], before + 2);
    EXPECT_TRUE(b.type.withMouseOver);
    EXPECT_FALSE(b.type.withMask);
    EXPECT_TRUE(b.visible);
    EXPECT_EQ(b.width, 200);
    EXPECT_EQ(b.height, 50);
}

TEST_F(StandardMenuTest, CreateButtonXSharesTheMaskWhenTheNameStartsWithEquals) {
    ButtonStrings names{Name("red.bmp"), Name("green.bmp"), Name("halfmask.bmp"), MakeBitmapName("=")};
    const uint32_t before = Wimdows::LoadBitmap("grey.bmp", 8, 8);
    const ButtonRc b = CreateButtonX(8, 8, ButtonType{true, true}, names);
    const uint32_t after = Wimdows::LoadBitmap("grey.bmp", 8, 8);
    EXPECT_EQ(after, before + 4) << "three pictures: normal, its mask, mouse-over";
    EXPECT_EQ(b.bitmap[0], before + 1);
    EXPECT_EQ(b.mask[0], before + 2) << "the normal mask loads second";
    EXPECT_EQ(b.bitmap[1], before + 3);
    EXPECT_EQ(b.mask[1], b.mask[0]);
}

TEST_F(StandardMenuTest, CreateButtonXLoadsOnlyWhatTheFlagsAskFor) {
    ButtonStrings names{Name("red.bmp"), Name("green.bmp"), Name("halfmask.bmp"), Name("white.bmp")};
    uint32_t before = Wimdows::LoadBitmap("grey.bmp", 8, 8);
    ButtonRc b = CreateButtonX(8, 8, ButtonType{true, true}, names);
    EXPECT_EQ(b.mask[1], before + 4) << "a mouse-over mask of its own loads last";
    EXPECT_NE(b.mask[1], b.mask[0]);

    before = Wimdows::LoadBitmap("grey.bmp", 8, 8);
    b = CreateButtonX(8, 8, ButtonType{false, true}, names);
    EXPECT_EQ(Wimdows::LoadBitmap("grey.bmp", 8, 8), before + 3) << "picture and mask only";
    EXPECT_EQ(b.mask[0], before + 2);

    before = Wimdows::LoadBitmap("grey.bmp", 8, 8);
    b = CreateButtonX(8, 8, ButtonType{false, false}, names);
    EXPECT_EQ(Wimdows::LoadBitmap("grey.bmp", 8, 8), before + 2) << "the picture only";
    EXPECT_EQ(b.bitmap[0], before + 1);
}

TEST_F(StandardMenuTest, AButtonWithMissingPicturesStaysClickable) {
    ButtonRc b = CreateButton(200, 50, Name("nothere.bmp"), Name("nothere2.bmp"));
    EXPECT_EQ(b.bitmap[0], 0u);
    EXPECT_EQ(b.bitmap[1], 0u);
    SetVerticalMenu(100, 75, 85, &b, 1);
    ButtonSelected(b);  // registers the handler
    Wimdows::SimulateLeftUp(150, 100);
    EXPECT_TRUE(ButtonSelected(b));
}

// ---- the pending click --------------------------------------------------------------------------------

TEST_F(StandardMenuTest, AClickIsConsumedOnceByTheButtonThatContainsIt) {
    ButtonRc b = Box(100, 75, 200, 50);
    ButtonRc other = Box(100, 160, 200, 50);
    ButtonSelected(b);
    Wimdows::SimulateLeftUp(150, 100);
    EXPECT_FALSE(ButtonSelected(other)) << "a click outside a button does not select it";
    EXPECT_TRUE(ButtonSelected(b));
    EXPECT_FALSE(ButtonSelected(b)) << "the click was consumed";
}

TEST_F(StandardMenuTest, ANewerClickReplacesAnOlderOne) {
    ButtonRc top = Box(100, 75, 200, 50);
    ButtonRc bottom = Box(100, 160, 200, 50);
    ButtonSelected(top);
    Wimdows::SimulateLeftUp(150, 100);
    Wimdows::SimulateLeftUp(150, 180);
    EXPECT_FALSE(ButtonSelected(top)) << "the older click is gone";
    EXPECT_TRUE(ButtonSelected(bottom));
}

TEST_F(StandardMenuTest, AnInvisibleButtonIsNeverSelectedAndLeavesTheClick) {
    ButtonRc b = Box(100, 75, 200, 50);
    ButtonSelected(b);
    b.visible = false;
    Wimdows::SimulateLeftUp(150, 100);
    EXPECT_FALSE(ButtonSelected(b));
    b.visible = true;
    EXPECT_TRUE(ButtonSelected(b)) << "the click stayed pending";
}

// ---- the menu -----------------------------------------------------------------------------------------

TEST_F(StandardMenuTest, MenuIgnoresMissesAndReturnsTheButtonClickedLater) {
    ButtonRc menu[3] = {Box(0, 0, 200, 50), Box(0, 0, 200, 50), Box(0, 0, 200, 50)};
    SetVerticalMenu(100, 75, 85, menu, 3);
    Waits::Current().run = [](int wait, uint32_t) {
        if (wait == 1) Wimdows::SimulateLeftUp(150, 140);  // between the first two buttons
        if (wait == 3) Wimdows::SimulateLeftUp(150, 250);  // inside the third
    };
    EXPECT_EQ(MenuSelection(menu, 3), 2);
    EXPECT_EQ(Waits::Current().count, 3) << "the click is taken on the pass right after it";
    for (uint32_t ms : Waits::Current().lengths) EXPECT_EQ(ms, 25u) << "a menu pass waits 25 ms";
}

TEST_F(StandardMenuTest, OverlappingButtonsGiveTheLowerIndex) {
    ButtonRc menu[2] = {Box(100, 75, 200, 50), Box(150, 80, 200, 50)};
    Waits::Current().run = [](int wait, uint32_t) {
        if (wait == 1) Wimdows::SimulateLeftUp(200, 100);
    };
    EXPECT_EQ(MenuSelection(menu, 2), 0);
    Waits::Current().count = 0;
    Waits::Current().run = [](int wait, uint32_t) {
        if (wait == 1) Wimdows::SimulateLeftUp(320, 100);  // only the second covers it
    };
    EXPECT_EQ(MenuSelection(menu, 2), 1);
}

TEST_F(StandardMenuTest, AnInvisibleButtonOfAMenuCannotBeChosen) {
    ButtonRc menu[2] = {Box(100, 75, 200, 50), Box(100, 160, 200, 50)};
    menu[0].visible = false;
    Waits::Current().run = [](int wait, uint32_t) {
        if (wait == 1) Wimdows::SimulateLeftUp(150, 100);  // on the invisible one
        if (wait == 2) Wimdows::SimulateLeftUp(150, 180);
    };
    EXPECT_EQ(MenuSelection(menu, 2), 1);
    EXPECT_EQ(Waits::Current().count, 2);
}

TEST_F(StandardMenuTest, AClickReleasedBeforeTheMenuShowedChoosesNothing) {
    ButtonRc menu[2] = {Box(100, 75, 200, 50), Box(100, 160, 200, 50)};
    ButtonSelected(menu[0]);
    Wimdows::SimulateLeftUp(150, 100);
    Wimdows::SimulateLeftUp(150, 100);
    Waits::Current().run = [](int wait, uint32_t) {
        if (wait == 2) Wimdows::SimulateLeftUp(150, 180);
    };
    EXPECT_EQ(MenuSelection(menu, 2), 1) << "the menu waits until its own click comes";
    EXPECT_EQ(Waits::Current().count, 2);
}

TEST_F(StandardMenuTest, TheSecondHalfOfADoubleClickChoosesNothingInTheNextMenu) {
    ButtonRc first[1] = {Box(100, 75, 200, 50)};
    ButtonRc next[2] = {Box(400, 75, 200, 50), Box(100, 90, 200, 50)};
    // Its release comes before the next menu shows, or after it.
    for (bool late : {false, true}) {
        SCOPED_TRACE(late ? "released after the next menu showed" : "released before it showed");
        Waits::Current().count = 0;
        Waits::Current().run = [](int wait, uint32_t) {
            if (wait == 1) Wimdows::SimulateLeftUp(150, 100);
        };
        EXPECT_EQ(MenuSelection(first, 1), 0);
        Wimdows::SimulateLeftDouble(150, 100);
        if (!late) Wimdows::SimulateLeftUp(150, 100);
        Waits::Current().count = 0;
        Waits::Current().run = [late](int wait, uint32_t) {
            if (wait == 1 && late) Wimdows::SimulateLeftUp(150, 100);
            if (wait == 3) Wimdows::SimulateLeftUp(450, 100);
        };
        EXPECT_EQ(MenuSelection(next, 2), 0);
        EXPECT_EQ(Waits::Current().count, 3);
    }
    // A double click made within one menu whose first click missed: the second click counts.
    Waits::Current().count = 0;
    Waits::Current().run = [](int wait, uint32_t) {
        if (wait == 1) Wimdows::SimulateLeftUp(90, 100);
        if (wait == 2) {
            Wimdows::SimulateLeftDouble(101, 100);
            Wimdows::SimulateLeftUp(101, 100);
        }
    };
    EXPECT_EQ(MenuSelection(next, 2), 1);
    EXPECT_EQ(Waits::Current().count, 2);
}

TEST_F(StandardMenuTest, AClickBesideEveryButtonWaitsForALaterMenu) {
    ButtonRc small[1] = {Box(100, 75, 50, 50)};
    Waits::Current().run = [](int wait, uint32_t) {
        if (wait == 1) Wimdows::SimulateLeftUp(500, 500);
        if (wait == 3) Wimdows::SimulateLeftUp(120, 100);
    };
    EXPECT_EQ(MenuSelection(small, 1), 0);
    EXPECT_EQ(Waits::Current().count, 3) << "the click beside the button did not end the menu";
}

TEST_F(StandardMenuTest, EmptyMenuReturnsAtOnce) {
    EXPECT_EQ(MenuSelection(nullptr, 0), -1);
    ButtonRc one = Box(0, 0, 1, 1);
    EXPECT_EQ(MenuSelection(&one, 0), -1);
    EXPECT_EQ(Waits::Current().count, 0);
}

// ---- drawing, with a window under the dummy video driver -----------------------------------------------

class StandardMenuDrawTest : public StandardMenuTest {
protected:
    void SetUp() override {
        StandardMenuTest::SetUp();
        Wimdows::Window("standardmenu", 320, 240);
        ASSERT_EQ(Wimdows::State(), Wimdows::STATE_ACTIVE) << "no window under the dummy driver";
        Wimdows::SetBuffering(true);
        Wimdows::ClearScreen();
    }
    void TearDown() override {
        Wimdows::KillWindow();
        StandardMenuTest::TearDown();
    }
};

TEST_F(StandardMenuDrawTest, MouseOverPictureOnlyStrictlyInside) {
    ButtonRc b = CreateButton(8, 8, Name("red.bmp"), Name("green.bmp"));
    b.x0 = 40;
    b.y0 = 30;
    Wimdows::SimulateMouseMove(44, 34);
    DrawButton(b);
    EXPECT_EQ(Wimdows::BufferPixel(44, 34), GREEN) << "pointer inside: mouse-over picture";
    Wimdows::SimulateMouseMove(40, 34);
    DrawButton(b);
    EXPECT_EQ(Wimdows::BufferPixel(44, 34), RED) << "pointer on the left column: normal picture";
    Wimdows::SimulateMouseMove(47, 37);
    DrawButton(b);
    EXPECT_EQ(Wimdows::BufferPixel(40, 30), GREEN) << "last pixel inside: mouse-over picture";
    Wimdows::SimulateMouseMove(48, 34);
    DrawButton(b);
    EXPECT_EQ(Wimdows::BufferPixel(47, 37), RED);
}

TEST_F(StandardMenuDrawTest, InvisibleButtonDrawsNothing) {
    ButtonRc b = CreateButton(8, 8, Name("red.bmp"), Name("green.bmp"));
    b.x0 = 10;
    b.y0 = 10;
    b.visible = false;
    DrawButton(b);
    EXPECT_EQ(Wimdows::BufferPixel(12, 12), 0u);
}

TEST_F(StandardMenuDrawTest, MaskedButtonKeepsTheBackgroundWhereTheMaskIsBlack) {
    ButtonStrings names{Name("red.bmp"), Name("green.bmp"), Name("halfmask.bmp"), MakeBitmapName("=")};
    ButtonRc b = CreateButtonX(8, 8, ButtonType{true, true}, names);
    b.x0 = 100;
    b.y0 = 100;
    Wimdows::Rectangle(90, 90, 120, 120, BLUE, true);
    DrawButton(b);
    EXPECT_EQ(Wimdows::BufferPixel(101, 104), BLUE) << "black mask half keeps the background";
    EXPECT_EQ(Wimdows::BufferPixel(106, 104), RED) << "white mask half shows the picture";
    Wimdows::SimulateMouseMove(106, 104);
    DrawButton(b);
    EXPECT_EQ(Wimdows::BufferPixel(101, 104), BLUE);
    EXPECT_EQ(Wimdows::BufferPixel(106, 104), GREEN) << "mouse-over picture through the shared mask";
}

TEST_F(StandardMenuDrawTest, EachPassShowsWhatThePassBeforeDrew) {
    ButtonRc menu[1] = {CreateButton(8, 8, Name("red.bmp"), Name("green.bmp"))};
    menu[0].x0 = 20;
    menu[0].y0 = 20;
    Wimdows::SimulateMouseMove(24, 24);
    std::vector<uint32_t> shown;
    Waits::Current().run = [&shown](int wait, uint32_t) {
        shown.push_back(Wimdows::ScreenPixel(24, 24));
        if (wait == 2) Wimdows::SimulateMouseMove(200, 200);
        if (wait == 5) Wimdows::SimulateLeftUp(24, 24);
    };
    EXPECT_EQ(MenuSelection(menu, 1), 0);
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0], GREEN) << "the buttons are shown before the menu waits for a click";
    EXPECT_EQ(shown[1], GREEN);
    EXPECT_EQ(shown[3], RED) << "two passes after the pointer left, the normal picture shows";
}

TEST_F(StandardMenuDrawTest, TheKeyboardMovesAHighlightRoundAndPicks) {
    // Three buttons in a column; button 1 is invisible and skipped. The highlight is the mouse-over picture.
    ButtonRc menu[3];
    for (int k = 0; k < 3; k++) {
        menu[k] = CreateButton(8, 8, Name("red.bmp"), Name("green.bmp"));
        menu[k].x0 = 20;
        menu[k].y0 = 20 + 20 * k;
    }
    menu[1].visible = false;
    auto lit = [] {
        std::string s;
        for (int k = 0; k < 3; k++) s += Wimdows::BufferPixel(24, 24 + 20 * k) == GREEN ? '*' : '.';
        return s;
    };
    auto tap = [](Wimdows::KeyCode key) {
        Wimdows::SimulateKeyDown(key);
        Wimdows::SimulateKeyUp(key);
    };
    std::vector<std::string> seen;
    tap(Wimdows::KEY_ENTER);  // typed before the menu showed: picks nothing
    Waits::Current().run = [&](int wait, uint32_t) {
        seen.push_back(lit());
        if (wait == 1) tap(Wimdows::KEY_DOWN);  // the first arrow lights the first button
        if (wait == 2) tap(Wimdows::KEY_UP);    // round to the last
        if (wait == 3) tap(Wimdows::KEY_RIGHT);
        if (wait == 4) Wimdows::SimulateMouseMove(200, 200);  // the mouse takes over: nothing lit
        if (wait == 5) tap(Wimdows::KEY_LEFT);
        if (wait == 6) tap(Wimdows::KEY_ENTER);
    };
    EXPECT_EQ(MenuSelection(menu, 3), 2);
    EXPECT_EQ(seen, (std::vector<std::string>{"...", "*..", "..*", "*..", "...", "..*"}));

    // Picked with the keyboard, the next menu starts lit on its first button; Escape picks its way back.
    seen.clear();
    Waits::Current().run = [&](int wait, uint32_t) {
        seen.push_back(lit());
        if (wait == 1) tap(Wimdows::KEY_ESCAPE);
    };
    Waits::Current().count = 0;
    EXPECT_EQ(MenuSelection(menu, 3, 2), 2);
    EXPECT_EQ(seen, (std::vector<std::string>{"*.."}));
    // A menu given a start button (a setting's current choice) starts lit there.
    seen.clear();
    Waits::Current().count = 0;
    EXPECT_EQ(MenuSelection(menu, 3, 2, 2), 2);
    EXPECT_EQ(seen, (std::vector<std::string>{"..*"}));
    Waits::Current().run = [&](int wait, uint32_t) {
        if (wait == 1) tap(Wimdows::KEY_ESCAPE);  // no way back in this menu: nothing happens
        if (wait == 2) Wimdows::SimulateLeftUp(24, 24);
    };
    Waits::Current().count = 0;
    EXPECT_EQ(MenuSelection(menu, 3), 0);
}

}  // namespace
