// Wimdows, input and waiting: the key queue and the mouse, fed alike by the window thread's SDL events and by
// the Simulate procedures; the player's requests, run by the main thread wherever it waits; the exported
// input calls, Wait and WaitForPress, and simulated input.
//
// Sections: internal: the player's requests, input (shared by real events and the Simulate procedures);
// exported: input, waiting, simulated input.
//
// Locks (see Wimdows.cpp for the whole order): gInput.lock guards the key queue and the mouse position; Wait
// sleeps under gWin.lock.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "wimdows/Surface.h"
#include "wimdows/Wimdows.h"
#include "wimdows/WindowState.h"

namespace Wimdows {

// ---- internal: the player's requests -----------------------------------------------------------------

// Flags requests for the main thread and wakes it wherever it waits. Any thread, no lock held.
void PostRequest(uint32_t bits) {
    gWin.requests.fetch_or(bits);
    { std::lock_guard<std::mutex> g(gWin.lock); }
    gWin.changed.notify_all();
    { std::lock_guard<std::mutex> g(gInput.lock); }
    gInput.keyArrived.notify_all();
}

static bool RequestsPending() { return gWin.requests.load() != 0 && gWin.requestProc.load() != nullptr; }

// Runs the installed procedure on the pending requests (main thread, no lock held).
static void RunRequests() {
    RequestProc proc = gWin.requestProc.load();
    if (!proc) return;
    uint32_t r = gWin.requests.exchange(0);
    if (r) proc(r);
}

// ---- internal: input, shared by real SDL events and the Simulate procedures -----------------------------

static void AddKey(uint32_t key, char c, bool repeat, bool fromPad) {
    {
        std::lock_guard<std::mutex> g(gInput.lock);
        gInput.queue.push_back(QueueElmt{key, c, repeat, fromPad});
    }
    gInput.keyArrived.notify_one();
}

// The window's own keys, never the game's; `repeat`: the keyboard's auto-repeat, which switches nothing.
bool WindowKey(uint32_t vk, bool repeat) {
    if (vk != KEY_F11 && vk != KEY_F2 && vk != KEY_F3) return false;
    if (repeat) return true;
    if (vk == KEY_F11) {
        gWin.switchFullscreen.store(true);
        WakeWindowThread();
    } else {
        PostRequest(vk == KEY_F2 ? REQUEST_MUSIC : REQUEST_EFFECTS);
    }
    return true;
}

void KeyPressed(uint32_t vk, char c, bool repeat, bool fromPad) {
    // Alt and F10 belong to the window system (menu keys), never to the game.
    if (vk == 0 || vk > 255 || vk == 18 || vk == 121) return;
    if (WindowKey(vk, repeat)) return;
    // A press of a key that is down already is the keyboard's auto-repeat.
    bool held = gInput.key[vk].exchange(true);
    AddKey(vk, c, held, fromPad);
}

void KeyReleased(uint32_t vk) {
    if (vk == 0 || vk > 255) return;
    gInput.key[vk].store(false);
}

void PadKeyDown(KeyCode key) { KeyPressed(key, 0, false, true); }

void PadKeyUp(KeyCode key) { KeyReleased(key); }

// A position as the game reads it: each coordinate its unsigned 16-bit reading, so -1 becomes 65535.
static int32_t Word(int32_t v) { return (int32_t)(uint16_t)v; }

void MouseMoved(int32_t x, int32_t y) {
    MapPointer(x, y);
    std::lock_guard<std::mutex> g(gInput.lock);
    gInput.mouse.x = Word(x);
    gInput.mouse.y = Word(y);
}

// Both return TRUE when the pointer capture should change (taken on press, released on release) because
// the other button is not held.
bool ButtonPressed(bool left) {
    std::lock_guard<std::mutex> g(gInput.lock);
    bool other = left ? gInput.mouse.right : gInput.mouse.left;
    (left ? gInput.mouse.left : gInput.mouse.right) = true;
    return !other;
}

bool ButtonReleased(bool left) {
    std::lock_guard<std::mutex> g(gInput.lock);
    bool other = left ? gInput.mouse.right : gInput.mouse.left;
    (left ? gInput.mouse.left : gInput.mouse.right) = false;
    return !other;
}

void CallLeftUp(int32_t x, int32_t y) {
    MapPointer(x, y);
    MouseProc proc = gInput.leftUp.load();
    if (proc) proc(Word(x), Word(y));
    gInput.leftUps.fetch_add(1);
    { std::lock_guard<std::mutex> g(gInput.lock); }
    gInput.keyArrived.notify_all();
}

void CallLeftDouble(int32_t x, int32_t y) {
    MapPointer(x, y);
    MouseProc proc = gInput.leftDouble.load();
    if (proc) proc(Word(x), Word(y));
}

void ResetInput() {
    std::lock_guard<std::mutex> g(gInput.lock);
    gInput.mouse = MouseStruct{0, 0, false, false};
    gInput.leftUp.store(nullptr);
    gInput.leftDouble.store(nullptr);
    for (auto &k : gInput.key) k.store(false);
    gInput.queue.clear();
}

// ---- exported: input ---------------------------------------------------------------------------------------

bool IsReservedKey(KeyCode key) {
    for (KeyCode reserved : RESERVED_KEYS)
        if (key == reserved) return true;
    return false;
}

MenuKey MenuKeyOf(KeyCode key) {
    switch (key) {
    case KEY_UP: return MENU_UP;
    case KEY_DOWN: return MENU_DOWN;
    case KEY_LEFT: return MENU_LEFT;
    case KEY_RIGHT: return MENU_RIGHT;
    case KEY_ENTER: return MENU_PICK;
    case KEY_ESCAPE: return MENU_BACK;
    default: break;
    }
    uint32_t pad = 0;
    MenuKey direction = MENU_NONE;
    return IsPadDirectionKey(key, pad, direction) ? direction : MENU_NONE;
}

bool KeyDown(KeyCode k) { return k <= 255 && gInput.key[k].load(); }

// Takes the oldest queued press (with `fresh`, the oldest that is no auto-repeat), waiting for one when
// `wait`, and running the player's requests meanwhile; 0 when none comes (or, waiting, once no window can
// send one).
static KeyCode TakeKey(bool fresh, bool wait) {
    std::unique_lock<std::mutex> l(gInput.lock);
    for (;;) {
        if (wait) {
            gInput.keyArrived.wait(
                l, [] { return !gInput.queue.empty() || gWin.state.load() != STATE_ACTIVE || RequestsPending(); });
        }
        if (wait && RequestsPending()) {
            l.unlock();
            RunRequests();
            l.lock();
            continue;
        }
        if (gInput.queue.empty()) return 0;
        QueueElmt e = gInput.queue.front();
        gInput.queue.pop_front();
        if (fresh && e.repeat) continue;
        gInput.lastFromPad = e.fromPad;
        return e.key;
    }
}

KeyCode GetKey() { return TakeKey(false, true); }

KeyCode GetFreshKey() { return TakeKey(true, true); }

KeyCode PollKey() { return TakeKey(false, false); }

KeyCode PollFreshKey() { return TakeKey(true, false); }

bool KeyCameFromPad() {
    std::lock_guard<std::mutex> g(gInput.lock);
    return gInput.lastFromPad;
}

void FlushKeys() {
    std::lock_guard<std::mutex> g(gInput.lock);
    gInput.queue.clear();
}

void MousePos(int32_t &x, int32_t &y) {
    std::lock_guard<std::mutex> g(gInput.lock);
    x = gInput.mouse.x;
    y = gInput.mouse.y;
}

void OnMouseLeftUp(MouseProc proc) { gInput.leftUp.store(proc); }

void OnMouseLeftDouble(MouseProc proc) { gInput.leftDouble.store(proc); }

// ---- exported: waiting and simulated input -------------------------------------------------------------------

void Wait(uint32_t ms) {
    if (gWin.closed.load()) return;
    RunRequests();
    WaitProc proc = gWin.waitProc.load();
    if (proc) {
        proc(ms);
        return;
    }
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    std::unique_lock<std::mutex> l(gWin.lock);
    while (gWin.changed.wait_until(l, until, [] { return gWin.closed.load() || RequestsPending(); })) {
        if (gWin.closed.load()) return;
        l.unlock();
        RunRequests();
        l.lock();
    }
}

bool WaitForPress(uint32_t ms) {
    if (gWin.closed.load()) return false;
    RunRequests();
    const uint32_t clicks = gInput.leftUps.load();
    // gInput.lock held.
    auto pressed = [clicks] {
        if (gInput.leftUps.load() != clicks) return true;
        for (const QueueElmt &e : gInput.queue)
            if (!e.repeat) return true;
        return false;
    };
    WaitProc proc = gWin.waitProc.load();
    if (proc) {
        proc(ms);
        std::lock_guard<std::mutex> g(gInput.lock);
        return pressed();
    }
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    std::unique_lock<std::mutex> l(gInput.lock);
    for (;;) {
        if (!gInput.keyArrived.wait_until(l, until, [&] {
                return pressed() || gWin.closed.load() || gWin.state.load() != STATE_ACTIVE || RequestsPending();
            }))
            return false;
        if (pressed()) return true;
        if (gWin.closed.load() || gWin.state.load() != STATE_ACTIVE) return false;
        l.unlock();
        RunRequests();
        l.lock();
    }
}

void SetWaitProc(WaitProc proc) { gWin.waitProc.store(proc); }

void SimulateKeyDown(KeyCode k) { KeyPressed(k, (k >= 32 && k < 127) ? (char)k : 0, false); }

void SimulateKeyUp(KeyCode k) { KeyReleased(k); }

void SimulateMouseMove(int32_t x, int32_t y) { MouseMoved(x, y); }

void SimulateLeftDouble(int32_t x, int32_t y) { CallLeftDouble(x, y); }

void SimulateLeftUp(int32_t x, int32_t y) {
    ButtonReleased(true);
    CallLeftUp(x, y);
}

void SimulateResize(uint32_t w, uint32_t h) {
    if (gWin.state.load() != STATE_ACTIVE || w == 0 || h == 0) return;
    uint32_t before = gWin.resizesDone.load();
    gWin.resizeTo.store((uint64_t)w << 32 | h);
    WakeWindowThread();
    std::unique_lock<std::mutex> l(gWin.lock);
    gWin.changed.wait(l, [before] { return gWin.resizesDone.load() != before || gWin.state.load() != STATE_ACTIVE; });
}

}  // namespace Wimdows
