#pragma once
// The windows and window classes of the process, shared by the parts that turn SDL
// events into messages, place windows and draw into them. A window handle is the
// address of its record; records live as long as the registry, so a handle kept
// after DestroyWindow stays safe to pass (it just names a dead window).
#include <SDL.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform::sdl {

// Told when its window is destroyed, before the SDL window goes away.
class WindowListener {
public:
    virtual ~WindowListener() = default;
    virtual void windowDestroyed() = 0;
};

struct WindowRecord {
    SDL_Window* sdl = nullptr;  // null once destroyed
    std::uint32_t sdlId = 0;
    WindowProc procedure = nullptr;
    std::uint32_t style = 0;
    std::uint32_t extendedStyle = 0;
    WindowListener* listener = nullptr;  // the device drawing into the window
    bool destroying = false;
    // Where the program last placed the window. Window managers may place a window
    // by their own rules when it is first mapped; showing it places it here again.
    bool placed = false;
    int x = 0;
    int y = 0;

    bool alive() const { return sdl != nullptr; }
};

class WindowRegistry {
public:
    WindowRegistry() = default;
    ~WindowRegistry();
    WindowRegistry(const WindowRegistry&) = delete;
    WindowRegistry& operator=(const WindowRegistry&) = delete;

    bool addClass(const WindowClass& windowClass);
    const WindowClass* findClass(const std::string& name) const;

    WindowRecord& add(SDL_Window* window, WindowProc procedure, std::uint32_t style);
    // The record behind a handle, or null for anything this registry did not hand out.
    WindowRecord* find(WindowHandle handle);
    // The live window with this SDL id, or null.
    WindowRecord* findBySdlId(std::uint32_t id);

    // The window the person sees in front: the one with the keyboard focus, else a
    // shown full-screen or topmost one, else any shown one; null when none is shown.
    SDL_Window* frontWindow() const;

    static WindowHandle handle(WindowRecord& record) { return &record; }

private:
    std::map<std::string, WindowClass> classes;
    std::vector<std::unique_ptr<WindowRecord>> windows;
};

}  // namespace platform::sdl
