#pragma once
// The Windowing interface on Win32: classes, windows, icons, one user32 call per
// operation. Every class gets the same WNDPROC, a thunk that calls the engine's
// procedure registered with the class (window_procedures.h). The counterpart of
// sdl/windowing.h.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform::win32 {

class Win32Windowing : public Windowing {
public:
    Win32Windowing() = default;
    // Destroys the icons loaded from files and unregisters the classes (a class
    // with a window still open stays registered).
    ~Win32Windowing() override;
    Win32Windowing(const Win32Windowing&) = delete;
    Win32Windowing& operator=(const Win32Windowing&) = delete;

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
    std::vector<HICON> loadedIcons;
    std::vector<std::string> classes;
};

}  // namespace platform::win32
