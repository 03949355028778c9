// The drawing surface of the window layer, on SDL's dummy video driver: picture handles and sharing,
// scaling, rectangles, colours, masks, text, direct and buffered showing, and drawing without a window.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include <SDL.h>
#include <SDL_image.h>

#include "support/BmpFile.h"
#include "support/eventually.h"
#include "wimdows/Wimdows.h"
#include "wimdows/WimdowsInternal.h"

using namespace Wimdows;

namespace {

const int kW = 200, kH = 150;

// Runs before SDL starts when a test program is started by hand instead of by ctest.
const int kDummyDriver = setenv("SDL_VIDEODRIVER", "dummy", 0);

std::string gDir;

std::string FilePath(const std::string &name) { return gDir + "/" + name; }

// How many pixels of the back buffer inside (x0..x1, y0..y1) have colour c.
int CountBuffer(int x0, int y0, int x1, int y1, uint32_t c) {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) n += BufferPixel(x, y) == c;
    return n;
}

int CountScreen(int x0, int y0, int x1, int y1, uint32_t c) {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) n += ScreenPixel(x, y) == c;
    return n;
}

std::vector<uint32_t> Snapshot() {
    std::vector<uint32_t> v;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) v.push_back(BufferPixel(x, y));
    return v;
}

class DrawingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char templ[] = "/tmp/wimdows-drawing-XXXXXX";
        ASSERT_NE(mkdtemp(templ), nullptr);
        gDir = templ;
    }
    static void TearDownTestSuite() {
        std::string cmd = "rm -rf '" + gDir + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }
    void SetUp() override {
        (void)kDummyDriver;
        Window("Kwibbel test", kW, kH);
        ASSERT_EQ(State(), STATE_ACTIVE) << "the dummy driver should give a window";
    }
    void TearDown() override { KillWindow(); }
};

// ---- picture handles -------------------------------------------------------------------------------------

TEST_F(DrawingTest, HandlesCountSuccessfulLoadsOnly) {
    ASSERT_TRUE(TestBmp::WriteSolidBmp(FilePath("a.bmp").c_str(), 4, 4, 0x0000FF));
    ASSERT_TRUE(TestBmp::WriteSolidBmp(FilePath("b.bmp").c_str(), 4, 4, 0x00FF00));
    std::FILE *junk = std::fopen(FilePath("junk.bmp").c_str(), "wb");
    ASSERT_NE(junk, nullptr);
    std::fputs("not a picture at all", junk);
    std::fclose(junk);

    EXPECT_EQ(LoadBitmap(FilePath("a.bmp").c_str(), 4, 4), 1u);
    EXPECT_EQ(LoadBitmap(FilePath("missing.bmp").c_str(), 4, 4), 0u) << "a missing file gives 0";
    EXPECT_EQ(LoadBitmap(FilePath("junk.bmp").c_str(), 4, 4), 0u) << "a file that is no BMP gives 0";
    EXPECT_EQ(LoadBitmap(nullptr, 4, 4), 0u);
    EXPECT_EQ(LoadBitmap(FilePath("b.bmp").c_str(), 4, 4), 2u) << "failed loads use up no number";
    EXPECT_EQ(LoadBitmap(FilePath("a.bmp").c_str(), 4, 4), 3u) << "a second load of a file takes its own handle";
}

TEST_F(DrawingTest, BadHandlesDrawNothing) {
    ASSERT_TRUE(TestBmp::WriteSolidBmp(FilePath("red.bmp").c_str(), 8, 8, 0x0000FF));
    uint32_t red = LoadBitmap(FilePath("red.bmp").c_str(), 8, 8);
    ASSERT_EQ(red, 1u);
    std::vector<uint32_t> before = Snapshot();
    DrawBitmap(0, 10, 10);
    DrawBitmap(2, 10, 10);
    DrawBitmap(0xFFFFFFFFu, 10, 10);
    DrawMaskBitmap(red, 0, 10, 10);
    DrawMaskBitmap(0, red, 10, 10);
    DrawMaskBitmap(red, 7, 10, 10);
    EXPECT_EQ(Snapshot(), before) << "handles 0 and above the table must draw nothing";
    DrawBitmap(red, 10, 10);
    EXPECT_EQ(CountBuffer(10, 10, 17, 17, 0x0000FF), 64);
}

TEST_F(DrawingTest, SameFileAndSizeSharesThePixels) {
    std::string f = FilePath("shared.bmp");
    ASSERT_TRUE(TestBmp::WriteSolidBmp(f.c_str(), 6, 6, 0x0000FF));
    uint32_t first = LoadBitmap(f.c_str(), 6, 6);
    // The file changes on disk; a load at the same size takes the pixels already in memory,
    // a load at another size reads the file again.
    ASSERT_TRUE(TestBmp::WriteSolidBmp(f.c_str(), 6, 6, 0x00FF00));
    uint32_t again = LoadBitmap(f.c_str(), 6, 6);
    uint32_t bigger = LoadBitmap(f.c_str(), 12, 12);
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(again, 2u);
    EXPECT_EQ(bigger, 3u);
    DrawBitmap(again, 0, 0);
    EXPECT_EQ(BufferPixel(3, 3), 0x0000FFu) << "the second load should share the first one's pixels";
    DrawBitmap(bigger, 20, 0);
    EXPECT_EQ(CountBuffer(20, 0, 31, 11, 0x00FF00), 144) << "another size is a picture of its own";
    // A shared picture is not loaded for a file that is gone.
    ASSERT_EQ(std::remove(f.c_str()), 0);
    EXPECT_EQ(LoadBitmap(f.c_str(), 6, 6), 0u);
}

TEST_F(DrawingTest, PicturesLoadWithoutAWindowAndDieWithTheNextOne) {
    KillWindow();
    ASSERT_TRUE(TestBmp::WriteSolidBmp(FilePath("early.bmp").c_str(), 5, 5, 0xB00000));
    uint32_t early = LoadBitmap(FilePath("early.bmp").c_str(), 5, 5);
    EXPECT_EQ(early, 1u) << "loading does not need a window";
    Window("Kwibbel test", kW, kH);
    ASSERT_EQ(State(), STATE_ACTIVE);
    DrawBitmap(early, 0, 0);
    EXPECT_EQ(BufferPixel(4, 4), 0xB00000u) << "a picture loaded before the window draws in it";

    // Opening a window while one is open closes the old one and frees its pictures.
    Window("Kwibbel test", kW, kH);
    ASSERT_EQ(State(), STATE_ACTIVE);
    DrawBitmap(early, 0, 0);
    EXPECT_EQ(BufferPixel(4, 4), 0u) << "handles of a closed window must be gone";
    EXPECT_EQ(LoadBitmap(FilePath("early.bmp").c_str(), 5, 5), 1u) << "the new window's table starts at 1";
}

// ---- scaling ---------------------------------------------------------------------------------------------

TEST_F(DrawingTest, WholeEnlargementKeepsPixelsCrisp) {
    // 2 by 2: red, green / blue, white; drawn at 6 by 6 each becomes a 3 by 3 block.
    ASSERT_TRUE(TestBmp::WriteBmp24(FilePath("quad.bmp").c_str(), 2, 2, {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF}));
    uint32_t q = LoadBitmap(FilePath("quad.bmp").c_str(), 6, 6);
    DrawBitmap(q, 0, 0);
    EXPECT_EQ(CountBuffer(0, 0, 2, 2, 0x0000FF), 9);
    EXPECT_EQ(CountBuffer(3, 0, 5, 2, 0x00FF00), 9);
    EXPECT_EQ(CountBuffer(0, 3, 2, 5, 0xFF0000), 9);
    EXPECT_EQ(CountBuffer(3, 3, 5, 5, 0xFFFFFF), 9);
    EXPECT_EQ(BufferPixel(6, 0), 0u) << "the picture is drawn at its loaded size, no wider";
}

TEST_F(DrawingTest, ReductionAveragesAndOddSizesBlend) {
    // Columns alternate black and white: halved, every pixel is the average grey.
    std::vector<uint32_t> stripes;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) stripes.push_back(x % 2 ? 0xFFFFFF : 0x000000);
    ASSERT_TRUE(TestBmp::WriteBmp24(FilePath("stripes.bmp").c_str(), 8, 4, stripes));
    DrawBitmap(LoadBitmap(FilePath("stripes.bmp").c_str(), 4, 2), 0, 0);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(BufferPixel(x, 0), 0x808080u) << "column " << x;

    // Black to white over 2 pixels stretched to 5: the ends keep their colour, the middle runs between.
    ASSERT_TRUE(TestBmp::WriteBmp24(FilePath("ramp.bmp").c_str(), 2, 1, {0x000000, 0xFFFFFF}));
    DrawBitmap(LoadBitmap(FilePath("ramp.bmp").c_str(), 5, 1), 0, 10);
    EXPECT_EQ(BufferPixel(0, 10), 0x000000u);
    EXPECT_EQ(BufferPixel(4, 10), 0xFFFFFFu);
    uint32_t prev = 0;
    for (int x = 1; x < 4; ++x) {
        uint32_t g = BufferPixel(x, 10) & 0xFF;
        EXPECT_GT(g, prev) << "the ramp must rise at " << x;
        EXPECT_LT(g, 255u);
        EXPECT_EQ(BufferPixel(x, 10), g * 0x010101u) << "a grey ramp stays grey";
        prev = g;
    }
}

TEST_F(DrawingTest, ZeroSizeMeansTheFilesOwnSize) {
    ASSERT_TRUE(TestBmp::WriteSolidBmp(FilePath("own.bmp").c_str(), 7, 3, 0x00B000));
    DrawBitmap(LoadBitmap(FilePath("own.bmp").c_str(), 0, 0), 0, 0);
    EXPECT_EQ(CountBuffer(0, 0, 9, 5, 0x00B000), 21);
    EXPECT_EQ(BufferPixel(7, 0), 0u);
    EXPECT_EQ(BufferPixel(0, 3), 0u);
}

// ---- rectangles and colours ------------------------------------------------------------------------------

TEST_F(DrawingTest, RectangleCornersAreSortedAndIncluded) {
    Rectangle(30, 40, 10, 20, 0x00FF00, true);
    EXPECT_EQ(CountBuffer(0, 0, kW - 1, kH - 1, 0x00FF00), 21 * 21);
    EXPECT_EQ(CountBuffer(10, 20, 30, 40, 0x00FF00), 21 * 21);
    std::vector<uint32_t> swapped = Snapshot();
    ClearScreen();
    Rectangle(10, 20, 30, 40, 0x00FF00, true);
    EXPECT_EQ(Snapshot(), swapped) << "both corner orders paint the same pixels";
    ClearScreen();
    Rectangle(10, 40, 30, 20, 0x00FF00, true);
    EXPECT_EQ(Snapshot(), swapped) << "only the y corners swapped";
}

TEST_F(DrawingTest, SinglePixelAndOutline) {
    Rectangle(5, 5, 5, 5, 0xFFFFFF, false);
    EXPECT_EQ(CountBuffer(0, 0, kW - 1, kH - 1, 0xFFFFFF), 1);
    EXPECT_EQ(BufferPixel(5, 5), 0xFFFFFFu);

    Rectangle(20, 20, 40, 30, 0xC0C0C0, true);
    Rectangle(20, 20, 40, 30, 0x0000B0, false);
    EXPECT_EQ(CountBuffer(20, 20, 40, 30, 0x0000B0), 2 * 21 + 2 * 9) << "a frame of one pixel";
    EXPECT_EQ(CountBuffer(21, 21, 39, 29, 0xC0C0C0), 19 * 9) << "the outline leaves the inside as it was";
    EXPECT_EQ(BufferPixel(19, 20), 0u);
    EXPECT_EQ(BufferPixel(41, 30), 0u);
}

TEST_F(DrawingTest, RectanglesAreClippedToTheBuffer) {
    Rectangle(-10, -10, 2, 2, 0xFF0000, true);
    EXPECT_EQ(CountBuffer(0, 0, kW - 1, kH - 1, 0xFF0000), 9);
    ClearScreen();
    Rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0x00FF00, true);
    EXPECT_EQ(CountBuffer(0, 0, kW - 1, kH - 1, 0x00FF00), kW * kH) << "extreme corners fill everything";
    ClearScreen();
    // A frame whose left and top edges lie outside: only its right and bottom edges show.
    Rectangle(-5, -5, 10, 10, 0x0000FF, false);
    EXPECT_EQ(CountBuffer(0, 0, kW - 1, kH - 1, 0x0000FF), 11 + 11 - 1);
    ClearScreen();
    Rectangle(kW, kH, kW + 10, kH + 10, 0x0000FF, true);
    Rectangle(-20, 5, -1, 8, 0x0000FF, false);
    EXPECT_EQ(CountBuffer(0, 0, kW - 1, kH - 1, 0x0000FF), 0) << "wholly outside draws nothing";
}

TEST_F(DrawingTest, AKeptAreaComesBackWithoutATrace) {
    SetBuffering(true);
    for (int y = 0; y < kH; y += 3) Rectangle(0, y, kW - 1, y, 0x102030 + (uint32_t)y, true);
    UpdateWindow();
    std::vector<uint32_t> before = Snapshot();
    KeepArea(kW + 5, 30, 20, 10);  // corners in any order, clipped to the buffer
    Rectangle(0, 0, kW - 1, kH - 1, 0x00FF00, true);
    RestoreArea();
    EXPECT_EQ(CountBuffer(20, 10, kW - 1, 30, 0x00FF00), 0) << "the kept rectangle is back";
    EXPECT_EQ(BufferPixel(19, 10), 0x00FF00u) << "outside it the new drawing stays";
    EXPECT_EQ(BufferPixel(20, 31), 0x00FF00u);
    UpdateWindow();
    EXPECT_EQ(ScreenPixel(25, 12), before[12 * kW + 25]) << "a restored area shows at the next update";
    Rectangle(0, 0, kW - 1, kH - 1, 0x0000FF, true);
    RestoreArea();
    EXPECT_EQ(CountBuffer(0, 0, kW - 1, kH - 1, 0x0000FF), kW * kH) << "a copy is put back once only";
}

TEST_F(DrawingTest, ANoteShowsOverEveryPictureUntilItsTimeIsUp) {
    SetBuffering(true);
    Rectangle(0, 0, kW - 1, kH - 1, 0x203040, true);
    UpdateWindow();
    ShowNote(Note{10, 10, 40, 30, 0x0000FF, 0x00FF00, "", 1, 0, 0, 0}, 300);
    EXPECT_EQ(ScreenPixel(20, 20), 0x0000FFu) << "the note shows at once";
    EXPECT_EQ(ScreenPixel(10, 10), 0x00FF00u) << "in its frame";
    EXPECT_EQ(BufferPixel(20, 20), 0x203040u) << "the back buffer never holds it";
    Rectangle(0, 0, kW - 1, kH - 1, 0x405060, true);
    UpdateWindow();
    EXPECT_EQ(ScreenPixel(20, 20), 0x0000FFu) << "a new picture under it leaves it on top";
    EXPECT_EQ(ScreenPixel(50, 20), 0x405060u);
    EXPECT_TRUE(Eventually([] { return ScreenPixel(20, 20) == 0x405060u; }))
        << "the note went by itself, and what is under it shows";
}

TEST_F(DrawingTest, ColoursAreBgrAndIgnoreTheTopByte) {
    Rectangle(0, 0, 0, 0, 0xFF0000FF, true);
    Rectangle(1, 0, 1, 0, 255, true);
    Rectangle(2, 0, 2, 0, 0x12B00000, true);
    Rectangle(3, 0, 3, 0, 0xC0C0C0, true);
    EXPECT_EQ(BufferPixel(0, 0), 255u) << "0xFF0000FF is the same red as 255";
    EXPECT_EQ(BufferPixel(1, 0), 255u);
    EXPECT_EQ(BufferPixel(2, 0), 0xB00000u) << "dark blue";
    EXPECT_EQ(BufferPixel(3, 0), 0xC0C0C0u);
    // The picture the window gets is in the same colours.
    EXPECT_EQ(ScreenPixel(0, 0), 255u);
    EXPECT_EQ(ScreenPixel(2, 0), 0xB00000u);
}

TEST_F(DrawingTest, ClearScreenBlackensBufferAndWindow) {
    Rectangle(0, 0, kW - 1, kH - 1, 0x345678, true);
    ClearScreen();
    EXPECT_EQ(CountBuffer(0, 0, kW - 1, kH - 1, 0), kW * kH);
    EXPECT_EQ(CountScreen(0, 0, kW - 1, kH - 1, 0), kW * kH) << "in direct mode the window is black too";
}

// ---- direct and buffered showing ---------------------------------------------------------------------------

TEST_F(DrawingTest, DirectModeShowsEachCallAtOnce) {
    EXPECT_EQ(ScreenPixel(50, 50), 0u) << "the first picture is black";
    Rectangle(50, 50, 60, 60, 0x00FF00, true);
    EXPECT_EQ(CountScreen(50, 50, 60, 60, 0x00FF00), 121);
    ASSERT_TRUE(TestBmp::WriteSolidBmp(FilePath("p.bmp").c_str(), 3, 3, 0x0000FF));
    DrawBitmap(LoadBitmap(FilePath("p.bmp").c_str(), 3, 3), 100, 100);
    EXPECT_EQ(CountScreen(100, 100, 102, 102, 0x0000FF), 9);
}

TEST_F(DrawingTest, BufferedModeShowsOnlyWhenAsked) {
    SetBuffering(true);
    Rectangle(10, 10, 20, 20, 0x0000FF, true);
    ASSERT_TRUE(TestBmp::WriteSolidBmp(FilePath("q.bmp").c_str(), 3, 3, 0x00FF00));
    DrawBitmap(LoadBitmap(FilePath("q.bmp").c_str(), 3, 3), 100, 100);
    SetFont(0, 0xFFFFFF);
    Text("Kwibbel", 30, 60);
    EXPECT_EQ(BufferPixel(15, 15), 0x0000FFu);
    EXPECT_EQ(CountScreen(0, 0, kW - 1, kH - 1, 0), kW * kH) << "nothing reaches the window before UpdateWindow";
    UpdateWindow();
    EXPECT_EQ(CountScreen(10, 10, 20, 20, 0x0000FF), 121);
    EXPECT_EQ(CountScreen(100, 100, 102, 102, 0x00FF00), 9);
    EXPECT_GT(CountScreen(30, 60, kW - 1, 100, 0xFFFFFF), 0) << "the text shows too";

    // An unchanged picture shows the same; a change shows after the next UpdateWindow only.
    UpdateWindow();
    EXPECT_EQ(ScreenPixel(15, 15), 0x0000FFu);
    Rectangle(10, 10, 20, 20, 0x00FF00, true);
    Rectangle(10, 10, 20, 20, 0x0000FF, true);  // drawn back as it was
    Rectangle(0, 140, 0, 140, 0xFFFFFF, true);
    EXPECT_EQ(ScreenPixel(0, 140), 0u);
    UpdateWindow();
    EXPECT_EQ(ScreenPixel(0, 140), 0xFFFFFFu);
    EXPECT_EQ(ScreenPixel(15, 15), 0x0000FFu);
}

TEST_F(DrawingTest, BufferedDrawingsFarApartAllShow) {
    SetBuffering(true);
    // Two pieces in one row at both ends, one in a far row, one pixel drawn and then drawn back.
    Rectangle(0, 5, 2, 5, 0x0000FF, true);
    Rectangle(kW - 3, 5, kW - 1, 5, 0x00FF00, true);
    Rectangle(kW - 1, kH - 1, kW - 1, kH - 1, 0xFF0000, true);
    Rectangle(400, 300, 400, 300, 0xFFFFFF, true);
    Rectangle(400, 300, 400, 300, 0, true);
    UpdateWindow();
    EXPECT_EQ(CountScreen(0, 5, 2, 5, 0x0000FF), 3);
    EXPECT_EQ(CountScreen(kW - 3, 5, kW - 1, 5, 0x00FF00), 3);
    EXPECT_EQ(CountScreen(3, 5, kW - 4, 5, 0), kW - 6) << "the row between the pieces stays black";
    EXPECT_EQ(ScreenPixel(kW - 1, kH - 1), 0xFF0000u);
    EXPECT_EQ(ScreenPixel(400, 300), 0u);
    // After a show, only what is drawn next counts: a row drawn before is not shown again from stale marks.
    Rectangle(0, 5, 0, 5, 0xFFFFFF, true);
    UpdateWindow();
    EXPECT_EQ(ScreenPixel(0, 5), 0xFFFFFFu);
    EXPECT_EQ(ScreenPixel(1, 5), 0x0000FFu);
}

TEST_F(DrawingTest, SwitchingBufferingOffShowsEverything) {
    SetBuffering(true);
    Rectangle(0, 0, kW - 1, kH - 1, 0xC0C0C0, true);
    SetBuffering(true);
    EXPECT_EQ(ScreenPixel(5, 5), 0u) << "SetBuffering(TRUE) shows nothing new";
    SetBuffering(false);
    EXPECT_EQ(CountScreen(0, 0, kW - 1, kH - 1, 0xC0C0C0), kW * kH) << "SetBuffering(FALSE) shows the whole buffer";
    Rectangle(1, 1, 1, 1, 0x0000FF, true);
    EXPECT_EQ(ScreenPixel(1, 1), 0x0000FFu) << "direct again";
}

TEST_F(DrawingTest, SaveScreenWritesWhatTheWindowShows) {
    SetBuffering(true);
    Rectangle(0, 0, 9, 9, 0x0000FF, true);
    UpdateWindow();
    Rectangle(0, 0, 9, 9, 0x00FF00, true);  // not shown yet
    std::string f = FilePath("shot.bmp");
    ASSERT_TRUE(SaveScreen(f.c_str()));
    SetBuffering(false);
    ClearScreen();
    DrawBitmap(LoadBitmap(f.c_str(), 0, 0), 0, 0);
    EXPECT_EQ(CountBuffer(0, 0, 9, 9, 0x0000FF), 100) << "the shot holds the shown picture, not the buffer";
    EXPECT_EQ(BufferPixel(10, 10), 0u);
    EXPECT_FALSE(SaveScreen((gDir + "/no/such/folder/x.bmp").c_str()));
}

// ---- masks -------------------------------------------------------------------------------------------------

TEST_F(DrawingTest, MaskWhiteCopiesAndBlackKeeps) {
    Rectangle(0, 0, kW - 1, kH - 1, 0xC0C0C0, true);
    ASSERT_TRUE(TestBmp::WriteSolidBmp(FilePath("pic.bmp").c_str(), 4, 4, 0x0000FF));
    std::vector<bool> checker;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) checker.push_back((x + y) % 2 == 0);
    ASSERT_TRUE(TestBmp::WriteBmp1(FilePath("mask.bmp").c_str(), 4, 4, checker));
    uint32_t pic = LoadBitmap(FilePath("pic.bmp").c_str(), 4, 4);
    uint32_t mask = LoadBitmap(FilePath("mask.bmp").c_str(), 4, 4);
    ASSERT_NE(mask, 0u) << "a one-bit BMP loads";
    DrawMaskBitmap(pic, mask, 10, 10);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(BufferPixel(10 + x, 10 + y), (x + y) % 2 == 0 ? 0x0000FFu : 0xC0C0C0u) << x << "," << y;
    EXPECT_EQ(ScreenPixel(10, 10), 0x0000FFu) << "direct mode shows the masked copy";
    EXPECT_EQ(ScreenPixel(11, 10), 0xC0C0C0u);
}

TEST_F(DrawingTest, ColourMasksSmallMasksAndClipping) {
    Rectangle(0, 0, kW - 1, kH - 1, 0x00B000, true);
    ASSERT_TRUE(TestBmp::WriteSolidBmp(FilePath("pic.bmp").c_str(), 4, 4, 0x0000FF));
    // A 24-bit mask: light counts as white, dark as black.
    ASSERT_TRUE(TestBmp::WriteBmp24(FilePath("grey.bmp").c_str(), 2, 1, {0xD0D0D0, 0x303030}));
    uint32_t pic = LoadBitmap(FilePath("pic.bmp").c_str(), 4, 4);
    uint32_t grey = LoadBitmap(FilePath("grey.bmp").c_str(), 2, 1);
    DrawMaskBitmap(pic, grey, 20, 20);
    EXPECT_EQ(BufferPixel(20, 20), 0x0000FFu) << "light grey lets the picture through";
    EXPECT_EQ(BufferPixel(21, 20), 0x00B000u) << "dark grey keeps the background";
    EXPECT_EQ(CountBuffer(20, 21, 23, 23, 0x00B000), 12) << "beyond a smaller mask the background stays";
    EXPECT_EQ(CountBuffer(22, 20, 23, 20, 0x00B000), 2);

    // Masked pictures are clipped at the edges like every other drawing.
    ASSERT_TRUE(TestBmp::WriteSolidBmp(FilePath("white.bmp").c_str(), 4, 4, 0xFFFFFF));
    uint32_t open = LoadBitmap(FilePath("white.bmp").c_str(), 4, 4);
    DrawMaskBitmap(pic, open, -2, -2);
    DrawMaskBitmap(pic, open, kW - 2, kH - 2);
    EXPECT_EQ(CountBuffer(0, 0, kW - 1, kH - 1, 0x0000FF), 4 + 4 + 1);
}

// ---- text --------------------------------------------------------------------------------------------------

TEST_F(DrawingTest, TextIsTransparentAndInsideItsSize) {
    Rectangle(0, 0, kW - 1, kH - 1, 0xB00000, true);
    SetFont(0, 0xFFFFFF);
    uint32_t w = 0, h = 0;
    GetTextSize("Score 12", 0, w, h);
    ASSERT_GT(w, 40u);
    ASSERT_GE(h, 18u) << "the score font is meant to be clear, about 22 pixels";
    Text("Score 12", 10, 20);
    int white = CountBuffer(10, 20, 10 + w - 1, 20 + h - 1, 0xFFFFFF);
    int background = CountBuffer(10, 20, 10 + w - 1, 20 + h - 1, 0xB00000);
    EXPECT_GT(white, 30) << "solid glyph pixels in the text colour";
    EXPECT_GT(background, (int)(w * h) / 3) << "around the glyphs the background stays";
    // Nothing outside the measured box.
    int backgroundOutside = CountBuffer(0, 0, kW - 1, kH - 1, 0xB00000) - background;
    EXPECT_EQ(backgroundOutside, kW * kH - (int)(w * h)) << "text painted outside the size GetTextSize gives";
    // Edges are blended between ink and background.
    bool blended = false;
    for (int y = 20; y < 20 + (int)h; ++y)
        for (int x = 10; x < 10 + (int)w; ++x) {
            uint32_t p = BufferPixel(x, y);
            if (p != 0xFFFFFF && p != 0xB00000) blended = true;
        }
    EXPECT_TRUE(blended) << "antialiased edges mix the text colour with what lies beneath";
}

TEST_F(DrawingTest, NumbersDrawAsTheirText) {
    SetFont(0, 0x00FF00);
    TextInt(-42, 5, 5);
    std::vector<uint32_t> number = Snapshot();
    ClearScreen();
    Text("-42", 5, 5);
    EXPECT_EQ(Snapshot(), number) << "TextInt(-42) draws a minus sign followed by 42";
    ClearScreen();
    TextInt(0, 5, 5);
    number = Snapshot();
    ClearScreen();
    Text("0", 5, 5);
    EXPECT_EQ(Snapshot(), number) << "TextInt(0) draws the single digit 0";
    ClearScreen();
    TextInt(INT32_MIN, 5, 5);
    number = Snapshot();
    ClearScreen();
    Text("-2147483648", 5, 5);
    EXPECT_EQ(Snapshot(), number);
    uint32_t w1, h1, w2, h2;
    GetTextSize("42", 0, w1, h1);
    GetTextSize("-42", 0, w2, h2);
    EXPECT_GT(w2, w1);
    EXPECT_EQ(h1, h2);
}

TEST_F(DrawingTest, FontNumbersAndColour) {
    SetFont(7, 0xFF0000FF);
    Text("Kwibbel 7", 5, 5);
    std::vector<uint32_t> seven = Snapshot();
    ClearScreen();
    SetFont(0, 0x0000FF);
    Text("Kwibbel 7", 5, 5);
    EXPECT_EQ(Snapshot(), seven) << "font number 7 draws like 0, and the colour's top byte is ignored";
    EXPECT_GT(CountBuffer(0, 0, kW - 1, kH - 1, 0x0000FF), 20);

    uint32_t w0, h0, w1, h1;
    GetTextSize("12345", 0, w0, h0);
    GetTextSize("12345", 1, w1, h1);
    EXPECT_GT(h1, h0) << "the highscore font is the larger";
    EXPECT_GE(h1, 28u);
    EXPECT_LE(h1, 52u) << "rows of the highscore table are 52 pixels apart";
    for (uint32_t style = 2; style <= 5; ++style) {
        uint32_t w, h;
        GetTextSize("12345", style, w, h);
        EXPECT_GT(w, 10u) << "font " << style;
        EXPECT_GT(h, 8u) << "font " << style;
    }
    uint32_t we, he;
    GetTextSize("", 0, we, he);
    EXPECT_EQ(we, 0u);
    EXPECT_EQ(he, h0) << "empty text is one line high";
}

TEST(Int2CharTest, DecimalWithoutPadding) {
    struct Case {
        int32_t nr;
        const char *text;
    } cases[] = {{0, "0"},
                 {7, "7"},
                 {9, "9"},
                 {10, "10"},
                 {-9, "-9"},
                 {-10, "-10"},
                 {-42, "-42"},
                 {1000, "1000"},
                 {2147483647, "2147483647"},
                 {-2147483647, "-2147483647"},
                 {INT32_MIN, "-2147483648"}};
    for (const Case &c : cases) {
        char buf[40];
        std::memset(buf, 'x', sizeof buf);
        Int2Char(buf, c.nr);
        EXPECT_STREQ(buf, c.text) << "for " << c.nr;
        EXPECT_EQ(buf[std::strlen(c.text) + 1], 'x') << "nothing written past the terminator for " << c.nr;
    }
}

// ---- no window ---------------------------------------------------------------------------------------------

TEST_F(DrawingTest, WithoutAWindowNothingDraws) {
    ASSERT_TRUE(TestBmp::WriteSolidBmp(FilePath("n.bmp").c_str(), 3, 3, 0x0000FF));
    KillWindow();
    KillWindow();  // a second close without a window returns at once
    EXPECT_EQ(State(), STATE_DEAD);
    uint32_t pic = LoadBitmap(FilePath("n.bmp").c_str(), 3, 3);
    EXPECT_NE(pic, 0u);
    SetBuffering(true);
    Rectangle(0, 0, 10, 10, 0xFFFFFF, true);
    DrawBitmap(pic, 0, 0);
    DrawMaskBitmap(pic, pic, 0, 0);
    Text("x", 0, 0);
    TextInt(5, 0, 0);
    ClearScreen();
    UpdateWindow();
    EXPECT_EQ(BufferPixel(1, 1), 0u);
    EXPECT_EQ(ScreenPixel(1, 1), 0u);
    EXPECT_FALSE(SaveScreen(FilePath("none.bmp").c_str()));
    uint32_t w = 9, h = 9;
    GetTextSize("Kwibbel", 0, w, h);
    EXPECT_EQ(w, 0u);
    EXPECT_EQ(h, 0u);

    // SetBuffering without a window had no effect: the next window starts in direct mode.
    Window("Kwibbel test", kW, kH);
    ASSERT_EQ(State(), STATE_ACTIVE);
    Rectangle(0, 0, 0, 0, 0xFFFFFF, true);
    EXPECT_EQ(ScreenPixel(0, 0), 0xFFFFFFu);
}

// ---- the window's scale -------------------------------------------------------------------------------------

TEST_F(DrawingTest, FromOneAndAHalfTimesTheBufferIsTwiceAsSharp) {
    // bitmap/p.bmp red; bitmap2x/p.png green with a blue right half, so a pixel tells which set it came from.
    // Pictures are stored as PNG, a BMP of the name asked for is read first: bitmap/p.png (white) is not
    // read, bitmap/only1x.png (yellow, with no twin) stands for only1x.bmp.
    ASSERT_EQ(mkdir(FilePath("bitmap").c_str(), 0755) == 0 || errno == EEXIST, true);
    ASSERT_EQ(mkdir(FilePath("bitmap2x").c_str(), 0755) == 0 || errno == EEXIST, true);
    auto storeAsPng = [](const std::string &bmp, const std::string &png) {
        SDL_Surface *s = SDL_LoadBMP(FilePath(bmp).c_str());
        bool ok = s && IMG_SavePNG(s, FilePath(png).c_str()) == 0;
        SDL_FreeSurface(s);
        return ok && std::remove(FilePath(bmp).c_str()) == 0;
    };
    std::vector<uint32_t> twice(8 * 8);
    for (int i = 0; i < 64; ++i) twice[i] = i % 8 < 4 ? 0x00FF00 : 0xFF0000;
    ASSERT_TRUE(TestBmp::WriteSolidBmp(FilePath("bitmap/white.bmp").c_str(), 4, 4, 0xFFFFFF));
    ASSERT_TRUE(storeAsPng("bitmap/white.bmp", "bitmap/p.png"));
    ASSERT_TRUE(TestBmp::WriteSolidBmp(FilePath("bitmap/p.bmp").c_str(), 4, 4, 0x0000FF));
    ASSERT_TRUE(TestBmp::WriteBmp24(FilePath("bitmap2x/p.bmp").c_str(), 8, 8, twice));
    ASSERT_TRUE(storeAsPng("bitmap2x/p.bmp", "bitmap2x/p.png"));
    ASSERT_TRUE(TestBmp::WriteSolidBmp(FilePath("bitmap/only1x.bmp").c_str(), 4, 4, 0x00FFFF));
    ASSERT_TRUE(storeAsPng("bitmap/only1x.bmp", "bitmap/only1x.png"));
    SetBuffering(true);
    uint32_t p = LoadBitmap(FilePath("bitmap/p.bmp").c_str(), 4, 4);
    uint32_t only = LoadBitmap(FilePath("bitmap/only1x.bmp").c_str(), 4, 4);
    DrawBitmap(p, 10, 10);
    Rectangle(30, 30, 30, 30, 0xFFFFFF, false);
    UpdateWindow();
    EXPECT_EQ(BufferFactor(), 1u);
    EXPECT_EQ(BufferPixel(10, 10), 0x0000FFu);

    SimulateResize(kW * 3 / 2, kH * 3 / 2);
    EXPECT_EQ(BufferFactor(), 2u) << "at 1.5 times the buffer doubles";
    EXPECT_EQ(BufferPixel(10, 10), 0x00FF00u) << "what was drawn is painted again from the set at twice the size";
    EXPECT_EQ(BufferPixel(12, 10), 0xFF0000u) << "at twice the resolution: unit 2 of the picture is pixel 4";
    EXPECT_EQ(ScreenPixel(12, 10), 0xFF0000u) << "and shown so at once";
    EXPECT_EQ(BufferPixel(30, 30), 0xFFFFFFu);
    EXPECT_EQ(BufferPixel(31, 30), 0u) << "a one-unit outline stays one unit wide";
    DrawBitmap(only, 50, 50);
    EXPECT_EQ(CountBuffer(50, 50, 53, 53, 0x00FFFF), 16) << "a picture missing from the set is enlarged";
    uint32_t w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    GetTextSize("Score 12", 0, w2, h2);

    SimulateResize(kW * 7 / 5, kH * 7 / 5);
    EXPECT_EQ(BufferFactor(), 1u) << "below 1.5 times the buffer is the game's size";
    EXPECT_EQ(BufferPixel(10, 10), 0x0000FFu);
    EXPECT_EQ(BufferPixel(51, 51), 0x00FFFFu);
    GetTextSize("Score 12", 0, w1, h1);
    EXPECT_EQ(std::make_pair(w1, h1), std::make_pair(w2, h2)) << "text sizes are game units at every factor";
}

TEST_F(DrawingTest, AtTwiceTheSizeOldPicturesMakeRoomAndComeBackFromTheirFiles) {
    SimulateResize(kW * 2, kH * 2);
    ASSERT_EQ(BufferFactor(), 2u);
    // Full-screen pictures of 800 by 680 take 8.7 MB each at factor 2: six are more than the budget.
    std::vector<uint32_t> pictures;
    for (int i = 0; i < 6; ++i) {
        std::string f = FilePath("big" + std::to_string(i) + ".bmp");
        ASSERT_TRUE(TestBmp::WriteSolidBmp(f.c_str(), 8, 8, 0x101010u * (uint32_t)(i + 1)));
        pictures.push_back(LoadBitmap(f.c_str(), 800, 680));
        DrawBitmap(pictures.back(), 0, 0);
    }
    // The first was let go: drawn again, it is read from its file, which has changed meanwhile.
    ASSERT_TRUE(TestBmp::WriteSolidBmp(FilePath("big0.bmp").c_str(), 8, 8, 0x0000FF));
    DrawBitmap(pictures[0], 0, 0);
    EXPECT_EQ(BufferPixel(5, 5), 0x0000FFu) << "the least recently drawn picture should have been let go";
    DrawBitmap(pictures[5], 0, 0);
    EXPECT_EQ(BufferPixel(5, 5), 0x606060u) << "the most recent one is still held";
}

TEST(ScaleTest, PartsOfAScaledPictureMatchTheWhole) {
    // A picture of 37 by 23 shown at 1.7 and at 0.8 times: a part made on its own is the same part of the whole.
    std::vector<uint32_t> src(37 * 23);
    for (size_t i = 0; i < src.size(); ++i) src[i] = (uint32_t)(i * 2654435761u) & 0xFFFFFF;
    for (double s : {1.7, 0.8}) {
        uint32_t dw = (uint32_t)(37 * s), dh = (uint32_t)(23 * s);
        LineMap across = MapLine(37, dw), down = MapLine(23, dh);
        std::vector<uint32_t> whole((size_t)dw * dh), part(12 * 9);
        ScaleRect(src.data(), 37, across, down, 0, 0, dw - 1, dh - 1, whole.data(), dw);
        ScaleRect(src.data(), 37, across, down, 5, 7, 16, 15, part.data(), 12);
        for (uint32_t y = 0; y < 9; ++y)
            for (uint32_t x = 0; x < 12; ++x)
                ASSERT_EQ(part[y * 12 + x], whole[(y + 7) * dw + x + 5]) << "scale " << s << " at " << x << ", " << y;
        // Every source pixel reaches the destination pixels whose taps name it.
        for (uint32_t i = 0; i < 37; ++i) EXPECT_LE(across.reachFirst[i], across.reachLast[i]) << i;
    }
}

TEST(ScaleTest, TheFirstWindowSuitsTheDisplay) {
    struct Case {
        uint32_t w, h;
        double scale;
    } cases[] = {
        {3840, 2160, 2.0},                // 2.7: whole numbers from 2 on
        {2560, 1440, 0.85 * 1440 / 680},  // 1.8
        {1920, 1080, 0.85 * 1080 / 680},  // 1.35
        {1024, 768, 1.0},                 // never below 1
        {7680, 4320, 5.0},
    };
    for (const Case &c : cases) EXPECT_DOUBLE_EQ(FirstScale(c.w, c.h, 800, 680), c.scale) << c.w << " by " << c.h;
}

TEST(FontFiles, FoundByFontconfigElseInDebiansFolder) {
    const FontName faces[2] = {{"DejaVu Sans", "Bold", "DejaVuSans-Bold.ttf"},
                               {"DejaVu Sans Mono", "Book", "DejaVuSansMono.ttf"}};
    const std::string debian = "/usr/share/fonts/truetype/dejavu/";
    char folder[] = "/tmp/kwibbel-fonts-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string dir = folder;
    auto config = [&](const std::string &name, const std::string &inside) {
        std::ofstream(dir + "/" + name) << "<?xml version=\"1.0\"?><fontconfig>" << inside << "</fontconfig>\n";
        setenv("FONTCONFIG_FILE", (dir + "/" + name).c_str(), 1);
    };
    std::string files[2];
    // fontconfig knowing no fonts at all: Debian's folder gives every face.
    config("empty.conf", "");
    FindFontFiles(faces, 2, debian.c_str(), files);
    EXPECT_EQ(files[0], debian + "DejaVuSans-Bold.ttf");
    EXPECT_EQ(files[1], debian + "DejaVuSansMono.ttf");
    // fontconfig knowing only a folder with copies of the faces: found there.
    mkdir((dir + "/mine").c_str(), 0755);
    for (const FontName &f : faces)
        std::ofstream(dir + "/mine/" + f.file, std::ios::binary)
            << std::ifstream(debian + f.file, std::ios::binary).rdbuf();
    config("mine.conf", "<dir>" + dir + "/mine</dir><cachedir>" + dir + "/cache</cachedir>");
    FindFontFiles(faces, 2, "/nowhere/", files);
    EXPECT_EQ(files[0], dir + "/mine/DejaVuSans-Bold.ttf");
    EXPECT_EQ(files[1], dir + "/mine/DejaVuSansMono.ttf");
    // Neither: no file, and the layer leaves that face's text out.
    config("empty.conf", "");
    FindFontFiles(faces, 2, "/nowhere/", files);
    EXPECT_EQ(files[0], "");
    unsetenv("FONTCONFIG_FILE");
    std::system(("rm -rf '" + dir + "'").c_str());
}

TEST_F(DrawingTest, ImpossibleSizeFailsWithTheLine) {
    KillWindow();
    testing::internal::CaptureStderr();
    Window("Kwibbel test", 0, 680);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(State(), STATE_DEAD);
    EXPECT_NE(err.find("Can't create window.\n"), std::string::npos) << "got: " << err;
    Rectangle(0, 0, 5, 5, 0xFFFFFF, true);
    EXPECT_EQ(BufferPixel(1, 1), 0u);
}

}  // namespace
