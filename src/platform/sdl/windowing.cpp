#include "platform/sdl/windowing.h"

#include <SDL_image.h>

#include <algorithm>

namespace platform::sdl {

namespace {

// Stands for the system's default application icon: SDL shows its own when a
// window is given none.
char applicationIconTag;

bool captioned(std::uint32_t style) { return (style & ws::CAPTION) == ws::CAPTION; }

}  // namespace

SdlWindowing::~SdlWindowing() {
    for (SDL_Surface* icon : icons) {
        SDL_FreeSurface(icon);
    }
}

SDL_Window* SdlWindowing::live(WindowHandle handle) {
    WindowRecord* window = windows.find(handle);
    return window != nullptr ? window->sdl : nullptr;
}

bool SdlWindowing::ownIcon(IconHandle icon) const {
    return std::find(icons.begin(), icons.end(), icon) != icons.end();
}

IconHandle SdlWindowing::applicationIcon() { return &applicationIconTag; }

IconHandle SdlWindowing::loadIconFile(const std::string& path) {
    SDL_Surface* icon = IMG_Load(path.c_str());
    if (icon == nullptr) {
        return nullptr;
    }
    icons.push_back(icon);
    return icon;
}

bool SdlWindowing::registerClass(const WindowClass& windowClass) {
    return windows.addClass(windowClass);
}

WindowHandle SdlWindowing::createWindow(const std::string& className, const std::string& title,
                                        std::uint32_t style, int x, int y, int width, int height) {
    const WindowClass* windowClass = windows.findClass(className);
    if (windowClass == nullptr || !session.video()) {
        return nullptr;
    }
    const int left = x == cw::USEDEFAULT ? static_cast<int>(SDL_WINDOWPOS_UNDEFINED) : x;
    const int top = x == cw::USEDEFAULT ? static_cast<int>(SDL_WINDOWPOS_UNDEFINED) : y;
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (!captioned(style)) {
        flags |= SDL_WINDOW_BORDERLESS;
    }
    SDL_Window* window =
        SDL_CreateWindow(title.c_str(), left, top, std::max(width, 1), std::max(height, 1), flags);
    if (window == nullptr) {
        return nullptr;
    }
    if (ownIcon(windowClass->icon)) {
        SDL_SetWindowIcon(window, static_cast<SDL_Surface*>(windowClass->icon));
    }
    return WindowRegistry::handle(windows.add(window, windowClass->procedure, style));
}

void SdlWindowing::updateWindow(WindowHandle) {
    // Nothing to paint outside the device's frames: there is no WM_PAINT.
}

void SdlWindowing::showWindow(WindowHandle handle, int command) {
    SDL_Window* window = live(handle);
    if (window == nullptr) {
        return;
    }
    switch (command) {
        case sw::HIDE:
            SDL_HideWindow(window);
            break;
        case sw::SHOWMINIMIZED:
        case sw::MINIMIZE:
        case sw::SHOWMINNOACTIVE:
            SDL_MinimizeWindow(window);
            break;
        case sw::MAXIMIZE:
            SDL_ShowWindow(window);
            SDL_MaximizeWindow(window);
            break;
        case sw::RESTORE:
            SDL_ShowWindow(window);
            SDL_RestoreWindow(window);
            break;
        default:
            SDL_ShowWindow(window);
            break;
    }
    WindowRecord* record = windows.find(handle);
    if (command != sw::HIDE && record->placed &&
        (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) == 0) {
        SDL_SetWindowPosition(window, record->x, record->y);
    }
}

void SdlWindowing::setFocus(WindowHandle handle) {
    if (SDL_Window* window = live(handle); window != nullptr) {
        SDL_RaiseWindow(window);
    }
}

void SdlWindowing::setStyle(WindowHandle handle, std::uint32_t style) {
    WindowRecord* window = windows.find(handle);
    if (window == nullptr || !window->alive()) {
        return;
    }
    window->style = style;
    SDL_SetWindowBordered(window->sdl, captioned(style) ? SDL_TRUE : SDL_FALSE);
}

std::uint32_t SdlWindowing::style(WindowHandle handle) {
    WindowRecord* window = windows.find(handle);
    return window != nullptr && window->alive() ? window->style : 0;
}

std::uint32_t SdlWindowing::extendedStyle(WindowHandle handle) {
    WindowRecord* window = windows.find(handle);
    return window != nullptr && window->alive() ? window->extendedStyle : 0;
}

Rect SdlWindowing::adjustWindowRect(const Rect& client, std::uint32_t, std::uint32_t) {
    // SDL places and sizes a window by its client area and lets the window manager
    // add the frame around it, so the window rectangle is the client rectangle.
    return client;
}

void SdlWindowing::setWindowPos(WindowHandle handle, std::intptr_t insertAfter, int x, int y,
                                int width, int height, std::uint32_t flags) {
    SDL_Window* window = live(handle);
    if (window == nullptr) {
        return;
    }
    if ((flags & swp::NOSIZE) == 0 && width > 0 && height > 0) {
        SDL_SetWindowSize(window, width, height);
    }
    if ((flags & swp::NOMOVE) == 0) {
        SDL_SetWindowPosition(window, x, y);
        WindowRecord* record = windows.find(handle);
        record->placed = true;
        record->x = x;
        record->y = y;
    }
    if (insertAfter == hwnd::TOPMOST) {
        SDL_SetWindowAlwaysOnTop(window, SDL_TRUE);
    }
    if (insertAfter == hwnd::NOTOPMOST) {
        SDL_SetWindowAlwaysOnTop(window, SDL_FALSE);
    }
}

void SdlWindowing::destroyWindow(WindowHandle handle) {
    WindowRecord* window = windows.find(handle);
    if (window == nullptr || !window->alive() || window->destroying) {
        return;
    }
    window->destroying = true;
    SDL_HideWindow(window->sdl);
    if (window->procedure != nullptr) {
        window->procedure(handle, wm::DESTROY, 0, 0);
    }
    // The device lets go of the window first, so nothing draws into it any more.
    if (window->listener != nullptr) {
        window->listener->windowDestroyed();
    }
    window->listener = nullptr;
    SDL_DestroyWindow(window->sdl);
    window->sdl = nullptr;
}

std::intptr_t SdlWindowing::defWindowProc(WindowHandle, std::uint32_t, std::uintptr_t,
                                          std::intptr_t) {
    return 0;
}

}  // namespace platform::sdl
