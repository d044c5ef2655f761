#include "window_size.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

bool windowSystemClientSize(SDL_Window* window, int& width, int& height) {
    SDL_SysWMinfo wm;
    SDL_VERSION(&wm.version);
    if (!SDL_GetWindowWMInfo(window, &wm) || wm.subsystem != SDL_SYSWM_X11) {
        return false;
    }
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(wm.info.x11.display, wm.info.x11.window, &attributes) == 0) {
        return false;
    }
    width = attributes.width;
    height = attributes.height;
    return true;
}
