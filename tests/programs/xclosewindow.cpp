// xclosewindow <window id>: asks an X window to close exactly as a window manager's close button does, by
// sending it the WM_DELETE_WINDOW client message. The whole-program tests use it to close the game's window
// like a player (xdotool can only destroy a window or kill its client, which no player does).
//
// libX11 is opened at run time, so this helper needs no link flags beyond the C library.
#include <X11/Xlib.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: xclosewindow <window id>\n");
        return 2;
    }
    const unsigned long window = std::strtoul(argv[1], nullptr, 0);
    void *x11 = dlopen("libX11.so.6", RTLD_NOW);
    if (x11 == nullptr) {
        std::fprintf(stderr, "xclosewindow: cannot load libX11: %s\n", dlerror());
        return 1;
    }
    auto openDisplay = reinterpret_cast<decltype(&XOpenDisplay)>(dlsym(x11, "XOpenDisplay"));
    auto internAtom = reinterpret_cast<decltype(&XInternAtom)>(dlsym(x11, "XInternAtom"));
    auto sendEvent = reinterpret_cast<decltype(&XSendEvent)>(dlsym(x11, "XSendEvent"));
    auto flush = reinterpret_cast<decltype(&XFlush)>(dlsym(x11, "XFlush"));
    auto closeDisplay = reinterpret_cast<decltype(&XCloseDisplay)>(dlsym(x11, "XCloseDisplay"));
    if (!openDisplay || !internAtom || !sendEvent || !flush || !closeDisplay) {
        std::fprintf(stderr, "xclosewindow: libX11 lacks a function\n");
        return 1;
    }
    Display *display = openDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "xclosewindow: cannot open the display\n");
        return 1;
    }
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = internAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(internAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = sendEvent(display, window, False, NoEventMask, &event);
    flush(display);
    closeDisplay(display);
    return sent ? 0 : 1;
}
