// xfirstpicture <title> <limit ms>: watches the X display for a top-level window with that title and prints
// when it appeared and when it first showed a picture that is not all black, as CLOCK_REALTIME nanoseconds:
//   window <ns>
//   picture <ns>
// Start it before the program it watches. Polls about every millisecond; ends with status 1 at the limit.
// xfirstpicture --window <id> <limit ms> <x> <y>: watches a known window until its pixel (x, y) exists and
// is not black (a resized window showing its new picture) and prints "picture <ns>".
//
// libX11 is opened at run time, so this helper needs no link flags beyond the C library.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static long long Now() {
    timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

// Errors (a window that went away between two calls) are expected here, not fatal.
static int IgnoreError(Display *, XErrorEvent *) { return 0; }

#define X11_FUNCTION(name) static decltype(&name) p##name
X11_FUNCTION(XOpenDisplay);
X11_FUNCTION(XDefaultRootWindow);
X11_FUNCTION(XQueryTree);
X11_FUNCTION(XFetchName);
X11_FUNCTION(XFree);
X11_FUNCTION(XGetWindowAttributes);
X11_FUNCTION(XGetImage);
X11_FUNCTION(XSetErrorHandler);
X11_FUNCTION(XSync);

// The first top-level window titled `title`, or 0.
static Window FindWindow(Display *display, const char *title) {
    Window root = pXDefaultRootWindow(display), parent = 0, *children = nullptr, found = 0;
    unsigned int count = 0;
    if (!pXQueryTree(display, root, &root, &parent, &children, &count)) return 0;
    for (unsigned int i = 0; i < count && !found; i++) {
        char *name = nullptr;
        if (pXFetchName(display, children[i], &name) && name) {
            if (std::strcmp(name, title) == 0) found = children[i];
            pXFree(name);
        }
    }
    if (children) pXFree(children);
    return found;
}

// TRUE when some pixel of a sparse grid over the window (with px >= 0: its pixel (px, py)) is not black.
static bool ShowsPicture(Display *display, Window window, int px = -1, int py = -1) {
    XWindowAttributes a;
    if (!pXGetWindowAttributes(display, window, &a) || a.map_state != IsViewable) return false;
    if (px >= 0) {
        if (px >= a.width || py >= a.height) return false;
        XImage *one = pXGetImage(display, window, px, py, 1, 1, AllPlanes, ZPixmap);
        if (one == nullptr) return false;
        bool lit = (one->f.get_pixel(one, 0, 0) & 0xFFFFFF) != 0;
        one->f.destroy_image(one);
        return lit;
    }
    XImage *image = pXGetImage(display, window, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    bool any = false;
    for (int y = 0; y < a.height && !any; y += 7)
        for (int x = 0; x < a.width && !any; x += 7)
            if (image->f.get_pixel(image, x, y) & 0xFFFFFF) any = true;
    image->f.destroy_image(image);
    return any;
}

int main(int argc, char **argv) {
    const bool known = argc == 6 && std::strcmp(argv[1], "--window") == 0;
    if (argc != 3 && !known) {
        std::fprintf(stderr, "usage: xfirstpicture <title> <limit ms> | --window <id> <limit ms> <x> <y>\n");
        return 2;
    }
    void *x11 = dlopen("libX11.so.6", RTLD_NOW);
    if (x11 == nullptr) {
        std::fprintf(stderr, "xfirstpicture: cannot load libX11\n");
        return 1;
    }
#define LOAD(name) p##name = reinterpret_cast<decltype(p##name)>(dlsym(x11, #name))
    LOAD(XOpenDisplay);
    LOAD(XDefaultRootWindow);
    LOAD(XQueryTree);
    LOAD(XFetchName);
    LOAD(XFree);
    LOAD(XGetWindowAttributes);
    LOAD(XGetImage);
    LOAD(XSetErrorHandler);
    LOAD(XSync);
    Display *display = pXOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "xfirstpicture: cannot open the display\n");
        return 1;
    }
    pXSetErrorHandler(IgnoreError);
    const timespec pause = {0, 1000000};
    if (known) {
        const long long end = Now() + std::atoll(argv[3]) * 1000000LL;
        const Window window = (Window)std::strtoul(argv[2], nullptr, 0);
        const int x = std::atoi(argv[4]), y = std::atoi(argv[5]);
        while (Now() < end) {
            if (ShowsPicture(display, window, x, y)) {
                std::printf("picture %lld\n", Now());
                return 0;
            }
            pXSync(display, False);
            nanosleep(&pause, nullptr);
        }
        return 1;
    }
    const long long end = Now() + std::atoll(argv[2]) * 1000000LL;
    Window window = 0;
    while (Now() < end && (window = FindWindow(display, argv[1])) == 0) nanosleep(&pause, nullptr);
    if (window == 0) return 1;
    std::printf("window %lld\n", Now());
    std::fflush(stdout);
    while (Now() < end) {
        if (ShowsPicture(display, window)) {
            std::printf("picture %lld\n", Now());
            return 0;
        }
        pXSync(display, False);
        nanosleep(&pause, nullptr);
    }
    return 1;
}
