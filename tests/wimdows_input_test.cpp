// Keyboard and mouse input of the window layer, on SDL's dummy video driver. Events go in through
// SDL_PushEvent, the path real events take to the window thread, or through the Simulate procedures.
#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "support/eventually.h"
#include "support/virtualpad.h"
#include "wimdows/Wimdows.h"

using namespace Wimdows;

namespace {

const int kDummyDriver = setenv("SDL_VIDEODRIVER", "dummy", 0);

void PushKey(bool down, SDL_Keycode sym, SDL_Scancode sc, Uint16 mod = KMOD_NONE, bool repeat = false) {
    SDL_Event e;
    SDL_zero(e);
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.sym = sym;
    e.key.keysym.scancode = sc;
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
}

void PushMotion(int x, int y) {
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    SDL_PushEvent(&e);
}

void PushButton(bool down, Uint8 button, int x, int y, Uint8 clicks = 1) {
    SDL_Event e;
    SDL_zero(e);
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = clicks;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
}

void PushWindowEvent(Uint8 event) {
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_WINDOWEVENT;
    e.window.event = event;
    SDL_PushEvent(&e);
}

// Waits until the window thread has handled every event pushed so far: events are handled in order, so
// once a pointer move pushed last has arrived, so has everything before it.
void Settle() {
    static int serial = 1000;
    int mark = ++serial;
    PushMotion(mark, 4321);
    ASSERT_TRUE(Eventually([mark] {
        int32_t x, y;
        MousePos(x, y);
        return x == mark && y == 4321;
    })) << "the window thread did not handle the pushed events";
}

std::vector<uint32_t> DrainKeys() {
    std::vector<uint32_t> keys;
    for (uint32_t k = PollKey(); k != 0; k = PollKey()) keys.push_back(k);
    return keys;
}

// What the left-release handler saw, and on which thread.
std::mutex gClickLock;
std::vector<std::pair<int32_t, int32_t>> gClicks;
std::thread::id gClickThread;

void RecordClick(int32_t x, int32_t y) {
    std::lock_guard<std::mutex> g(gClickLock);
    gClicks.push_back({x, y});
    gClickThread = std::this_thread::get_id();
}

size_t ClickCount() {
    std::lock_guard<std::mutex> g(gClickLock);
    return gClicks.size();
}

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        (void)kDummyDriver;
        Window("Kwibbel test", 160, 120);
        ASSERT_EQ(State(), STATE_ACTIVE);
        std::lock_guard<std::mutex> g(gClickLock);
        gClicks.clear();
    }
    void TearDown() override {
        OnMouseLeftUp(nullptr);
        KillWindow();
    }
};

// ---- the key table -------------------------------------------------------------------------------------

struct KeyCase {
    SDL_Keycode sym;
    SDL_Scancode sc;
    Uint16 mod;
    uint32_t vk;
};

TEST_F(InputTest, SdlKeysBecomeVirtualKeyCodes) {
    const KeyCase cases[] = {
        {SDLK_a, SDL_SCANCODE_A, KMOD_NONE, 65},
        {SDLK_a, SDL_SCANCODE_A, KMOD_LSHIFT, 65},  // with Shift still the upper-case code
        {SDLK_z, SDL_SCANCODE_Z, KMOD_CAPS, 90},
        {SDLK_q, SDL_SCANCODE_A, KMOD_NONE, 81},  // French layout: the label counts, not the place
        {SDLK_p, SDL_SCANCODE_P, KMOD_LCTRL, 80},
        {SDLK_0, SDL_SCANCODE_0, KMOD_NONE, 48},
        {SDLK_9, SDL_SCANCODE_9, KMOD_NONE, 57},
        {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, KMOD_NONE, 8},
        {SDLK_TAB, SDL_SCANCODE_TAB, KMOD_NONE, 9},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_NONE, 13},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, KMOD_NONE, 13},
        {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_NONE, 16},
        {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, KMOD_NONE, 16},
        {SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_NONE, 17},
        {SDLK_RCTRL, SDL_SCANCODE_RCTRL, KMOD_NONE, 17},
        {SDLK_PAUSE, SDL_SCANCODE_PAUSE, KMOD_NONE, 19},
        {SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK, KMOD_NONE, 20},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, KMOD_NONE, 27},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, KMOD_NONE, 32},
        {SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, KMOD_NONE, 33},
        {SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, KMOD_NONE, 34},
        {SDLK_END, SDL_SCANCODE_END, KMOD_NONE, 35},
        {SDLK_HOME, SDL_SCANCODE_HOME, KMOD_NONE, 36},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, KMOD_NONE, 37},
        {SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE, 38},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, KMOD_NONE, 39},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, KMOD_NONE, 40},
        {SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN, KMOD_NONE, 44},
        {SDLK_INSERT, SDL_SCANCODE_INSERT, KMOD_NONE, 45},
        {SDLK_DELETE, SDL_SCANCODE_DELETE, KMOD_NONE, 46},
        {SDLK_LGUI, SDL_SCANCODE_LGUI, KMOD_NONE, 91},
        {SDLK_RGUI, SDL_SCANCODE_RGUI, KMOD_NONE, 92},
        {SDLK_APPLICATION, SDL_SCANCODE_APPLICATION, KMOD_NONE, 93},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, KMOD_NONE, 96},
        {SDLK_KP_5, SDL_SCANCODE_KP_5, KMOD_NONE, 101},
        {SDLK_KP_9, SDL_SCANCODE_KP_9, KMOD_NONE, 105},
        {SDLK_KP_MULTIPLY, SDL_SCANCODE_KP_MULTIPLY, KMOD_NONE, 106},
        {SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, KMOD_NONE, 107},
        {SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS, KMOD_NONE, 109},
        {SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, KMOD_NONE, 110},
        {SDLK_KP_DIVIDE, SDL_SCANCODE_KP_DIVIDE, KMOD_NONE, 111},
        {SDLK_F1, SDL_SCANCODE_F1, KMOD_NONE, 112},
        {SDLK_F9, SDL_SCANCODE_F9, KMOD_NONE, 120},
        {SDLK_F12, SDL_SCANCODE_F12, KMOD_NONE, 123},
        {SDLK_F24, SDL_SCANCODE_F24, KMOD_NONE, 135},
        {SDLK_NUMLOCKCLEAR, SDL_SCANCODE_NUMLOCKCLEAR, KMOD_NONE, 144},
        {SDLK_SCROLLLOCK, SDL_SCANCODE_SCROLLLOCK, KMOD_NONE, 145},
        {SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, KMOD_NONE, 186},
        {SDLK_EQUALS, SDL_SCANCODE_EQUALS, KMOD_NONE, 187},
        {SDLK_COMMA, SDL_SCANCODE_COMMA, KMOD_NONE, 188},
        {SDLK_MINUS, SDL_SCANCODE_MINUS, KMOD_NONE, 189},
        {SDLK_PERIOD, SDL_SCANCODE_PERIOD, KMOD_NONE, 190},
        {SDLK_SLASH, SDL_SCANCODE_SLASH, KMOD_NONE, 191},
        {SDLK_BACKQUOTE, SDL_SCANCODE_GRAVE, KMOD_NONE, 192},
        {SDLK_LEFTBRACKET, SDL_SCANCODE_LEFTBRACKET, KMOD_NONE, 219},
        {SDLK_BACKSLASH, SDL_SCANCODE_BACKSLASH, KMOD_NONE, 220},
        {SDLK_RIGHTBRACKET, SDL_SCANCODE_RIGHTBRACKET, KMOD_NONE, 221},
        {SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, KMOD_NONE, 222},
        {SDLK_LESS, SDL_SCANCODE_NONUSBACKSLASH, KMOD_NONE, 226},       // the extra key beside left Shift
        {SDLK_BACKSLASH, SDL_SCANCODE_NONUSBACKSLASH, KMOD_NONE, 226},  // ... whatever its label
        {0xF6 /* ö */, SDL_SCANCODE_SEMICOLON, KMOD_NONE, 186},         // unknown label: by position
        {0x444 /* ф */, SDL_SCANCODE_A, KMOD_NONE, 65},                 // a non-Latin letter: by position
        {0x2B /* + */, SDL_SCANCODE_1, KMOD_LSHIFT, 49},                // shifted digit row of a layout
    };
    for (const KeyCase &c : cases) {
        PushKey(true, c.sym, c.sc, c.mod);
        Settle();
        EXPECT_TRUE(KeyDown(c.vk)) << "key 0x" << std::hex << c.sym << " should hold code " << std::dec << c.vk;
        EXPECT_EQ(DrainKeys(), std::vector<uint32_t>{c.vk}) << "key 0x" << std::hex << c.sym;
        PushKey(false, c.sym, c.sc, c.mod);
        Settle();
        EXPECT_FALSE(KeyDown(c.vk)) << "released: " << c.vk;
        EXPECT_TRUE(DrainKeys().empty()) << "a release queues nothing";
    }
}

TEST(KeyNames, AsAPlayerKnowsThem) {
    const std::pair<KeyCode, std::string> cases[] = {{37, "Left arrow"}, {65, "A"},         {48, "0"},
                                                     {16, "Shift"},      {32, "Space"},     {97, "Keypad 1"},
                                                     {186, ";"},         {1039, "key 1039"}};
    for (const auto &c : cases) {
        char name[40];
        Wimdows::KeyName(c.first, name, sizeof name);
        EXPECT_EQ(std::string(name), c.second) << c.first;
    }
}

TEST_F(InputTest, AltAndF10NeverReachTheGame) {
    PushKey(true, SDLK_LALT, SDL_SCANCODE_LALT);
    PushKey(true, SDLK_x, SDL_SCANCODE_X, KMOD_LALT);
    PushKey(true, SDLK_F4, SDL_SCANCODE_F4, KMOD_RALT);
    PushKey(true, SDLK_RALT, SDL_SCANCODE_RALT);
    PushKey(true, SDLK_F10, SDL_SCANCODE_F10);
    Settle();
    EXPECT_TRUE(DrainKeys().empty()) << "Alt, Alt+X, Alt+F4 and F10 queue nothing";
    EXPECT_FALSE(KeyDown(18));
    EXPECT_FALSE(KeyDown('X'));
    EXPECT_FALSE(KeyDown(115));
    EXPECT_FALSE(KeyDown(121));
    SimulateKeyDown(18);
    SimulateKeyDown(121);
    EXPECT_FALSE(KeyDown(18));
    EXPECT_FALSE(KeyDown(121));
    EXPECT_TRUE(DrainKeys().empty());
}

std::atomic<uint32_t> gRequests{0};
void RecordRequests(uint32_t r) { gRequests |= r; }

TEST_F(InputTest, TheWindowsOwnKeysNeverReachTheGame) {
    gRequests = 0;
    OnRequests(RecordRequests);
    PushKey(true, SDLK_F2, SDL_SCANCODE_F2);
    PushKey(true, SDLK_F2, SDL_SCANCODE_F2, KMOD_NONE, true);  // an auto-repeat asks nothing more
    PushKey(false, SDLK_F2, SDL_SCANCODE_F2);
    Settle();
    Wait(0);
    EXPECT_EQ(gRequests.load(), REQUEST_MUSIC) << "F2 asks for the music switch, on the main thread's Wait";
    SimulateKeyDown(KEY_F3);
    std::thread late([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        SimulateKeyDown('Q');
    });
    EXPECT_EQ(GetKey(), (uint32_t)'Q') << "the request is handled inside GetKey, which goes on waiting";
    late.join();
    EXPECT_EQ(gRequests.load(), REQUEST_MUSIC | REQUEST_EFFECTS);
    PushKey(true, SDLK_F11, SDL_SCANCODE_F11);
    PushKey(false, SDLK_F11, SDL_SCANCODE_F11);
    EXPECT_TRUE(Eventually([] { return GetPlacement().fullscreen; })) << "F11 switches to fullscreen";
    PushKey(true, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
    PushKey(false, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
    EXPECT_TRUE(Eventually([] { return !GetPlacement().fullscreen; })) << "Alt+Enter switches back";
    Settle();
    EXPECT_EQ(GetPlacement().width, 160u) << "the window's own size is kept through fullscreen";
    EXPECT_TRUE(DrainKeys().empty()) << "F2, F3, F11 and Alt+Enter queue nothing";
    for (KeyCode k : {KEY_F2, KEY_F3, KEY_F11, KEY_ENTER}) EXPECT_FALSE(KeyDown(k)) << k;
    for (KeyCode k : {KEY_F2, KEY_F3, KEY_F11, KEY_P, KEY_ESCAPE}) EXPECT_TRUE(IsReservedKey(k)) << k;
    EXPECT_FALSE(IsReservedKey(123)) << "F12 is a key like any other";
    OnRequests(nullptr);
}

TEST_F(InputTest, PointerPositionsAreMappedIntoGameUnits) {
    // A 160 by 120 game: at 400 by 300 the picture is 2.5 times as large and fills the window.
    OnMouseLeftUp(RecordClick);
    SimulateResize(400, 300);
    const int32_t cases[][4] = {
        {0, 0, 0, 0}, {2, 2, 0, 0}, {3, 3, 1, 1}, {399, 299, 159, 119}, {200, 150, 80, 60},
    };
    int32_t x, y;
    for (const auto &c : cases) {
        SimulateMouseMove(c[0], c[1]);
        MousePos(x, y);
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(c[2], c[3])) << "window " << c[0] << ", " << c[1];
    }
    // Wider than the picture: bars left and right (500 = 90 + 320 + 90 by 240, scale 2).
    SimulateResize(500, 240);
    const int32_t barred[][4] = {
        {90, 0, 0, 0}, {409, 239, 159, 119}, {89, 10, 65535, 5}, {410, 10, 160, 5}, {0, 0, 65491, 0},
    };
    for (const auto &c : barred) {
        SimulateMouseMove(c[0], c[1]);
        MousePos(x, y);
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(c[2], c[3])) << "window " << c[0] << ", " << c[1];
    }
    // Real events take the same road: a release on the left bar, one in the picture's last column.
    PushButton(true, SDL_BUTTON_LEFT, 30, 100);
    PushButton(false, SDL_BUTTON_LEFT, 30, 100);
    PushButton(true, SDL_BUTTON_LEFT, 409, 0);
    PushButton(false, SDL_BUTTON_LEFT, 409, 0);
    ASSERT_TRUE(Eventually([] { return ClickCount() == 2; }));
    {
        std::lock_guard<std::mutex> g(gClickLock);
        EXPECT_EQ(gClicks[0], std::make_pair(65506, 50)) << "a release on a bar lies outside the picture";
        EXPECT_EQ(gClicks[1], std::make_pair(159, 0));
    }
    // A scale that is no whole number: 1.3 (208 by 156).
    SimulateResize(208, 156);
    const int32_t odd[][4] = {{207, 155, 159, 119}, {13, 13, 10, 10}, {12, 12, 9, 9}, {104, 78, 80, 60}};
    for (const auto &c : odd) {
        SimulateMouseMove(c[0], c[1]);
        MousePos(x, y);
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(c[2], c[3])) << "window " << c[0] << ", " << c[1];
    }
}

TEST_F(InputTest, AKeyReleasedWhileAltIsHeldIsReleased) {
    PushKey(true, SDLK_LEFT, SDL_SCANCODE_LEFT);
    PushKey(true, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_NONE);
    PushKey(false, SDLK_LEFT, SDL_SCANCODE_LEFT, KMOD_LALT);
    Settle();
    EXPECT_FALSE(KeyDown(37)) << "a key must not stay held because Alt was down at its release";
    EXPECT_EQ(DrainKeys(), std::vector<uint32_t>{37});
}

TEST_F(InputTest, AutoRepeatQueuesEveryRepeat) {
    PushKey(true, SDLK_RIGHT, SDL_SCANCODE_RIGHT);
    for (int i = 0; i < 3; ++i) PushKey(true, SDLK_RIGHT, SDL_SCANCODE_RIGHT, KMOD_NONE, true);
    PushKey(false, SDLK_RIGHT, SDL_SCANCODE_RIGHT);
    Settle();
    EXPECT_EQ(DrainKeys(), (std::vector<uint32_t>{39, 39, 39, 39}));
    EXPECT_FALSE(KeyDown(39));
}

// ---- the queue -----------------------------------------------------------------------------------------

TEST_F(InputTest, KeysComeOutInTheOrderPressed) {
    PushKey(true, SDLK_s, SDL_SCANCODE_S);
    Settle();
    SimulateKeyDown(40);
    PushKey(true, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    Settle();
    EXPECT_EQ(GetKey(), 83u);
    EXPECT_EQ(GetKey(), 40u);
    EXPECT_EQ(GetKey(), 27u);
    EXPECT_EQ(PollKey(), 0u) << "the queue is empty now";
    for (int i = 0; i < 1000; ++i) SimulateKeyDown(65 + i % 26);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(GetKey(), 65u + i % 26) << "no limit on queued presses";
}

TEST_F(InputTest, GetKeyWaitsForTheNextPress) {
    auto pressed = std::async(std::launch::async, [] { return GetKey(); });
    EXPECT_EQ(pressed.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout)
        << "GetKey must wait while the queue is empty";
    PushKey(true, SDLK_UP, SDL_SCANCODE_UP);
    ASSERT_EQ(pressed.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(pressed.get(), 38u);
}

TEST_F(InputTest, FlushKeepsHeldKeysHeld) {
    SimulateKeyDown(32);
    SimulateKeyDown(13);
    FlushKeys();
    EXPECT_EQ(PollKey(), 0u);
    EXPECT_TRUE(KeyDown(32)) << "flushing does not touch the held-key table";
    EXPECT_TRUE(KeyDown(13));
    auto pressed = std::async(std::launch::async, [] { return GetKey(); });
    EXPECT_EQ(pressed.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout)
        << "after a flush GetKey waits for a new press even with keys held";
    SimulateKeyDown(65);
    ASSERT_EQ(pressed.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(pressed.get(), 65u);
    SimulateKeyUp(32);
    EXPECT_FALSE(KeyDown(32));
    EXPECT_TRUE(KeyDown(13));
}

TEST_F(InputTest, AFreshKeyIsNoRepeatOfAKeyHeldBefore) {
    // Up held from before: its repeats (real ones and a simulated press of the held key) do not answer.
    SimulateKeyDown(38);
    FlushKeys();
    PushKey(true, SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE, true);
    SimulateKeyDown(38);
    Settle();
    auto pressed = std::async(std::launch::async, [] { return GetFreshKey(); });
    EXPECT_EQ(pressed.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout)
        << "repeats of a held key are no fresh press";
    SimulateKeyUp(38);
    SimulateKeyDown(38);  // released and pressed again: fresh
    ASSERT_EQ(pressed.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(pressed.get(), 38u);
    SimulateKeyDown(38);
    SimulateKeyDown(32);
    EXPECT_EQ(GetFreshKey(), 32u) << "the repeat before it was dropped";
    EXPECT_EQ(PollKey(), 0u);
    SimulateKeyUp(38);
    SimulateKeyUp(32);
}

TEST_F(InputTest, CodesAbove255AreNeverHeld) {
    EXPECT_FALSE(KeyDown(300));
    SimulateKeyDown(300);
    SimulateKeyDown(256 + 65);
    EXPECT_FALSE(KeyDown(300));
    EXPECT_FALSE(KeyDown(44)) << "no wrapping of a bad code onto a real key";
    EXPECT_FALSE(KeyDown(65));
    EXPECT_EQ(PollKey(), 0u);
    EXPECT_FALSE(KeyDown(0xFFFFFFFFu));
}

TEST(InputNoWindowTest, GetKeyWithoutAWindowReturnsQueuedKeysThenZero) {
    KillWindow();
    SimulateKeyDown(70);
    EXPECT_EQ(GetKey(), 70u);
    EXPECT_EQ(GetKey(), 0u) << "no window can send a key: GetKey must not wait";
    SimulateKeyUp(70);
    EXPECT_TRUE(HasFocus()) << "with no window HasFocus is TRUE";
}

// ---- the mouse -----------------------------------------------------------------------------------------

TEST_F(InputTest, PointerPositionsReadAsUnsigned16Bit) {
    int32_t x = -1, y = -1;
    MousePos(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0) << "(0, 0) before the first move";
    PushMotion(123, 45);
    ASSERT_TRUE(Eventually([] {
        int32_t a, b;
        MousePos(a, b);
        return a == 123 && b == 45;
    }));
    PushButton(true, SDL_BUTTON_LEFT, 5, 5);
    PushMotion(-1, -30);
    PushButton(false, SDL_BUTTON_LEFT, -1, -30);
    ASSERT_TRUE(Eventually([] {
        int32_t a, b;
        MousePos(a, b);
        return a == 65535 && b == 65506;
    })) << "a position left of and above the window is read as unsigned 16 bits";
    SimulateMouseMove(-2, 70000);
    MousePos(x, y);
    EXPECT_EQ(x, 65534);
    EXPECT_EQ(y, 70000 & 0xFFFF);
}

TEST_F(InputTest, LeftReleaseCallsTheHandlerOnTheWindowThread) {
    OnMouseLeftUp(RecordClick);
    PushMotion(10, 10);
    PushButton(true, SDL_BUTTON_LEFT, 10, 10);
    PushButton(false, SDL_BUTTON_LEFT, 12, 14);
    PushButton(true, SDL_BUTTON_RIGHT, 20, 20);
    PushButton(false, SDL_BUTTON_RIGHT, 20, 20);
    PushButton(true, SDL_BUTTON_LEFT, 0, 0);
    PushButton(false, SDL_BUTTON_LEFT, -3, -4);  // dragged out above and to the left
    Settle();
    std::lock_guard<std::mutex> g(gClickLock);
    ASSERT_EQ(gClicks.size(), 2u) << "one call per left release, none for the right button";
    EXPECT_EQ(gClicks[0], std::make_pair(12, 14)) << "the release position, not the last move";
    EXPECT_EQ(gClicks[1], std::make_pair(65533, 65532));
    EXPECT_NE(gClickThread, std::this_thread::get_id());
    int32_t x, y;
    MousePos(x, y);
    EXPECT_NE(y, 14) << "button messages do not move the pointer position";
}

TEST_F(InputTest, DoubleClickGivesTwoReleases) {
    OnMouseLeftUp(RecordClick);
    PushButton(true, SDL_BUTTON_LEFT, 30, 30, 1);
    PushButton(false, SDL_BUTTON_LEFT, 30, 30, 1);
    PushButton(true, SDL_BUTTON_LEFT, 30, 30, 2);
    PushButton(false, SDL_BUTTON_LEFT, 30, 30, 2);
    Settle();
    EXPECT_EQ(ClickCount(), 2u);
}

std::atomic<int> gDoubles{0};
void RecordDouble(int32_t, int32_t) { gDoubles++; }

TEST_F(InputTest, TheSecondPressOfADoubleClickGoesToItsOwnHandler) {
    gDoubles = 0;
    OnMouseLeftDouble(RecordDouble);
    PushButton(true, SDL_BUTTON_LEFT, 30, 30, 1);
    PushButton(false, SDL_BUTTON_LEFT, 30, 30, 1);
    Settle();
    EXPECT_EQ(gDoubles.load(), 0);
    PushButton(true, SDL_BUTTON_LEFT, 30, 30, 2);
    PushButton(false, SDL_BUTTON_LEFT, 30, 30, 2);
    Settle();
    EXPECT_EQ(gDoubles.load(), 1);
    SimulateLeftDouble(5, 5);
    EXPECT_EQ(gDoubles.load(), 2);
    OnMouseLeftDouble(nullptr);
}

TEST_F(InputTest, NullHandlerStopsTheCalls) {
    OnMouseLeftUp(RecordClick);
    SimulateLeftUp(-1, 3);
    OnMouseLeftUp(nullptr);
    SimulateLeftUp(5, 5);
    PushButton(true, SDL_BUTTON_LEFT, 5, 5);
    PushButton(false, SDL_BUTTON_LEFT, 5, 5);
    Settle();
    std::lock_guard<std::mutex> g(gClickLock);
    ASSERT_EQ(gClicks.size(), 1u);
    EXPECT_EQ(gClicks[0], std::make_pair(65535, 3)) << "simulated releases read positions like real ones";
}

TEST_F(InputTest, ClosingWithKillWindowRemovesHandlerAndKeys) {
    OnMouseLeftUp(RecordClick);
    SimulateKeyDown(37);
    SimulateMouseMove(50, 60);
    KillWindow();
    EXPECT_FALSE(KeyDown(37));
    EXPECT_EQ(PollKey(), 0u) << "the queue is emptied with the window";
    int32_t x, y;
    MousePos(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    SimulateLeftUp(1, 1);
    EXPECT_EQ(ClickCount(), 0u) << "closing removes the left-release handler";
    EXPECT_FALSE(WindowClosed()) << "KillWindow is the program's own closing, not the player's";
}

// ---- focus and waiting -----------------------------------------------------------------------------------

TEST_F(InputTest, FocusFollowsTheWindow) {
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    ASSERT_TRUE(Eventually([] { return !HasFocus(); }));
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    ASSERT_TRUE(Eventually([] { return HasFocus(); }));
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    ASSERT_TRUE(Eventually([] { return !HasFocus(); }));
    KillWindow();
    EXPECT_TRUE(HasFocus());
}

std::atomic<uint32_t> gWaited{0};
void CountWait(uint32_t ms) { gWaited += ms; }

TEST_F(InputTest, WaitProcStandsInForSleeping) {
    gWaited = 0;
    SetWaitProc(CountWait);
    Wait(210);
    Wait(3600000);  // an hour: only the stand-in can make this return
    SetWaitProc(nullptr);
    EXPECT_EQ(gWaited.load(), 3600210u);
    Wait(0);
    Wait(1);
    EXPECT_EQ(gWaited.load(), 3600210u) << "without a stand-in, Wait sleeps itself";
}

}  // namespace

// ---- gamepads, as virtual game controllers -------------------------------------------------------------------

TEST_F(InputTest, PadsPressAndReleaseTheirPlayersKeys) {
    SetPadKeys(1, KEY_RIGHT, KEY_LEFT, KEY_UP, KEY_DOWN);
    SetPadKeys(2, 'D', 'A', 'W', 'S');
    VirtualPad one;
    ASSERT_TRUE(one.Plugged()) << SDL_GetError();
    // The d-pad holds and types its key.
    ASSERT_TRUE(Eventually([&] {
        one.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
        return KeyDown(KEY_UP);
    })) << "pad 1's d-pad up did not hold Up";
    one.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    ASSERT_TRUE(Eventually([] { return !KeyDown(KEY_UP); }));
    EXPECT_EQ(PollKey(), KEY_UP);
    EXPECT_TRUE(KeyCameFromPad());
    // The stick: nothing inside the dead zone; pushed past a third it holds; it lets go only under a quarter.
    struct Step {
        int16_t x;
        bool held;
    };
    for (Step s : {Step{9000, false}, Step{12000, true}, Step{9000, true}, Step{7000, false}, Step{-32000, false}}) {
        one.Axis(SDL_CONTROLLER_AXIS_LEFTX, s.x);
        EXPECT_TRUE(Eventually([&] { return KeyDown(KEY_RIGHT) == s.held; })) << "stick at " << s.x;
    }
    EXPECT_TRUE(Eventually([] { return KeyDown(KEY_LEFT); })) << "stick far left";
    EXPECT_EQ(MenuKeyOf('W'), MENU_UP) << "a pad's direction key moves a menu's highlight";
    // Start is P, Back Escape, A Enter; B is Escape but in a game; any other button a key of no meaning.
    one.Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    ASSERT_TRUE(Eventually([] { return !KeyDown(KEY_LEFT); }));
    FlushKeys();
    auto press = [&](SDL_GameControllerButton b, KeyCode key) {
        one.Button(b, true);
        EXPECT_TRUE(Eventually([key] { return KeyDown(key); })) << "button " << b;
        one.Button(b, false);
        EXPECT_TRUE(Eventually([key] { return !KeyDown(key); })) << "button " << b;
    };
    press(SDL_CONTROLLER_BUTTON_START, KEY_P);
    press(SDL_CONTROLLER_BUTTON_BACK, KEY_ESCAPE);
    press(SDL_CONTROLLER_BUTTON_A, KEY_ENTER);
    press(SDL_CONTROLLER_BUTTON_B, KEY_ESCAPE);
    PadBIsEscape(false);
    press(SDL_CONTROLLER_BUTTON_B, KEY_PAD_BUTTON);
    PadBIsEscape(true);
    press(SDL_CONTROLLER_BUTTON_Y, KEY_PAD_BUTTON);
    EXPECT_EQ(DrainKeys(),
              (std::vector<uint32_t>{KEY_P, KEY_ESCAPE, KEY_ENTER, KEY_ESCAPE, KEY_PAD_BUTTON, KEY_PAD_BUTTON}));
    one.Axis(SDL_CONTROLLER_AXIS_LEFTX, -32000);
    ASSERT_TRUE(Eventually([] { return KeyDown(KEY_LEFT); }));
    // A second pad drives player 2's keys; unplugging the first lets go of what it held.
    VirtualPad two;
    ASSERT_TRUE(two.Plugged()) << SDL_GetError();
    ASSERT_TRUE(Eventually([&] {
        two.Button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
        return KeyDown('S');
    })) << "pad 2's d-pad down did not hold S";
    one.Unplug();
    EXPECT_TRUE(Eventually([] { return !KeyDown(KEY_LEFT); })) << "pad 1 unplugged with its stick held left";
    EXPECT_TRUE(KeyDown('S')) << "pad 2 goes on";
}
