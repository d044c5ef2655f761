#include "platform/sdl/input.h"

#include <SDL.h>

#include <cmath>

#include "platform/sdl/key_map.h"

namespace platform::sdl {

bool SdlInput::keyPressed(int virtualKey) {
    // Take the latch first so that a key held down still clears its tap.
    const bool tapped = latch_.take(virtualKey);
    return keyDown(virtualKey) || tapped;
}

bool SdlInput::keyDown(int virtualKey) {
    if (const int button = mouseButtonOf(virtualKey); button != 0) {
        return (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON(button)) != 0;
    }
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (SDL_Scancode scancode : scancodesOf(virtualKey)) {
        if (scancode < count && state[scancode] != 0) return true;
    }
    return false;
}

Point SdlInput::cursorPosition(WindowHandle handle) {
    int screenX = 0;
    int screenY = 0;
    SDL_GetGlobalMouseState(&screenX, &screenY);
    WindowRecord* window = windows_.find(handle);
    if (window == nullptr || !window->alive()) return Point{screenX, screenY};

    int windowX = 0;
    int windowY = 0;
    SDL_GetWindowPosition(window->sdl, &windowX, &windowY);
    float x = static_cast<float>(screenX - windowX);
    float y = static_cast<float>(screenY - windowY);
    // The back buffer may be scaled and letterboxed into a larger window.
    if (SDL_Renderer* renderer = SDL_GetRenderer(window->sdl); renderer != nullptr) {
        SDL_RenderWindowToLogical(renderer, static_cast<int>(x), static_cast<int>(y), &x, &y);
    }
    return Point{static_cast<std::int32_t>(std::floor(x)),
                 static_cast<std::int32_t>(std::floor(y))};
}

}  // namespace platform::sdl
