#pragma once
// The size of a window's client area as the X server has it. SDL reports the
// size it asked for, which a window system without a window manager may never
// have given the window. Apart from the benchmark because Xlib's names clash
// with the engine's.
#include <SDL.h>

// False when the window is not an X11 window or the server does not know it.
bool windowSystemClientSize(SDL_Window* window, int& width, int& height);
