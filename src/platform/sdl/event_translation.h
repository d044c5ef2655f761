#pragma once
// SDL events as the window messages a Win32 window would receive for them.
#include <SDL.h>

#include "platform/platform.h"
#include "platform/sdl/window_registry.h"

namespace platform::sdl {

// wm::SIZE's wParam.
constexpr std::uintptr_t SIZE_RESTORED = 0;
constexpr std::uintptr_t SIZE_MINIMIZED = 1;
constexpr std::uintptr_t SIZE_MAXIMIZED = 2;
// wm::MOUSEMOVE's wParam bit for the left button.
constexpr std::uintptr_t MK_LBUTTON = 0x0001;

// The message for an event of one of the registry's live windows. False for events
// that mean nothing to a window procedure (they are skipped).
bool translateEvent(const SDL_Event& event, WindowRegistry& windows, Message& out);

// MAKELPARAM: low word x, high word y.
std::intptr_t packPoint(int x, int y);

}  // namespace platform::sdl
