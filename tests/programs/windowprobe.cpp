// A bare window of the window layer for the X-server tests: draws a demonstration picture and logs the
// input it gets, or measures an idle menu-like loop, or shows what happens without a display.
//
//   windowprobe window <log> <folder>   demonstration picture (pictures written to <folder>), then logs
//                                       "key N", "up X Y" and, on key M, "mouse X Y"; Escape ends it
//   windowprobe idle <seconds>          redraws an unchanged menu every 25 ms; prints CPU and memory
//   windowprobe nodisplay               opens a window; exit status 1 when that failed
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/BmpFile.h"
#include "wimdows/Wimdows.h"

using namespace Wimdows;

static std::FILE *gLog;
static std::mutex gLogLock;

static void Log(const char *fmt, long a, long b = 0) {
    std::lock_guard<std::mutex> g(gLogLock);
    std::fprintf(gLog, fmt, a, b);
    std::fputc('\n', gLog);
    std::fflush(gLog);
}

static void LoggedLeftUp(int32_t x, int32_t y) { Log("up %ld %ld", x, y); }

// The picture the X-server test checks pixel by pixel (colours 0x00BBGGRR):
//   background dark blue; a red block at (40,40)-(239,139); a green frame at (260,40)-(459,139);
//   a 50 by 50 picture, yellow with a black middle, drawn at 100 by 100 at (40,200); a white picture through
//   a round mask at (300,200), 100 by 100; text at (40,450) and (40,520); a grey score bar from y = 600.
static bool DrawDemo(const std::string &folder) {
    std::string picture = folder + "/demo-picture.bmp";
    std::string white = folder + "/demo-white.bmp";
    std::string mask = folder + "/demo-mask.bmp";
    std::vector<uint32_t> px(50 * 50, 0x00FFFF);
    for (int y = 15; y < 35; ++y)
        for (int x = 15; x < 35; ++x) px[y * 50 + x] = 0x000000;
    std::vector<bool> round(100 * 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) round[y * 100 + x] = (x - 50) * (x - 50) + (y - 50) * (y - 50) < 45 * 45;
    if (!TestBmp::WriteBmp24(picture.c_str(), 50, 50, px) ||
        !TestBmp::WriteSolidBmp(white.c_str(), 100, 100, 0xFFFFFF) ||
        !TestBmp::WriteBmp1(mask.c_str(), 100, 100, round))
        return false;
    uint32_t pic = LoadBitmap(picture.c_str(), 100, 100);
    uint32_t whitePic = LoadBitmap(white.c_str(), 100, 100);
    uint32_t maskPic = LoadBitmap(mask.c_str(), 100, 100);
    if (!pic || !whitePic || !maskPic) return false;

    SetBuffering(true);
    Rectangle(0, 0, 799, 679, 0xB00000, true);
    Rectangle(239, 139, 40, 40, 0x0000FF, true);
    Rectangle(260, 40, 459, 139, 0x00FF00, false);
    DrawBitmap(pic, 40, 200);
    DrawMaskBitmap(whitePic, maskPic, 300, 200);
    SetFont(1, 0xFFFFFF);
    Text("Kwibbel window layer", 40, 450);
    SetFont(0, 0x00FFFF);
    TextInt(-1234567, 40, 520);
    Rectangle(0, 600, 799, 679, 0xC0C0C0, true);
    SetFont(0, 0x000000);
    TextInt(4200, 20, 640);
    UpdateWindow();
    return true;
}

static int RunWindow(const char *logFile, const char *folder) {
    gLog = std::fopen(logFile, "w");
    if (!gLog) return 2;
    Window("Kwibbel probe", 800, 680);
    if (State() != STATE_ACTIVE) return 1;
    if (!DrawDemo(folder)) {
        Log("demo failed %ld", 0);
        return 3;
    }
    SaveScreen((std::string(folder) + "/probe-screen.bmp").c_str());
    OnMouseLeftUp(LoggedLeftUp);
    Log("ready %ld %ld", 800, 680);
    for (;;) {
        uint32_t k = GetKey();
        if (k == 0) {
            Log("closed %ld", WindowClosed());
            break;
        }
        Log("key %ld", k);
        if (k == 'M') {
            int32_t x, y;
            MousePos(x, y);
            Log("mouse %ld %ld", x, y);
        }
        if (k == KEY_ESCAPE) break;
    }
    KillWindow();
    Log("bye %ld", 0);
    std::fclose(gLog);
    return 0;
}

static double CpuSeconds() {
    rusage u;
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

static long RssKb() {
    std::FILE *f = std::fopen("/proc/self/status", "r");
    if (!f) return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, "VmRSS:", 6) == 0) kb = std::atol(line + 6);
    std::fclose(f);
    return kb;
}

// A menu's life: the whole picture drawn again and shown every 25 ms though nothing changes.
static int RunIdle(double seconds) {
    Window("Kwibbel probe", 800, 680);
    if (State() != STATE_ACTIVE) return 1;
    SetBuffering(true);
    std::printf("rss-kb-open %ld\n", RssKb());
    auto start = std::chrono::steady_clock::now();
    double cpu0 = CpuSeconds();
    long frames = 0;
    while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < seconds &&
           !WindowClosed()) {
        ClearScreen();
        for (int i = 0; i < 5; ++i) Rectangle(250, 150 + i * 90, 549, 219 + i * 90, 0x00B000 + i * 20, true);
        SetFont(1, 0xFFFFFF);
        Text("Kwibbel", 330, 40);
        UpdateWindow();
        Wait(25);
        ++frames;
    }
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double cpu = CpuSeconds() - cpu0;
    std::printf("frames %ld\n", frames);
    std::printf("cpu-percent %.2f\n", 100.0 * cpu / wall);
    std::printf("rss-kb %ld\n", RssKb());
    KillWindow();
    return 0;
}

int main(int argc, char **argv) {
    InitWimdows();
    if (argc >= 4 && std::strcmp(argv[1], "window") == 0) return RunWindow(argv[2], argv[3]);
    if (argc >= 3 && std::strcmp(argv[1], "idle") == 0) return RunIdle(std::atof(argv[2]));
    if (argc >= 2 && std::strcmp(argv[1], "nodisplay") == 0) {
        Window("Kwibbel probe", 800, 680);
        if (State() != STATE_ACTIVE) return 1;
        KillWindow();
        return 0;
    }
    std::fprintf(stderr, "usage: windowprobe window <log> <folder> | idle <seconds> | nodisplay\n");
    return 2;
}
