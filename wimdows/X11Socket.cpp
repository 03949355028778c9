// The X server connection behind an SDL window, kept apart because the X headers define many plain names.
#include <SDL.h>
#include <SDL_syswm.h>

#include "wimdows/WimdowsInternal.h"

namespace Wimdows {

int X11ConnectionFd(SDL_Window *window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11 || !info.info.x11.display)
        return -1;
    return ConnectionNumber(info.info.x11.display);
#else
    (void)window;
    return -1;
#endif
}

}  // namespace Wimdows
