// The player closing the window (title bar or window manager), on SDL's dummy video driver: everything
// that waits wakes, the window's resources are freed, and nothing draws any more. Closing is for the
// rest of the run, so this program keeps it apart from the other window tests.
#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <string>
#include <unistd.h>

#include "support/BmpFile.h"
#include "wimdows/Wimdows.h"

using namespace Wimdows;

namespace {

const int kDummyDriver = setenv("SDL_VIDEODRIVER", "dummy", 0);

std::atomic<int> gClicks{0};
void CountClick(int32_t, int32_t) { ++gClicks; }
std::atomic<int> gWaits{0};
void CountWait(uint32_t) { ++gWaits; }

void PushClose(bool quitEvent) {
    SDL_Event e;
    SDL_zero(e);
    if (quitEvent) {
        e.type = SDL_QUIT;
    } else {
        e.type = SDL_WINDOWEVENT;
        e.window.event = SDL_WINDOWEVENT_CLOSE;
    }
    SDL_PushEvent(&e);
}

void CloseWhileWaiting(bool quitEvent) {
    (void)kDummyDriver;
    Window("Kwibbel test", 120, 90);
    ASSERT_EQ(State(), STATE_ACTIVE);
    char bmp[] = "/tmp/wimdows-close-XXXXXX";
    int fd = mkstemp(bmp);
    ASSERT_GE(fd, 0);
    close(fd);
    ASSERT_TRUE(TestBmp::WriteSolidBmp(bmp, 4, 4, 0xFFFFFF));
    uint32_t pic = LoadBitmap(bmp, 4, 4);
    std::remove(bmp);
    ASSERT_EQ(pic, 1u);
    SimulateKeyDown(38);
    FlushKeys();
    OnMouseLeftUp(CountClick);
    SetBuffering(true);

    // A screen waits for a key, another sleeps for a long time: the player closes the window.
    auto key = std::async(std::launch::async, [] { return GetKey(); });
    auto slept = std::async(std::launch::async, [] {
        Wait(600000);
        return true;
    });
    PushClose(quitEvent);
    ASSERT_EQ(key.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "GetKey must wake";
    EXPECT_EQ(key.get(), 0u) << "GetKey gives 0 once no window can send a key";
    ASSERT_EQ(slept.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "Wait must wake";

    EXPECT_TRUE(WindowClosed());
    EXPECT_EQ(State(), STATE_DEAD);
    EXPECT_FALSE(KeyDown(38)) << "every key reads as released";
    for (uint32_t k = 0; k < 256; ++k) ASSERT_FALSE(KeyDown(k)) << k;
    EXPECT_EQ(GetKey(), 0u) << "and GetKey does not wait any more";

    // Nothing draws; the pictures and the handler are gone.
    Rectangle(0, 0, 50, 50, 0xFFFFFF, true);
    DrawBitmap(pic, 0, 0);
    UpdateWindow();
    EXPECT_EQ(BufferPixel(1, 1), 0u);
    EXPECT_EQ(ScreenPixel(1, 1), 0u);
    SimulateLeftUp(3, 3);
    EXPECT_EQ(gClicks.load(), 0);
    EXPECT_TRUE(HasFocus());

    // Every later wait returns at once, also with a stand-in installed.
    gWaits = 0;
    SetWaitProc(CountWait);
    Wait(600000);
    SetWaitProc(nullptr);
    Wait(600000);
    EXPECT_EQ(gWaits.load(), 0) << "after the closing no wait is made at all";

    // The program's own KillWindow afterwards returns at once.
    KillWindow();
    EXPECT_EQ(State(), STATE_DEAD);
}

TEST(CloseTest, TitleBarCloseWakesEverything) { CloseWhileWaiting(false); }

TEST(CloseTest, QuitEventWakesEverything) { CloseWhileWaiting(true); }

}  // namespace
