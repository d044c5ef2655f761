#pragma once
// Window classes and windows on SDL. A window is created hidden; its procedure is
// its class's; the popup style is a borderless window, the captioned style a
// decorated one.
#include <SDL.h>

#include <vector>

#include "platform/platform.h"
#include "platform/sdl/session.h"
#include "platform/sdl/window_registry.h"

namespace platform::sdl {

class SdlWindowing : public Windowing {
public:
    SdlWindowing(Session& session, WindowRegistry& windows) : session(session), windows(windows) {}
    ~SdlWindowing() override;

    IconHandle applicationIcon() override;
    IconHandle loadIconFile(const std::string& path) override;
    bool registerClass(const WindowClass& windowClass) override;
    WindowHandle createWindow(const std::string& className, const std::string& title,
                              std::uint32_t style, int x, int y, int width, int height) override;
    void updateWindow(WindowHandle window) override;
    void showWindow(WindowHandle window, int command) override;
    void setFocus(WindowHandle window) override;
    void setStyle(WindowHandle window, std::uint32_t style) override;
    std::uint32_t style(WindowHandle window) override;
    std::uint32_t extendedStyle(WindowHandle window) override;
    Rect adjustWindowRect(const Rect& client, std::uint32_t style,
                          std::uint32_t extendedStyle) override;
    void setWindowPos(WindowHandle window, std::intptr_t insertAfter, int x, int y, int width,
                      int height, std::uint32_t flags) override;
    void destroyWindow(WindowHandle window) override;
    std::intptr_t defWindowProc(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) override;

private:
    SDL_Window* live(WindowHandle handle);
    bool ownIcon(IconHandle icon) const;

    Session& session;
    WindowRegistry& windows;
    std::vector<SDL_Surface*> icons;
};

}  // namespace platform::sdl
