#pragma once
// Full screen without a window manager. SDL makes an X11 window full screen by
// asking the window manager (_NET_WM_STATE_FULLSCREEN); on a bare X server (a kiosk
// session) nobody answers, and the window keeps the size it was created with while
// SDL already reports the screen's size.
#include <SDL.h>

namespace platform::sdl {

// Gives a full-screen window the whole of its display when no window manager runs
// on its X server, and raises it. Does nothing under a window manager (which does
// this itself) or on any other video driver.
void fillDisplayWithoutWindowManager(SDL_Window* window);

}  // namespace platform::sdl
