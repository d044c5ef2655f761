#include "platform/sdl/window_registry.h"

namespace platform::sdl {

WindowRegistry::~WindowRegistry() {
    for (auto& window : windows) {
        if (window->alive()) {
            SDL_DestroyWindow(window->sdl);
        }
    }
}

bool WindowRegistry::addClass(const WindowClass& windowClass) {
    // Like RegisterClassEx: a name is registered once.
    return classes.emplace(windowClass.className, windowClass).second;
}

const WindowClass* WindowRegistry::findClass(const std::string& name) const {
    auto found = classes.find(name);
    return found == classes.end() ? nullptr : &found->second;
}

WindowRecord& WindowRegistry::add(SDL_Window* window, WindowProc procedure, std::uint32_t style) {
    auto record = std::make_unique<WindowRecord>();
    record->sdl = window;
    record->sdlId = SDL_GetWindowID(window);
    record->procedure = procedure;
    record->style = style;
    windows.push_back(std::move(record));
    return *windows.back();
}

WindowRecord* WindowRegistry::find(WindowHandle handle) {
    for (auto& window : windows) {
        if (window.get() == handle) {
            return window.get();
        }
    }
    return nullptr;
}

WindowRecord* WindowRegistry::findBySdlId(std::uint32_t id) {
    for (auto& window : windows) {
        if (window->alive() && window->sdlId == id) {
            return window.get();
        }
    }
    return nullptr;
}

SDL_Window* WindowRegistry::frontWindow() const {
    SDL_Window* shown = nullptr;
    SDL_Window* inFront = nullptr;
    for (const auto& window : windows) {
        if (!window->alive()) {
            continue;
        }
        const Uint32 flags = SDL_GetWindowFlags(window->sdl);
        if ((flags & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) != 0) {
            continue;
        }
        if ((flags & SDL_WINDOW_INPUT_FOCUS) != 0) {
            return window->sdl;
        }
        if (shown == nullptr) {
            shown = window->sdl;
        }
        if (inFront == nullptr &&
            (flags & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_ALWAYS_ON_TOP)) != 0) {
            inFront = window->sdl;
        }
    }
    return inFront != nullptr ? inFront : shown;
}

}  // namespace platform::sdl
