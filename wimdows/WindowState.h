// Wimdows, the state the window thread (Wimdows.cpp) and input (Input.cpp) share: the window's record and the
// input's record, and the input functions the window thread calls for real events. The locks and their order
// are listed in Wimdows.cpp. Nothing outside wimdows/ includes this header.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "wimdows/Wimdows.h"

namespace Wimdows {

// ---- types -------------------------------------------------------------------------------------------

struct QueueElmt {
    uint32_t key;
    char c;        // what the layout prints on the key; kept, never handed out
    bool repeat;   // the key was already held: an auto-repeat
    bool fromPad;  // pressed by a pad
};

struct MouseStruct {
    int32_t x, y;
    bool left, right;
};

// ---- state -------------------------------------------------------------------------------------------

struct WindowRec {
    std::mutex lock;
    std::condition_variable changed;  // state changed, the player closed the window, a request, a resize done
    std::atomic<uint8_t> state{STATE_DEAD};
    std::atomic<bool> closed{false};
    std::atomic<bool> focus{true};
    std::atomic<bool> killRequested{false};
    std::atomic<WaitProc> waitProc{nullptr};
    std::thread thread;
    std::string title;            // the caption, owned while a window is wanted
    uint32_t xlen = 0, ylen = 0;  // the game's units
    bool started = false;
    // Placement (gWin.lock): the one asked for the next window, and the one last seen.
    Placement wanted = {0, 0, 0, 0, false, false};
    bool wantedSet = false;
    Placement seen = {0, 0, 0, 0, false, false};
    // The player's requests for the main thread, and its procedure for them.
    std::atomic<uint32_t> requests{0};
    std::atomic<RequestProc> requestProc{nullptr};
    // Asked of the window thread: a switch to or from fullscreen, a size (w << 32 | h; 0 none) and the count
    // of sizes it has set.
    std::atomic<bool> switchFullscreen{false};
    std::atomic<uint64_t> resizeTo{0};
    std::atomic<uint32_t> resizesDone{0};
};

struct InputRec {
    std::mutex lock;
    std::condition_variable keyArrived;  // a key was queued or the window went away
    std::deque<QueueElmt> queue;
    MouseStruct mouse = {0, 0, false, false};
    std::atomic<MouseProc> leftUp{nullptr};
    std::atomic<MouseProc> leftDouble{nullptr};
    std::atomic<uint32_t> leftUps{0};  // left-button releases so far (WaitForPress)
    std::atomic<bool> key[256];
    bool lastFromPad = false;  // the key last taken from the queue came from a pad (main thread)
};

// The records are made once and never destroyed (Wimdows.cpp), so that a window thread still running when the
// program exits never meets a destroyed lock.
extern WindowRec &gWin;
extern InputRec &gInput;

// ---- input, for the window thread (Input.cpp) -------------------------------------------------------------

// Flags requests for the main thread and wakes it wherever it waits. Any thread, no lock held.
void PostRequest(uint32_t bits);
// The window's own keys, never the game's; `repeat`: the keyboard's auto-repeat, which switches nothing.
bool WindowKey(uint32_t vk, bool repeat);
void KeyPressed(uint32_t vk, char c, bool repeat, bool fromPad = false);
void KeyReleased(uint32_t vk);
void MouseMoved(int32_t x, int32_t y);
// Both return TRUE when the pointer capture should change (taken on press, released on release) because
// the other button is not held.
bool ButtonPressed(bool left);
bool ButtonReleased(bool left);
void CallLeftUp(int32_t x, int32_t y);
void CallLeftDouble(int32_t x, int32_t y);
void ResetInput();

}  // namespace Wimdows
