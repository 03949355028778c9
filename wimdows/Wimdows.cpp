// Wimdows: the game's window on SDL2. A window thread of its own opens the window, turns SDL events into
// the input state below and shows finished pictures; the main thread draws into the back buffer.
//
// Locks, always taken in this order when more than one is held:
//   gWin.lock    the open/close handshake (state, closed) and the sleeping of Wait
//   gDraw.lock   the back buffer, the picture table, buffering and the font (every drawing call, the freeing)
//   gFront.lock  the front picture, the picture the window shows and its part still to be shown
//   gInput.lock  the key queue and the mouse position
//   gWake.lock   the window thread's wake-up (and, on drivers without events of their own, its event queue)
//
// How the window thread sleeps: on X11 in poll() on the X connection and an eventfd of its own (SDL_WaitEvent
// would have SDL send itself wake-up messages to the window, and one still on its way when the window is
// destroyed makes Xlib end the program); on drivers without events (dummy, offscreen) on a condition
// variable; on any other driver in SDL_WaitEvent.
#include <SDL.h>
#include <SDL_ttf.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "wimdows/Wimdows.h"
#include "wimdows/WimdowsInternal.h"

namespace Wimdows {

// ---- types -------------------------------------------------------------------------------------------

// A pixel rectangle with inclusive corners; empty when x0 > x1 or y0 > y1.
struct Area {
    int32_t x0, y0, x1, y1;
};

static const Area kNoArea = {1, 1, 0, 0};

// Pixels of a loaded picture as 0x00RRGGBB, shared by every load of the same file at the same size.
struct Picture {
    uint32_t width, height;
    std::vector<uint32_t> px;
};

struct BitStruct {
    std::shared_ptr<const Picture> pic;  // null marks an empty entry
    uint32_t width, height;
};

struct QueueElmt {
    uint32_t key;
    char c;       // what the layout prints on the key; kept, never handed out
    bool repeat;  // the key was already held: an auto-repeat
};

struct MouseStruct {
    int32_t x, y;
    bool left, right;
};

struct FontStruct {
    uint32_t style;
    uint32_t color;  // 0x00BBGGRR
};

struct FontFace {
    const char *file;
    int pixels;  // em size in pixels
};

// ---- state -------------------------------------------------------------------------------------------

struct WindowRec {
    std::mutex lock;
    std::condition_variable changed;  // state changed, or the player closed the window
    std::atomic<uint8_t> state{STATE_DEAD};
    std::atomic<bool> closed{false};
    std::atomic<bool> focus{true};
    std::atomic<bool> killRequested{false};
    std::atomic<WaitProc> waitProc{nullptr};
    std::thread thread;
    std::string title;  // the caption, owned while a window is wanted
    uint32_t xlen = 0, ylen = 0;
    bool started = false;
};

struct DrawRec {
    std::mutex lock;
    bool live = false;  // a window is up and the buffers exist
    bool buffering = false;
    uint32_t xlen = 0, ylen = 0;
    std::vector<uint32_t> back;  // 0x00RRGGBB
    // Drawn since the last UpdateWindow: the rows as a whole, and per row its first and last column
    // (first > last: nothing), so that showing compares only what was drawn.
    Area dirty = kNoArea;
    std::vector<int32_t> rowFirst, rowLast;
    std::vector<BitStruct> bit;
    std::map<std::tuple<std::string, uint32_t, uint32_t>, std::shared_ptr<const Picture>> shared;
    FontStruct font = {0, 0};
    // KeepArea's copy of part of the back buffer, for RestoreArea.
    Area kept = kNoArea;
    std::vector<uint32_t> keptPixels;
};

struct FrontRec {
    std::mutex lock;
    std::vector<uint32_t> front;  // what the window shows, or is about to
    uint32_t xlen = 0, ylen = 0;
    Area pending = kNoArea;       // part of front not yet on the screen
};

struct InputRec {
    std::mutex lock;
    std::condition_variable keyArrived;  // a key was queued or the window went away
    std::deque<QueueElmt> queue;
    MouseStruct mouse = {0, 0, false, false};
    std::atomic<MouseProc> leftUp{nullptr};
    std::atomic<MouseProc> leftDouble{nullptr};
    std::atomic<bool> key[256];
};

enum WaitKind : uint8_t { WAIT_QUEUE, WAIT_POLL, WAIT_SDL };

struct WakeRec {
    std::mutex lock;
    std::condition_variable cv;  // WAIT_QUEUE
    WaitKind kind = WAIT_QUEUE;
    int fd = -1;             // WAIT_POLL: an eventfd that a wake-up makes readable
    bool listening = false;  // the window thread accepts wake-ups
    bool posted = false;     // a wake-up is on its way
    std::deque<SDL_Event> events;  // drivers without events of their own: everything SDL_PushEvent sends
};

struct SdlRec {  // window thread only
    SDL_Window *window = nullptr;
    uint32_t wakeEvent = 0;
    bool captured = false;
};

// The records are made once and never destroyed, so that a window thread still running when the program
// exits never meets a destroyed lock.
static WindowRec &gWin = *new WindowRec;
static DrawRec &gDraw = *new DrawRec;
static FrontRec &gFront = *new FrontRec;
static InputRec &gInput = *new InputRec;
static WakeRec &gWake = *new WakeRec;
static SdlRec gSdl;

static const char *kFontDir = "/usr/share/fonts/truetype/dejavu/";
// The stock font numbers: 0 the score panel, 1 the highscore table, the rest for anything else.
static const FontFace kFaces[6] = {
    {"DejaVuSans-Bold.ttf", 22},      // 0: the general font
    {"DejaVuSans-Bold.ttf", 30},      // 1: large headings and tables
    {"DejaVuSansMono-Bold.ttf", 16},  // 2: fixed width, bold
    {"DejaVuSans.ttf", 14},           // 3: small proportional
    {"DejaVuSansMono.ttf", 14},       // 4: small fixed width
    {"DejaVuSansMono.ttf", 12},       // 5: console-like
};
static TTF_Font *gFonts[6];  // main thread only; opened on first use, kept for the run
static std::string gDataFolder;  // relative picture names are read from here; set before the window opens
static const char *kIconFile = "bitmap/kwibbel-icon.bmp";
static bool gFontFailed[6];
static std::atomic<bool> gInitDone{false};

// ---- internal: areas and colours ----------------------------------------------------------------------

static bool Empty(const Area &a) { return a.x0 > a.x1 || a.y0 > a.y1; }

static Area Union(const Area &a, const Area &b) {
    if (Empty(a)) return b;
    if (Empty(b)) return a;
    return Area{a.x0 < b.x0 ? a.x0 : b.x0, a.y0 < b.y0 ? a.y0 : b.y0, a.x1 > b.x1 ? a.x1 : b.x1,
                a.y1 > b.y1 ? a.y1 : b.y1};
}

// Clips to a w by h picture; works in 64 bits so that corners near the integer limits cannot wrap.
static Area Clip(int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t w, uint32_t h) {
    if (x0 < 0) x0 = 0;
    if (y0 < 0) y0 = 0;
    if (x1 > (int64_t)w - 1) x1 = (int64_t)w - 1;
    if (y1 > (int64_t)h - 1) y1 = (int64_t)h - 1;
    if (x0 > x1 || y0 > y1) return kNoArea;
    return Area{(int32_t)x0, (int32_t)y0, (int32_t)x1, (int32_t)y1};
}

// 0x00BBGGRR (top byte ignored) to the buffer's 0x00RRGGBB, and back.
static uint32_t ToPixel(uint32_t color) {
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}
static uint32_t FromPixel(uint32_t p) { return ToPixel(p); }

// A picture file name as the layer reads it: relative names inside the data folder.
static std::string DataPath(const char *file) {
    if (!file || file[0] == '/' || gDataFolder.empty()) return file ? file : "";
    return gDataFolder + "/" + file;
}

// ---- internal: the window thread's wake-up -------------------------------------------------------------

// Asks the window thread to look at its requests (a picture to show, a close). Any thread, no lock held
// except gDraw or gFront.
static void WakeWindowThread() {
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

// ---- internal: input, shared by real SDL events and the Simulate procedures -----------------------------

static void AddKey(uint32_t key, char c, bool repeat) {
    {
        std::lock_guard<std::mutex> g(gInput.lock);
        gInput.queue.push_back(QueueElmt{key, c, repeat});
    }
    gInput.keyArrived.notify_one();
}

static void KeyPressed(uint32_t vk, char c) {
    // Alt and F10 belong to the window system (menu keys), never to the game.
    if (vk == 0 || vk > 255 || vk == 18 || vk == 121) return;
    // A press of a key that is down already is the keyboard's auto-repeat.
    bool held = gInput.key[vk].exchange(true);
    AddKey(vk, c, held);
}

static void KeyReleased(uint32_t vk) {
    if (vk == 0 || vk > 255) return;
    gInput.key[vk].store(false);
}

// A position as the game reads it: each coordinate its unsigned 16-bit reading, so -1 becomes 65535.
static int32_t Word(int32_t v) { return (int32_t)(uint16_t)v; }

static void MouseMoved(int32_t x, int32_t y) {
    std::lock_guard<std::mutex> g(gInput.lock);
    gInput.mouse.x = Word(x);
    gInput.mouse.y = Word(y);
}

// Both return TRUE when the pointer capture should change (taken on press, released on release) because
// the other button is not held.
static bool ButtonPressed(bool left) {
    std::lock_guard<std::mutex> g(gInput.lock);
    bool other = left ? gInput.mouse.right : gInput.mouse.left;
    (left ? gInput.mouse.left : gInput.mouse.right) = true;
    return !other;
}

static bool ButtonReleased(bool left) {
    std::lock_guard<std::mutex> g(gInput.lock);
    bool other = left ? gInput.mouse.right : gInput.mouse.left;
    (left ? gInput.mouse.left : gInput.mouse.right) = false;
    return !other;
}

static void CallLeftUp(int32_t x, int32_t y) {
    MouseProc proc = gInput.leftUp.load();
    if (proc) proc(Word(x), Word(y));
}

static void CallLeftDouble(int32_t x, int32_t y) {
    MouseProc proc = gInput.leftDouble.load();
    if (proc) proc(Word(x), Word(y));
}

static void ResetInput() {
    std::lock_guard<std::mutex> g(gInput.lock);
    gInput.mouse = MouseStruct{0, 0, false, false};
    gInput.leftUp.store(nullptr);
    gInput.leftDouble.store(nullptr);
    for (auto &k : gInput.key) k.store(false);
    gInput.queue.clear();
}

// ---- internal: showing pictures (window thread) ----------------------------------------------------------

// Puts the part of the front picture still pending on the screen.
static void ShowPending() {
    SDL_Rect r;
    {
        std::lock_guard<std::mutex> g(gFront.lock);
        SDL_Surface *s = SDL_GetWindowSurface(gSdl.window);
        if (!s || gFront.front.empty()) return;
        Area a = gFront.pending;
        gFront.pending = kNoArea;
        uint32_t w = gFront.xlen < (uint32_t)s->w ? gFront.xlen : (uint32_t)s->w;
        uint32_t h = gFront.ylen < (uint32_t)s->h ? gFront.ylen : (uint32_t)s->h;
        a = Clip(a.x0, a.y0, a.x1, a.y1, w, h);
        if (Empty(a)) return;
        r = SDL_Rect{a.x0, a.y0, a.x1 - a.x0 + 1, a.y1 - a.y0 + 1};
        if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) return;
        const uint32_t *from = gFront.front.data() + (size_t)a.y0 * gFront.xlen + a.x0;
        uint8_t *to = (uint8_t *)s->pixels + (size_t)a.y0 * s->pitch + (size_t)a.x0 * s->format->BytesPerPixel;
        SDL_ConvertPixels(r.w, r.h, SDL_PIXELFORMAT_RGB888, from, (int)(gFront.xlen * 4), s->format->format, to,
                          s->pitch);
        if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
    }
    SDL_UpdateWindowSurfaceRects(gSdl.window, &r, 1);
}

static void ShowAll() {
    {
        std::lock_guard<std::mutex> g(gFront.lock);
        gFront.pending = Area{0, 0, (int32_t)gFront.xlen - 1, (int32_t)gFront.ylen - 1};
    }
    ShowPending();
}

// ---- internal: the window thread ------------------------------------------------------------------------

static void Capture(bool on) {
    if (on == gSdl.captured) return;
    if (SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE) == 0 || !on) gSdl.captured = on;
}

// Handles one SDL event; TRUE when the player closed the window.
static bool HandleEvent(const SDL_Event &e) {
    switch (e.type) {
    case SDL_QUIT:
        return true;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            return true;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            ShowAll();
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            gWin.focus.store(true);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            gWin.focus.store(false);
            break;
        default:
            break;
        }
        break;
    case SDL_KEYDOWN: {
        const SDL_Keysym &k = e.key.keysym;
        if (k.mod & KMOD_ALT) break;  // keys held with Alt are the window system's
        char c = (k.sym >= 32 && k.sym < 127) ? (char)k.sym : 0;
        KeyPressed(VirtualKeyFor(k.sym, k.scancode), c);
        break;
    }
    case SDL_KEYUP:
        // Always released, with or without Alt, so that no key stays held for ever in the game.
        KeyReleased(VirtualKeyFor(e.key.keysym.sym, e.key.keysym.scancode));
        break;
    case SDL_MOUSEMOTION:
        MouseMoved(e.motion.x, e.motion.y);
        break;
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
    default:
        break;
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
    {
        std::lock_guard<std::mutex> g(gDraw.lock);
        gDraw.live = false;
        std::vector<uint32_t>().swap(gDraw.back);
        gDraw.xlen = gDraw.ylen = 0;
        gDraw.buffering = false;
        gDraw.dirty = kNoArea;
        std::vector<int32_t>().swap(gDraw.rowFirst);
        std::vector<int32_t>().swap(gDraw.rowLast);
        std::vector<BitStruct>().swap(gDraw.bit);
        gDraw.shared.clear();
        gDraw.kept = kNoArea;
        std::vector<uint32_t>().swap(gDraw.keptPixels);
        std::lock_guard<std::mutex> gf(gFront.lock);
        std::vector<uint32_t>().swap(gFront.front);
        gFront.xlen = gFront.ylen = 0;
        gFront.pending = kNoArea;
    }
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
    if (gSdl.wakeEvent == 0) {
        uint32_t ev = SDL_RegisterEvents(1);
        gSdl.wakeEvent = ev == (uint32_t)-1 ? (uint32_t)SDL_USEREVENT : ev;
    }

    gSdl.window = SDL_CreateWindow(gWin.title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                   (int)gWin.xlen, (int)gWin.ylen, 0);
    if (!gSdl.window) return WinMainFailed();
    int w = 0, h = 0;
    SDL_GetWindowSize(gSdl.window, &w, &h);
    if (w <= 0 || h <= 0 || !SDL_GetWindowSurface(gSdl.window)) return WinMainFailed();
    SDL_StopTextInput();
    // The game's icon in the title bar and the task list; without the file the platform's own shows.
    if (SDL_Surface *icon = SDL_LoadBMP(DataPath(kIconFile).c_str())) {
        SDL_SetWindowIcon(gSdl.window, icon);
        SDL_FreeSurface(icon);
    }
    gWin.xlen = (uint32_t)w;
    gWin.ylen = (uint32_t)h;
    {
        // The first picture is black.
        std::lock_guard<std::mutex> g(gDraw.lock);
        gDraw.xlen = gWin.xlen;
        gDraw.ylen = gWin.ylen;
        gDraw.back.assign((size_t)w * h, 0);
        gDraw.dirty = kNoArea;
        gDraw.rowFirst.assign((size_t)h, w);
        gDraw.rowLast.assign((size_t)h, -1);
        gDraw.buffering = false;
        gDraw.live = true;
        std::lock_guard<std::mutex> gf(gFront.lock);
        gFront.xlen = gWin.xlen;
        gFront.ylen = gWin.ylen;
        gFront.front.assign((size_t)w * h, 0);
        gFront.pending = kNoArea;
    }
    int xfd = ownEvents ? X11ConnectionFd(gSdl.window) : -1;
    {
        std::lock_guard<std::mutex> g(gWake.lock);
        if (xfd >= 0) gWake.fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (gWake.fd >= 0) gWake.kind = WAIT_POLL;
        gWake.listening = true;
        gWake.posted = false;
    }
    ShowAll();
    SDL_RaiseWindow(gSdl.window);
    gWin.focus.store(true);
    gSdl.captured = false;
    SetState(STATE_ACTIVE);

    bool byPlayer = false;
    for (;;) {
        SDL_Event e;
        if (gWake.kind == WAIT_POLL) {
            // Every X event already read is handled before the thread sleeps on the connection.
            SDL_PumpEvents();
            if (!SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) {
                pollfd fds[2] = {{xfd, POLLIN, 0}, {gWake.fd, POLLIN, 0}};
                if (poll(fds, 2, -1) < 0 && errno != EINTR) {
                    byPlayer = true;  // the connection broke down: the window is as good as closed
                    break;
                }
                uint64_t count;
                ssize_t got = read(gWake.fd, &count, sizeof count);
                (void)got;
            }
            while (!byPlayer && SDL_PollEvent(&e))
                if (HandleEvent(e)) byPlayer = true;
        } else if (gWake.kind == WAIT_SDL) {
            if (!SDL_WaitEvent(&e)) {
                byPlayer = true;  // the event system broke down: the window is as good as closed
                break;
            }
            do {
                if (HandleEvent(e)) byPlayer = true;
            } while (!byPlayer && SDL_PollEvent(&e));
        } else {
            std::deque<SDL_Event> batch;
            {
                std::unique_lock<std::mutex> l(gWake.lock);
                gWake.cv.wait(l, [] { return gWake.posted || !gWake.events.empty(); });
                batch.swap(gWake.events);
            }
            for (const SDL_Event &ev : batch)
                if (!byPlayer && HandleEvent(ev)) byPlayer = true;
        }
        {
            std::lock_guard<std::mutex> g(gWake.lock);
            gWake.posted = false;
        }
        if (byPlayer || gWin.killRequested.load()) break;
        ShowPending();
    }
    FreeWindow(byPlayer);
}

// ---- internal: drawing (main thread, gDraw.lock held) ----------------------------------------------------

// Notes an area drawn into the back buffer; in direct mode also puts it on the screen at once.
static void Drawn(const Area &a) {
    if (Empty(a)) return;
    gDraw.dirty = Union(gDraw.dirty, a);
    for (int32_t y = a.y0; y <= a.y1; ++y) {
        if (a.x0 < gDraw.rowFirst[y]) gDraw.rowFirst[y] = a.x0;
        if (a.x1 > gDraw.rowLast[y]) gDraw.rowLast[y] = a.x1;
    }
    if (gDraw.buffering) return;
    {
        std::lock_guard<std::mutex> g(gFront.lock);
        for (int32_t y = a.y0; y <= a.y1; ++y) {
            size_t at = (size_t)y * gDraw.xlen + a.x0;
            std::memcpy(&gFront.front[at], &gDraw.back[at], (size_t)(a.x1 - a.x0 + 1) * 4);
        }
        gFront.pending = Union(gFront.pending, a);
    }
    WakeWindowThread();
}

// Copies what changed in the back buffer since the last time to the front picture and has it shown.
// An unchanged picture costs one comparison of the parts of rows drawn since then, and nothing more.
static void UpdateLocked() {
    Area d = gDraw.dirty;
    gDraw.dirty = kNoArea;
    if (Empty(d)) return;
    Area changed = kNoArea;
    {
        std::lock_guard<std::mutex> g(gFront.lock);
        for (int32_t y = d.y0; y <= d.y1; ++y) {
            int32_t x0 = gDraw.rowFirst[y], x1 = gDraw.rowLast[y];
            gDraw.rowFirst[y] = (int32_t)gDraw.xlen;
            gDraw.rowLast[y] = -1;
            if (x0 > x1) continue;
            size_t at = (size_t)y * gDraw.xlen + x0, span = (size_t)(x1 - x0 + 1) * 4;
            if (std::memcmp(&gFront.front[at], &gDraw.back[at], span) == 0) continue;
            std::memcpy(&gFront.front[at], &gDraw.back[at], span);
            changed = Union(changed, Area{x0, y, x1, y});
        }
        if (Empty(changed)) return;
        gFront.pending = Union(gFront.pending, changed);
    }
    WakeWindowThread();
}

// The first row is filled pixel by pixel, the others copied from it (a block copy is many times faster).
static void FillArea(const Area &a, uint32_t pixel) {
    if (Empty(a)) return;
    uint32_t *first = &gDraw.back[(size_t)a.y0 * gDraw.xlen + a.x0];
    size_t n = (size_t)(a.x1 - a.x0 + 1);
    for (size_t x = 0; x < n; ++x) first[x] = pixel;
    for (int32_t y = a.y0 + 1; y <= a.y1; ++y) std::memcpy(&gDraw.back[(size_t)y * gDraw.xlen + a.x0], first, n * 4);
}

static TTF_Font *FontFor(uint32_t style) {
    if (style > 5) style = 0;
    if (gFonts[style] || gFontFailed[style]) return gFonts[style];
    if (!TTF_WasInit() && TTF_Init() != 0) {
        std::fprintf(stderr, "Can't start the font renderer: %s\n", TTF_GetError());
        for (bool &f : gFontFailed) f = true;
        return nullptr;
    }
    std::string path = std::string(kFontDir) + kFaces[style].file;
    gFonts[style] = TTF_OpenFont(path.c_str(), kFaces[style].pixels);
    if (!gFonts[style]) {
        std::fprintf(stderr, "Can't open font %s.\n", path.c_str());
        gFontFailed[style] = true;
    }
    return gFonts[style];
}

static bool Live() { return gWin.state.load() == STATE_ACTIVE; }

// ---- exported: window and input ---------------------------------------------------------------------------

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

bool IsReservedKey(KeyCode key) {
    for (KeyCode reserved : RESERVED_KEYS)
        if (key == reserved) return true;
    return false;
}

bool KeyDown(uint32_t k) { return k <= 255 && gInput.key[k].load(); }

uint32_t GetKey() {
    std::unique_lock<std::mutex> l(gInput.lock);
    gInput.keyArrived.wait(l, [] { return !gInput.queue.empty() || gWin.state.load() != STATE_ACTIVE; });
    if (gInput.queue.empty()) return 0;
    uint32_t k = gInput.queue.front().key;
    gInput.queue.pop_front();
    return k;
}

uint32_t GetFreshKey() {
    std::unique_lock<std::mutex> l(gInput.lock);
    for (;;) {
        gInput.keyArrived.wait(l, [] { return !gInput.queue.empty() || gWin.state.load() != STATE_ACTIVE; });
        if (gInput.queue.empty()) return 0;
        QueueElmt e = gInput.queue.front();
        gInput.queue.pop_front();
        if (!e.repeat) return e.key;
    }
}

uint32_t PollKey() {
    std::lock_guard<std::mutex> g(gInput.lock);
    if (gInput.queue.empty()) return 0;
    uint32_t k = gInput.queue.front().key;
    gInput.queue.pop_front();
    return k;
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

bool WindowClosed() { return gWin.closed.load(); }

bool HasFocus() { return gWin.state.load() != STATE_ACTIVE || gWin.focus.load(); }

// ---- exported: drawing -------------------------------------------------------------------------------------

void SetBuffering(bool state) {
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (!gDraw.live) return;
    if (gDraw.buffering && !state) UpdateLocked();
    gDraw.buffering = state;
}

void UpdateWindow() {
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (gDraw.live) UpdateLocked();
}

void ClearScreen() {
    uint32_t w, h;
    {
        std::lock_guard<std::mutex> g(gDraw.lock);
        w = gDraw.xlen, h = gDraw.ylen;
    }
    Rectangle(0, 0, (int32_t)w, (int32_t)h, 0, true);
}

void Rectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t color, bool fill) {
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    uint32_t pixel = ToPixel(color);
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (!gDraw.live) return;
    Area whole = Clip(x0, y0, x1, y1, gDraw.xlen, gDraw.ylen);
    if (Empty(whole)) return;
    if (fill) {
        FillArea(whole, pixel);
    } else {
        // Each edge clipped on its own: an edge outside the buffer paints nothing.
        FillArea(Clip(x0, y0, x1, y0, gDraw.xlen, gDraw.ylen), pixel);
        FillArea(Clip(x0, y1, x1, y1, gDraw.xlen, gDraw.ylen), pixel);
        FillArea(Clip(x0, y0, x0, y1, gDraw.xlen, gDraw.ylen), pixel);
        FillArea(Clip(x1, y0, x1, y1, gDraw.xlen, gDraw.ylen), pixel);
    }
    Drawn(whole);
}

void KeepArea(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    std::lock_guard<std::mutex> g(gDraw.lock);
    gDraw.kept = kNoArea;
    gDraw.keptPixels.clear();
    if (!gDraw.live) return;
    Area a = Clip(x0, y0, x1, y1, gDraw.xlen, gDraw.ylen);
    if (Empty(a)) return;
    size_t w = (size_t)(a.x1 - a.x0 + 1);
    gDraw.keptPixels.resize(w * (size_t)(a.y1 - a.y0 + 1));
    for (int32_t y = a.y0; y <= a.y1; ++y)
        std::memcpy(&gDraw.keptPixels[(size_t)(y - a.y0) * w], &gDraw.back[(size_t)y * gDraw.xlen + a.x0], w * 4);
    gDraw.kept = a;
}

void RestoreArea() {
    std::lock_guard<std::mutex> g(gDraw.lock);
    Area a = gDraw.kept;
    gDraw.kept = kNoArea;
    if (!gDraw.live || Empty(a)) return;
    size_t w = (size_t)(a.x1 - a.x0 + 1);
    for (int32_t y = a.y0; y <= a.y1; ++y)
        std::memcpy(&gDraw.back[(size_t)y * gDraw.xlen + a.x0], &gDraw.keptPixels[(size_t)(y - a.y0) * w], w * 4);
    std::vector<uint32_t>().swap(gDraw.keptPixels);
    Drawn(a);
}

void SetFont(uint32_t style, uint32_t color) {
    std::lock_guard<std::mutex> g(gDraw.lock);
    gDraw.font = FontStruct{style, color & 0xFFFFFF};
}

void Text(const char *text, int32_t x, int32_t y) {
    if (!text || !*text || !Live()) return;
    FontStruct f;
    {
        std::lock_guard<std::mutex> g(gDraw.lock);
        f = gDraw.font;
    }
    TTF_Font *font = FontFor(f.style);
    if (!font) return;
    SDL_Color fg = {(Uint8)(f.color & 0xFF), (Uint8)((f.color >> 8) & 0xFF), (Uint8)((f.color >> 16) & 0xFF), 255};
    SDL_Surface *glyphs = TTF_RenderText_Blended(font, text, fg);
    if (!glyphs) return;
    if (glyphs->format->format != SDL_PIXELFORMAT_ARGB8888) {
        SDL_Surface *c = SDL_ConvertSurfaceFormat(glyphs, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(glyphs);
        glyphs = c;
        if (!glyphs) return;
    }
    uint32_t ink = ToPixel(f.color);
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (gDraw.live) {
        Area a = Clip(x, y, (int64_t)x + glyphs->w - 1, (int64_t)y + glyphs->h - 1, gDraw.xlen, gDraw.ylen);
        if (!Empty(a)) {
            if (SDL_MUSTLOCK(glyphs)) SDL_LockSurface(glyphs);
            for (int32_t py = a.y0; py <= a.y1; ++py) {
                const uint32_t *src = (const uint32_t *)((const uint8_t *)glyphs->pixels +
                                                         (size_t)(py - y) * glyphs->pitch);
                uint32_t *dst = &gDraw.back[(size_t)py * gDraw.xlen];
                for (int32_t px = a.x0; px <= a.x1; ++px) {
                    uint32_t alpha = src[px - x] >> 24;
                    if (alpha == 0) continue;
                    if (alpha == 255) {
                        dst[px] = ink;
                        continue;
                    }
                    uint32_t d = dst[px], out = 0;
                    for (int shift = 0; shift <= 16; shift += 8) {
                        uint32_t dc = (d >> shift) & 0xFF, ic = (ink >> shift) & 0xFF;
                        out |= ((dc * (255 - alpha) + ic * alpha + 127) / 255) << shift;
                    }
                    dst[px] = out;
                }
            }
            if (SDL_MUSTLOCK(glyphs)) SDL_UnlockSurface(glyphs);
            Drawn(a);
        }
    }
    SDL_FreeSurface(glyphs);
}

void TextInt(int32_t number, int32_t x, int32_t y) {
    char text[40];
    Int2Char(text, number);
    Text(text, x, y);
}

void GetTextSize(const char *text, uint32_t style, uint32_t &width, uint32_t &height) {
    width = height = 0;
    if (!text || !Live()) return;
    TTF_Font *font = FontFor(style);
    if (!font) return;
    int w = 0, h = 0;
    if (*text == 0) {
        h = TTF_FontHeight(font);
    } else if (TTF_SizeText(font, text, &w, &h) != 0) {
        return;
    }
    width = (uint32_t)(w > 0 ? w : 0);
    height = (uint32_t)(h > 0 ? h : 0);
}

void Int2Char(char *chp, int32_t nr) {
    // Worked in 64 bits, so that the most negative number prints in full like every other.
    int64_t n = nr;
    int len = 1;
    if (n < 0) ++len, n = -n;
    for (int64_t rest = n; rest > 9; rest /= 10) ++len;
    if (nr < 0) chp[0] = '-';
    chp[len] = 0;
    int stop = nr < 0 ? 1 : 0;
    for (int i = len - 1; i >= stop; --i) {
        chp[i] = (char)('0' + n % 10);
        n /= 10;
    }
}

// Reads a BMP and brings it to width by height (0 keeps the file's own size); null when it fails.
static std::shared_ptr<Picture> ReadPicture(const char *file, uint32_t width, uint32_t height) {
    SDL_Surface *raw = SDL_LoadBMP(file);
    if (!raw) return nullptr;
    SDL_Surface *s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGB888, 0);
    SDL_FreeSurface(raw);
    if (!s) return nullptr;
    uint32_t sw = (uint32_t)s->w, sh = (uint32_t)s->h;
    if (width == 0) width = sw;
    if (height == 0) height = sh;
    std::shared_ptr<Picture> p;
    // Bounded so that a wrong size cannot take all memory: 64 million pixels at most.
    if (sw > 0 && sh > 0 && (uint64_t)width * height <= (64u << 20)) {
        std::vector<uint32_t> pixels((size_t)sw * sh);
        if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
        for (uint32_t y = 0; y < sh; ++y)
            std::memcpy(&pixels[(size_t)y * sw], (const uint8_t *)s->pixels + (size_t)y * s->pitch, (size_t)sw * 4);
        if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
        for (uint32_t &px : pixels) px &= 0xFFFFFF;
        p = std::make_shared<Picture>();
        p->width = width;
        p->height = height;
        if (width == sw && height == sh) {
            p->px.swap(pixels);
        } else {
            p->px.resize((size_t)width * height);
            ScalePixels(pixels.data(), sw, sh, p->px.data(), width, height);
        }
    }
    SDL_FreeSurface(s);
    return p;
}

void SetDataFolder(const char *folder) { gDataFolder = folder ? folder : ""; }

const char *ProgramFolder() {
    static std::string folder;
    static bool asked = false;
    if (!asked) {
        asked = true;
        if (char *base = SDL_GetBasePath()) {
            folder = base;
            SDL_free(base);
        }
    }
    return folder.c_str();
}

uint32_t LoadBitmap(const char *name, uint32_t width, uint32_t height) {
    if (!name) return 0;
    const std::string path = DataPath(name);
    const char *file = path.c_str();
    // A picture already loaded from the same file at the same size shares its pixels; the file must still
    // be there, so that a load never succeeds for a file that is gone.
    std::FILE *f = std::fopen(file, "rb");
    if (!f) return 0;
    std::fclose(f);
    auto key = std::make_tuple(path, width, height);
    std::shared_ptr<const Picture> pic;
    {
        std::lock_guard<std::mutex> g(gDraw.lock);
        auto it = gDraw.shared.find(key);
        if (it != gDraw.shared.end()) pic = it->second;
    }
    if (!pic) {
        pic = ReadPicture(file, width, height);
        if (!pic) return 0;
    }
    std::lock_guard<std::mutex> g(gDraw.lock);
    gDraw.shared.emplace(key, pic);
    BitStruct entry = {pic, pic->width, pic->height};
    for (size_t i = 0; i < gDraw.bit.size(); ++i) {
        if (!gDraw.bit[i].pic) {
            gDraw.bit[i] = entry;
            return (uint32_t)i + 1;
        }
    }
    gDraw.bit.push_back(entry);
    return (uint32_t)gDraw.bit.size();
}

static const BitStruct *Entry(uint32_t bitmap) {
    if (bitmap == 0 || bitmap > gDraw.bit.size() || !gDraw.bit[bitmap - 1].pic) return nullptr;
    return &gDraw.bit[bitmap - 1];
}

void DrawBitmap(uint32_t bitmap, int32_t x, int32_t y) {
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (!gDraw.live) return;
    const BitStruct *b = Entry(bitmap);
    if (!b) return;
    Area a = Clip(x, y, (int64_t)x + b->width - 1, (int64_t)y + b->height - 1, gDraw.xlen, gDraw.ylen);
    if (Empty(a)) return;
    const Picture &p = *b->pic;
    for (int32_t py = a.y0; py <= a.y1; ++py)
        std::memcpy(&gDraw.back[(size_t)py * gDraw.xlen + a.x0],
                    &p.px[(size_t)(py - y) * p.width + (a.x0 - x)], (size_t)(a.x1 - a.x0 + 1) * 4);
    Drawn(a);
}

// A mask pixel lets the picture through when it is light: at least half brightness on average, so that a
// mask softened by scaling still cuts cleanly. Outside the mask nothing gets through.
static bool MaskOpen(const Picture &m, int32_t mx, int32_t my) {
    if (mx < 0 || my < 0 || (uint32_t)mx >= m.width || (uint32_t)my >= m.height) return false;
    uint32_t p = m.px[(size_t)my * m.width + mx];
    return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) >= 384;
}

void DrawMaskBitmap(uint32_t bitmap, uint32_t maskbitmap, int32_t x, int32_t y) {
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (!gDraw.live) return;
    const BitStruct *b = Entry(bitmap);
    const BitStruct *m = Entry(maskbitmap);
    if (!b || !m) return;
    Area a = Clip(x, y, (int64_t)x + b->width - 1, (int64_t)y + b->height - 1, gDraw.xlen, gDraw.ylen);
    if (Empty(a)) return;
    const Picture &p = *b->pic;
    const Picture &mask = *m->pic;
    for (int32_t py = a.y0; py <= a.y1; ++py) {
        uint32_t *dst = &gDraw.back[(size_t)py * gDraw.xlen];
        const uint32_t *src = &p.px[(size_t)(py - y) * p.width];
        for (int32_t px = a.x0; px <= a.x1; ++px)
            if (MaskOpen(mask, px - x, py - y)) dst[px] = src[px - x];
    }
    Drawn(a);
}

// ---- exported: waiting, inspection and simulated input --------------------------------------------------------

void Wait(uint32_t ms) {
    if (gWin.closed.load()) return;
    WaitProc proc = gWin.waitProc.load();
    if (proc) {
        proc(ms);
        return;
    }
    std::unique_lock<std::mutex> l(gWin.lock);
    gWin.changed.wait_for(l, std::chrono::milliseconds(ms), [] { return gWin.closed.load(); });
}

void SetWaitProc(WaitProc proc) { gWin.waitProc.store(proc); }

uint32_t BufferPixel(int32_t x, int32_t y) {
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (!gDraw.live || x < 0 || y < 0 || (uint32_t)x >= gDraw.xlen || (uint32_t)y >= gDraw.ylen) return 0;
    return FromPixel(gDraw.back[(size_t)y * gDraw.xlen + x]);
}

uint32_t ScreenPixel(int32_t x, int32_t y) {
    std::lock_guard<std::mutex> g(gFront.lock);
    if (gFront.front.empty() || x < 0 || y < 0 || (uint32_t)x >= gFront.xlen || (uint32_t)y >= gFront.ylen)
        return 0;
    return FromPixel(gFront.front[(size_t)y * gFront.xlen + x]);
}

bool SaveScreen(const char *file) {
    if (!file) return false;
    std::lock_guard<std::mutex> g(gFront.lock);
    if (gFront.front.empty()) return false;
    SDL_Surface *s = SDL_CreateRGBSurfaceWithFormatFrom(gFront.front.data(), (int)gFront.xlen, (int)gFront.ylen,
                                                        32, (int)(gFront.xlen * 4), SDL_PIXELFORMAT_RGB888);
    if (!s) return false;
    bool ok = SDL_SaveBMP(s, file) == 0;
    SDL_FreeSurface(s);
    return ok;
}

void SimulateKeyDown(uint32_t k) { KeyPressed(k, (k >= 32 && k < 127) ? (char)k : 0); }

void SimulateKeyUp(uint32_t k) { KeyReleased(k); }

void SimulateMouseMove(int32_t x, int32_t y) { MouseMoved(x, y); }

void SimulateLeftDouble(int32_t x, int32_t y) { CallLeftDouble(x, y); }

void SimulateLeftUp(int32_t x, int32_t y) {
    ButtonReleased(true);
    CallLeftUp(x, y);
}

}  // namespace Wimdows
