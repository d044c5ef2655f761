#include "platform/sdl/bare_x_fullscreen.h"

#include <SDL_syswm.h>

#include <X11/Xlib.h>

#include <algorithm>

namespace platform::sdl {

namespace {

// A window manager is the one client allowed to redirect the root window's
// structure requests; while one runs it holds that selection.
bool windowManagerRuns(Display* display, Window root) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, root, &attributes) != 0 &&
           (attributes.all_event_masks & SubstructureRedirectMask) != 0;
}

}  // namespace

void fillDisplayWithoutWindowManager(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
        return;
    }
    Display* display = info.info.x11.display;
    const Window xWindow = info.info.x11.window;
    if (windowManagerRuns(display, DefaultRootWindow(display))) {
        return;
    }
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(window), 0), &bounds) != 0) {
        return;
    }
    XMoveResizeWindow(display, xWindow, bounds.x, bounds.y, static_cast<unsigned>(bounds.w),
                      static_cast<unsigned>(bounds.h));
    XRaiseWindow(display, xWindow);
    XFlush(display);
}

}  // namespace platform::sdl
