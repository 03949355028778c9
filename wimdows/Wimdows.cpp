// Wimdows, the window thread: the game's window on SDL2. A window thread of its own opens the window, turns
// SDL events into the input state (Input.cpp) and puts finished pictures on the screen; the main thread draws
// into the back buffer (Drawing.cpp).
//
// Sections: types; state; internal: the window thread's wake-up, the open/close handshake, the window thread
// itself (events, placement and fullscreen, serving, set-up, freeing); exported: the window.
//
// Locks, always taken in this order when more than one is held:
//   gWin.lock    the open/close handshake (state, closed), the sleeping of Wait and the placement
//   gDraw.lock   the back buffer, the picture table, buffering and the font (Drawing.cpp)
//   gFront.lock  the front picture, the picture the window shows and its part still to be shown (Drawing.cpp)
//   gInput.lock  the key queue and the mouse position (Input.cpp)
//   gWake.lock   the window thread's wake-up (and, on drivers without events of their own, its event queue)
#include <SDL.h>
#include <malloc.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "wimdows/Surface.h"
#include "wimdows/Wimdows.h"
#include "wimdows/WimdowsInternal.h"
#include "wimdows/WindowState.h"

namespace Wimdows {

// ---- types -------------------------------------------------------------------------------------------

enum WaitKind : uint8_t { WAIT_QUEUE, WAIT_POLL, WAIT_SDL };

struct WakeRec {
    std::mutex lock;
    std::condition_variable cv;  // WAIT_QUEUE
    WaitKind kind = WAIT_QUEUE;
    int fd = -1;                   // WAIT_POLL: an eventfd that a wake-up makes readable
    bool listening = false;        // the window thread accepts wake-ups
    bool posted = false;           // a wake-up is on its way
    std::deque<SDL_Event> events;  // drivers without events of their own: everything SDL_PushEvent sends
};

struct SdlRec {  // window thread only
    SDL_Window *window = nullptr;
    uint32_t wakeEvent = 0;
    bool captured = false;
    bool positions = false;  // the platform tells where the window is (X11)
    // REQUEST_PLACEMENT goes out at most every kPlacementGap; a later change waits until `due`.
    std::chrono::steady_clock::time_point lastPlacement;
    bool placementDue = false;
    std::chrono::steady_clock::time_point due;
};

// ---- state -------------------------------------------------------------------------------------------

// The records are made once and never destroyed, so that a window thread still running when the program
// exits never meets a destroyed lock.
WindowRec &gWin = *new WindowRec;
InputRec &gInput = *new InputRec;
static WakeRec &gWake = *new WakeRec;
static SdlRec gSdl;

static const char *kIconFile = "bitmap/kwibbel-icon.bmp";
static std::atomic<bool> gInitDone{false};
static const std::chrono::milliseconds kPlacementGap(500);

// ---- internal: the window thread's wake-up -------------------------------------------------------------

// Asks the window thread to look at its requests (a picture to show, a close). Any thread, no lock held
// except gDraw or gFront.
void WakeWindowThread() {
    std::lock_guard<std::mutex> g(gWake.lock);
    if (!gWake.listening || gWake.posted) return;
    gWake.posted = true;
    if (gWake.kind == WAIT_POLL) {
        uint64_t one = 1;
        ssize_t written = write(gWake.fd, &one, sizeof one);
        (void)written;  // a full counter already wakes the thread
    } else if (gWake.kind == WAIT_SDL) {
        SDL_Event e;
        SDL_zero(e);
        e.type = gSdl.wakeEvent;
        SDL_PushEvent(&e);
    } else {
        gWake.cv.notify_one();
    }
}

// Drivers without events of their own (dummy, offscreen) cannot wake SDL_WaitEvent, so there every event
// that SDL queues is taken over here and the window thread sleeps on a condition variable instead.
static int SDLCALL DivertEvent(void *, SDL_Event *e) {
    std::lock_guard<std::mutex> g(gWake.lock);
    gWake.events.push_back(*e);
    gWake.cv.notify_one();
    return 0;
}

// ---- internal: state handshake -----------------------------------------------------------------------

static void SetState(WinState s) {
    {
        std::lock_guard<std::mutex> g(gWin.lock);
        std::lock_guard<std::mutex> gi(gInput.lock);
        gWin.state.store(s);
    }
    gWin.changed.notify_all();
    gInput.keyArrived.notify_all();
}

static void SetClosedByPlayer() {
    {
        std::lock_guard<std::mutex> g(gWin.lock);
        gWin.closed.store(true);
    }
    gWin.changed.notify_all();
}

// ---- internal: the window thread ------------------------------------------------------------------------

static void Capture(bool on) {
    if (on == gSdl.captured) return;
    if (SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE) == 0 || !on) gSdl.captured = on;
}

// Flags REQUEST_PLACEMENT now, or at the end of the gap after the last one.
static void PlacementChanged() {
    auto now = std::chrono::steady_clock::now();
    if (now - gSdl.lastPlacement >= kPlacementGap) {
        gSdl.lastPlacement = now;
        gSdl.placementDue = false;
        PostRequest(REQUEST_PLACEMENT);
    } else if (!gSdl.placementDue) {
        gSdl.placementDue = true;
        gSdl.due = gSdl.lastPlacement + kPlacementGap;
    }
}

// Milliseconds until a waiting REQUEST_PLACEMENT is due (0: now), -1 when none waits.
static int PlacementWait() {
    if (!gSdl.placementDue) return -1;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(gSdl.due - std::chrono::steady_clock::now());
    return left.count() < 0 ? 0 : (int)left.count() + 1;
}

// Where the window's frame stands (what SDL_CreateWindow takes): the client area's position less the
// frame's border, as far as the platform tells it.
static void FramePosition(int &x, int &y) {
    SDL_GetWindowPosition(gSdl.window, &x, &y);
    int top = 0, left = 0;
    if (SDL_GetWindowBordersSize(gSdl.window, &top, &left, nullptr, nullptr) == 0) x -= left, y -= top;
}

// Notes where the window is and how big, out of fullscreen; a change goes to the main thread.
static void NotePlacement() {
    Uint32 flags = SDL_GetWindowFlags(gSdl.window);
    Placement p;
    {
        std::lock_guard<std::mutex> g(gWin.lock);
        p = gWin.seen;
    }
    Placement before = p;
    p.fullscreen = (flags & SDL_WINDOW_FULLSCREEN) != 0;
    if (!p.fullscreen) {
        int w = 0, h = 0, x = 0, y = 0;
        SDL_GetWindowSize(gSdl.window, &w, &h);
        FramePosition(x, y);
        p.width = (uint32_t)w;
        p.height = (uint32_t)h;
        p.positioned = gSdl.positions;
        p.x = gSdl.positions ? x : 0;
        p.y = gSdl.positions ? y : 0;
    }
    if (p.x == before.x && p.y == before.y && p.width == before.width && p.height == before.height &&
        p.positioned == before.positioned && p.fullscreen == before.fullscreen)
        return;
    {
        std::lock_guard<std::mutex> g(gWin.lock);
        gWin.seen = p;
    }
    PlacementChanged();
}

// The window has a new size: the picture follows at once.
static void Resized() {
    int w = 0, h = 0;
    SDL_GetWindowSize(gSdl.window, &w, &h);
    if (w > 0 && h > 0) SurfaceResize((uint32_t)w, (uint32_t)h);
    ShowFront(gSdl.window, true);
    NotePlacement();
}

// What other threads asked of the window thread: fullscreen, a size; and a placement request now due.
static void ServeWindowRequests() {
    if (gWin.switchFullscreen.exchange(false)) {
        if (SDL_GetWindowFlags(gSdl.window) & SDL_WINDOW_FULLSCREEN) {
            // Back to the size it had, which not every platform restores by itself.
            Placement p = GetPlacement();
            SDL_SetWindowFullscreen(gSdl.window, 0);
            SDL_SetWindowSize(gSdl.window, (int)p.width, (int)p.height);
        } else {
            SDL_SetWindowFullscreen(gSdl.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
        }
        Resized();
    }
    if (uint64_t size = gWin.resizeTo.exchange(0)) {
        SDL_SetWindowSize(gSdl.window, (int)(size >> 32), (int)(size & 0xFFFFFFFF));
        Resized();
        {
            std::lock_guard<std::mutex> g(gWin.lock);
            gWin.resizesDone.fetch_add(1);
        }
        gWin.changed.notify_all();
    }
    if (gSdl.placementDue && PlacementWait() == 0) {
        gSdl.placementDue = false;
        gSdl.lastPlacement = std::chrono::steady_clock::now();
        PostRequest(REQUEST_PLACEMENT);
    }
}

// Handles one SDL event; TRUE when the player closed the window.
static bool HandleEvent(const SDL_Event &e) {
    switch (e.type) {
    case SDL_QUIT: return true;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: return true;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED: ShowFront(gSdl.window, true); break;
        case SDL_WINDOWEVENT_SIZE_CHANGED: Resized(); break;
        case SDL_WINDOWEVENT_MOVED: NotePlacement(); break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: gWin.focus.store(true); break;
        case SDL_WINDOWEVENT_FOCUS_LOST: gWin.focus.store(false); break;
        default: break;
        }
        break;
    case SDL_KEYDOWN: {
        const SDL_Keysym &k = e.key.keysym;
        if (k.mod & KMOD_ALT) {
            // Keys held with Alt are the window system's; Alt+Enter switches fullscreen like F11.
            if ((k.sym == SDLK_RETURN || k.sym == SDLK_KP_ENTER) && !e.key.repeat) WindowKey(KEY_F11, false);
            break;
        }
        char c = (k.sym >= 32 && k.sym < 127) ? (char)k.sym : 0;
        KeyPressed(VirtualKeyFor(k.sym, k.scancode), c, e.key.repeat != 0);
        break;
    }
    case SDL_KEYUP:
        // Always released, with or without Alt, so that no key stays held for ever in the game.
        KeyReleased(VirtualKeyFor(e.key.keysym.sym, e.key.keysym.scancode));
        break;
    case SDL_MOUSEMOTION: MouseMoved(e.motion.x, e.motion.y); break;
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT) {
            // The second press of a double click neither counts as held nor captures the pointer; it
            // goes to the double-click handler instead.
            if (e.button.clicks % 2 == 0) {
                CallLeftDouble(e.button.x, e.button.y);
                break;
            }
            if (ButtonPressed(true)) Capture(true);
        } else if (e.button.button == SDL_BUTTON_RIGHT) {
            if (ButtonPressed(false)) Capture(true);
        }
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT) {
            if (ButtonReleased(true)) Capture(false);
            CallLeftUp(e.button.x, e.button.y);
        } else if (e.button.button == SDL_BUTTON_RIGHT) {
            if (ButtonReleased(false)) Capture(false);
        }
        break;
    default: break;
    }
    return false;
}

// Frees everything of the window (after its event loop), then reports the state dead.
static void FreeWindow(bool byPlayer) {
    {
        std::lock_guard<std::mutex> g(gWake.lock);
        gWake.listening = false;
        gWake.posted = false;
        gWake.events.clear();
        if (gWake.fd >= 0) close(gWake.fd);
        gWake.fd = -1;
    }
    PadsStop();
    SurfaceClose();
    ResetInput();
    if (gSdl.captured) Capture(false);
    SDL_DestroyWindow(gSdl.window);
    gSdl.window = nullptr;
    SDL_SetEventFilter(nullptr, nullptr);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    gWin.title.clear();
    gWin.xlen = gWin.ylen = 0;
    if (byPlayer) SetClosedByPlayer();
    SetState(STATE_DEAD);
}

static void WinMainFailed() {
    PadsStop();
    if (gSdl.window) SDL_DestroyWindow(gSdl.window);
    gSdl.window = nullptr;
    SDL_SetEventFilter(nullptr, nullptr);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SetState(STATE_ERROR);
}

// Starts SDL's video on a driver that shows a window; FALSE when there is none. SDL falls back to an
// invisible window when there is no display, which only tests ask for by name.
static bool StartVideo() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    const char *driver = SDL_GetCurrentVideoDriver();
    bool invisible = !driver || std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0;
    const char *asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (invisible && (!asked || !*asked)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    return true;
}

// Sleeps until something happens to the window, then handles every event that came; TRUE when the player
// closed the window (or the events broke down, which is as good as closed). The three ways to sleep:
// on X11 in poll() on the X connection `xfd` and the wake-up eventfd; on drivers without events of their
// own on a condition variable fed by DivertEvent; on any other driver in SDL_WaitEvent.
static bool ServeEvents(int xfd) {
    bool byPlayer = false;
    SDL_Event e;
    // A placement request waiting for its gap, the pads and a note due to go limit the sleep (-1: no limit).
    const int placement = PlacementWait(), pads = PadsPollMs(), note = NoteWaitMs();
    int limit = placement < 0 ? pads : (pads < 0 || placement < pads ? placement : pads);
    if (note >= 0 && (limit < 0 || note < limit)) limit = note;
    if (gWake.kind == WAIT_POLL) {
        // Every X event already read is handled before the thread sleeps on the connection.
        SDL_PumpEvents();
        if (!SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) {
            pollfd fds[2] = {{xfd, POLLIN, 0}, {gWake.fd, POLLIN, 0}};
            if (poll(fds, 2, limit) < 0 && errno != EINTR) return true;
            uint64_t count;
            ssize_t got = read(gWake.fd, &count, sizeof count);
            (void)got;
        }
        while (!byPlayer && SDL_PollEvent(&e))
            if (HandleEvent(e)) byPlayer = true;
    } else if (gWake.kind == WAIT_SDL) {
        if (limit < 0 && !SDL_WaitEvent(&e)) return true;
        // With a limit a timeout is no failure: the thread looks at what it must and sleeps again.
        if (limit < 0 || SDL_WaitEventTimeout(&e, limit)) {
            do {
                if (HandleEvent(e)) byPlayer = true;
            } while (!byPlayer && SDL_PollEvent(&e));
        }
    } else {
        std::deque<SDL_Event> batch;
        if (pads >= 0) SDL_PumpEvents();  // the pads are brought up to date through SDL's events
        {
            std::unique_lock<std::mutex> l(gWake.lock);
            auto ready = [] { return gWake.posted || !gWake.events.empty(); };
            if (limit < 0)
                gWake.cv.wait(l, ready);
            else
                gWake.cv.wait_for(l, std::chrono::milliseconds(limit), ready);
            batch.swap(gWake.events);
        }
        for (const SDL_Event &ev : batch)
            if (!byPlayer && HandleEvent(ev)) byPlayer = true;
    }
    PadsLook();
    std::lock_guard<std::mutex> g(gWake.lock);
    gWake.posted = false;
    return byPlayer;
}

// No larger than the usable area of display `d`, and, when positioned, wholly on it.
static void FitOnDisplay(Placement &p, int d) {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(d, &usable) != 0 || usable.w <= 0 || usable.h <= 0) return;
    p.width = std::min(p.width, (uint32_t)usable.w);
    p.height = std::min(p.height, (uint32_t)usable.h);
    if (p.x == (int32_t)SDL_WINDOWPOS_UNDEFINED) return;
    p.x = std::max(usable.x, std::min(p.x, usable.x + usable.w - (int32_t)p.width));
    p.y = std::max(usable.y, std::min(p.y, usable.y + usable.h - (int32_t)p.height));
}

// The size and position the window opens with (video started): a size of 0 becomes the first size that
// suits the display; a position off every display is left to the platform.
static void PlaceWindow(Placement &p) {
    if (p.width == 0 || p.height == 0) {
        SDL_Rect usable;
        double s = SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 && usable.h > 0
                       ? FirstScale((uint32_t)usable.w, (uint32_t)usable.h, gWin.xlen, gWin.ylen)
                       : 1.0;
        p.width = (uint32_t)std::lround(gWin.xlen * s);
        p.height = (uint32_t)std::lround(gWin.ylen * s);
    }
    p.width = std::min(std::max(p.width, std::max(1u, gWin.xlen / 2)), 16384u);
    p.height = std::min(std::max(p.height, std::max(1u, gWin.ylen / 2)), 16384u);
    int display = -1;
    for (int d = 0; p.positioned && display < 0 && d < SDL_GetNumVideoDisplays(); ++d) {
        SDL_Rect bounds;
        SDL_Point corner = {p.x, p.y};
        if (SDL_GetDisplayBounds(d, &bounds) == 0 && SDL_PointInRect(&corner, &bounds)) display = d;
    }
    if (display < 0) p.x = p.y = (int32_t)SDL_WINDOWPOS_UNDEFINED;
    FitOnDisplay(p, display < 0 ? 0 : display);
}

// The window thread: opens the window, then serves it until the player or KillWindow closes it.
static void WinMain() {
    // A busy X server can refuse a connection for a moment (a full listen queue): try a few times.
    bool started = StartVideo();
    for (int attempt = 1; attempt < 3 && !started; ++attempt) {
        SDL_Delay(100);
        started = StartVideo();
    }
    if (!started) {
        SetState(STATE_ERROR);
        return;
    }
    // The event queue outlives a window while the sound system keeps SDL's events up: a close or quit
    // left over from an earlier window must not close this one.
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    const char *driver = SDL_GetCurrentVideoDriver();
    bool ownEvents = driver && std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0;
    {
        std::lock_guard<std::mutex> g(gWake.lock);
        gWake.kind = ownEvents ? WAIT_SDL : WAIT_QUEUE;
        gWake.events.clear();
    }
    if (!ownEvents) SDL_SetEventFilter(DivertEvent, nullptr);
    PadsStart();
    if (gSdl.wakeEvent == 0) {
        uint32_t ev = SDL_RegisterEvents(1);
        gSdl.wakeEvent = ev == (uint32_t)-1 ? (uint32_t)SDL_USEREVENT : ev;
    }

    Placement want = {0, 0, gWin.xlen, gWin.ylen, false, false};
    {
        std::lock_guard<std::mutex> g(gWin.lock);
        if (gWin.wantedSet) want = gWin.wanted;
        gWin.wantedSet = false;
    }
    PlaceWindow(want);
    gSdl.window = SDL_CreateWindow(gWin.title.c_str(), want.x, want.y, (int)want.width, (int)want.height,
                                   SDL_WINDOW_RESIZABLE | (want.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0));
    if (!gSdl.window) return WinMainFailed();
    SDL_SetWindowMinimumSize(gSdl.window, (int)std::max(1u, gWin.xlen / 2), (int)std::max(1u, gWin.ylen / 2));
    int w = 0, h = 0;
    SDL_GetWindowSize(gSdl.window, &w, &h);
    if (w <= 0 || h <= 0 || !SDL_GetWindowSurface(gSdl.window)) return WinMainFailed();
    gSdl.positions = driver && std::strcmp(driver, "x11") == 0;
    gSdl.placementDue = false;
    gSdl.lastPlacement = std::chrono::steady_clock::now() - kPlacementGap;
    {
        // Out of fullscreen the window has the size asked for, whatever it shows now.
        std::lock_guard<std::mutex> g(gWin.lock);
        int x = 0, y = 0;
        FramePosition(x, y);
        gWin.seen = Placement{gSdl.positions ? x : 0, gSdl.positions ? y : 0, want.width, want.height,
                              gSdl.positions,         want.fullscreen};
    }
    SDL_StopTextInput();
    // The game's icon in the title bar and the task list; without the file the platform's own shows.
    const std::string iconFile = PictureFileFor(DataPath(kIconFile));
    if (SDL_Surface *icon = iconFile.empty() ? nullptr : ReadPictureFile(iconFile)) {
        SDL_SetWindowIcon(gSdl.window, icon);
        SDL_FreeSurface(icon);
    }
    SurfaceOpen(gWin.xlen, gWin.ylen, (uint32_t)w, (uint32_t)h);
    int xfd = ownEvents ? X11ConnectionFd(gSdl.window) : -1;
    {
        std::lock_guard<std::mutex> g(gWake.lock);
        if (xfd >= 0) gWake.fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (gWake.fd >= 0) gWake.kind = WAIT_POLL;
        gWake.listening = true;
        gWake.posted = false;
    }
    ShowFront(gSdl.window, true);
    SDL_RaiseWindow(gSdl.window);
    gWin.focus.store(true);
    gSdl.captured = false;
    SetState(STATE_ACTIVE);

    bool byPlayer = false;
    while (!byPlayer && !gWin.killRequested.load()) {
        byPlayer = ServeEvents(xfd);
        if (byPlayer || gWin.killRequested.load()) break;
        ServeWindowRequests();
        ShowFront(gSdl.window, false);
    }
    FreeWindow(byPlayer);
}


// ---- exported: window ------------------------------------------------------------------------------------

void InitWimdows() {
    if (gInitDone.exchange(true)) return;
    for (auto &k : gInput.key) k.store(false);
    // Set here, on the main thread before SDL starts anywhere.
    // A plain software surface: no GL libraries in the process, a fraction of the memory.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Ctrl+C in the console ends the program as usual instead of becoming a close event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The layer captures the pointer itself while a button is held.
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    // Pictures of several megabytes come and go at factor 2: a fixed threshold keeps every such block in a
    // mapping of its own, returned whole when freed (glibc would otherwise raise the threshold after the
    // first free and let later blocks scatter over a heap that never shrinks).
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
}

void Window(const char *title, uint32_t x, uint32_t y) {
    InitWimdows();
    if (gWin.state.load() == STATE_ACTIVE) KillWindow();
    if (gWin.thread.joinable()) gWin.thread.join();  // a window the player closed earlier
    gWin.title = title ? title : "";
    gWin.xlen = x;
    gWin.ylen = y;
    gWin.killRequested.store(false);
    if (x == 0 || y == 0 || x > 16384 || y > 16384) {
        std::fprintf(stderr, "Can't create window.\n");
        gWin.title.clear();
        return;
    }
    try {
        gWin.thread = std::thread(WinMain);
    } catch (...) {
        std::fprintf(stderr, "Can't create window.\n");
        gWin.title.clear();
        return;
    }
    {
        std::unique_lock<std::mutex> l(gWin.lock);
        gWin.changed.wait(l, [] { return gWin.state.load() != STATE_DEAD; });
    }
    if (gWin.state.load() == STATE_ERROR) {
        gWin.thread.join();
        gWin.title.clear();
        SetState(STATE_DEAD);
        std::fprintf(stderr, "Can't create window.\n");
    }
}

void KillWindow() {
    if (gWin.state.load() == STATE_ACTIVE) {
        gWin.killRequested.store(true);
        WakeWindowThread();
        std::unique_lock<std::mutex> l(gWin.lock);
        gWin.changed.wait(l, [] { return gWin.state.load() == STATE_DEAD; });
    } else {
        SetState(STATE_DEAD);
    }
    if (gWin.thread.joinable()) gWin.thread.join();
    gWin.killRequested.store(false);
}

WinState State() { return (WinState)gWin.state.load(); }

void SetPlacement(const Placement &p) {
    std::lock_guard<std::mutex> g(gWin.lock);
    gWin.wanted = p;
    gWin.wantedSet = true;
}

Placement GetPlacement() {
    std::lock_guard<std::mutex> g(gWin.lock);
    return gWin.seen;
}

void OnRequests(RequestProc proc) { gWin.requestProc.store(proc); }

bool WindowLive() { return gWin.state.load() == STATE_ACTIVE; }

bool WindowClosed() { return gWin.closed.load(); }

bool HasFocus() { return gWin.state.load() != STATE_ACTIVE || gWin.focus.load(); }

}  // namespace Wimdows
