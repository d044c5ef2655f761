#include "platform/sdl/input.h"

#include <SDL.h>

#include <cmath>

#include "platform/sdl/key_map.h"

namespace platform::sdl {

bool SdlInput::keyPressed(int virtualKey) {
    // Take the latch first so that a key held down still clears its tap.
    const bool tapped = latch.take(virtualKey);
    return keyDown(virtualKey) || tapped;
}

bool SdlInput::keyDown(int virtualKey) {
    if (const int button = mouseButtonOf(virtualKey); button != 0) {
        return (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON(button)) != 0;
    }
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (SDL_Scancode scancode : scancodesOf(virtualKey)) {
        if (scancode < count && state[scancode] != 0) {
            return true;
        }
    }
    return false;
}

Point SdlInput::cursorPosition(WindowHandle handle) {
    WindowRecord* window = windows.find(handle);
    int x = 0;
    int y = 0;
    if (window != nullptr && window->alive() && SDL_GetMouseFocus() == window->sdl) {
        // Over the window, the position its events brought is the freshest.
        SDL_GetMouseState(&x, &y);
    } else {
        // Elsewhere on the screen, as far as the X server last told.
        SDL_GetGlobalMouseState(&x, &y);
        if (window == nullptr || !window->alive()) {
            return Point{x, y};
        }
        int windowX = 0;
        int windowY = 0;
        SDL_GetWindowPosition(window->sdl, &windowX, &windowY);
        x -= windowX;
        y -= windowY;
    }
    // The back buffer may be scaled and letterboxed into a larger window.
    float logicalX = static_cast<float>(x);
    float logicalY = static_cast<float>(y);
    if (SDL_Renderer* renderer = SDL_GetRenderer(window->sdl); renderer != nullptr) {
        SDL_RenderWindowToLogical(renderer, x, y, &logicalX, &logicalY);
    }
    return Point{static_cast<std::int32_t>(std::floor(logicalX)),
                 static_cast<std::int32_t>(std::floor(logicalY))};
}

}  // namespace platform::sdl
