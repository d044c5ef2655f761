#include "platform/win32/windowing.h"

#include "platform/win32/window_procedures.h"

namespace platform::win32 {
namespace {

HWND native(WindowHandle window) { return static_cast<HWND>(window); }

}  // namespace

Win32Windowing::~Win32Windowing() {
    for (const std::string& name : classes) {
        if (UnregisterClassA(name.c_str(), GetModuleHandleA(nullptr))) {
            forgetProcedure(name);
        }
    }
    for (HICON icon : loadedIcons) {
        DestroyIcon(icon);
    }
}

IconHandle Win32Windowing::applicationIcon() { return LoadIconA(nullptr, IDI_APPLICATION); }

IconHandle Win32Windowing::loadIconFile(const std::string& path) {
    HANDLE icon =
        LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE);
    if (icon != nullptr) {
        loadedIcons.push_back(static_cast<HICON>(icon));
    }
    return icon;
}

bool Win32Windowing::registerClass(const WindowClass& windowClass) {
    WNDCLASSEXA native{};
    native.cbSize = sizeof native;
    native.style = windowClass.style;
    native.lpfnWndProc = windowProcedureThunk;
    native.hInstance = GetModuleHandleA(nullptr);
    native.hIcon = static_cast<HICON>(windowClass.icon);
    native.hIconSm = static_cast<HICON>(windowClass.smallIcon);
    native.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    native.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    native.lpszClassName = windowClass.className.c_str();
    // A failed registration keeps the class that exists, and with it its procedure.
    if (RegisterClassExA(&native) == 0) {
        return false;
    }
    rememberProcedure(windowClass.className, windowClass.procedure);
    classes.push_back(windowClass.className);
    return true;
}

WindowHandle Win32Windowing::createWindow(const std::string& className, const std::string& title,
                                          std::uint32_t style, int x, int y, int width,
                                          int height) {
    return CreateWindowExA(0, className.c_str(), title.c_str(), style, x, y, width, height, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

void Win32Windowing::updateWindow(WindowHandle window) { UpdateWindow(native(window)); }

void Win32Windowing::showWindow(WindowHandle window, int command) {
    ShowWindow(native(window), command);
}

void Win32Windowing::setFocus(WindowHandle window) { SetFocus(native(window)); }

void Win32Windowing::setStyle(WindowHandle window, std::uint32_t style) {
    SetWindowLongA(native(window), GWL_STYLE, static_cast<LONG>(style));
}

std::uint32_t Win32Windowing::style(WindowHandle window) {
    return static_cast<std::uint32_t>(GetWindowLongA(native(window), GWL_STYLE));
}

std::uint32_t Win32Windowing::extendedStyle(WindowHandle window) {
    return static_cast<std::uint32_t>(GetWindowLongA(native(window), GWL_EXSTYLE));
}

Rect Win32Windowing::adjustWindowRect(const Rect& client, std::uint32_t style,
                                      std::uint32_t extendedStyle) {
    RECT rectangle{client.left, client.top, client.right, client.bottom};
    AdjustWindowRectEx(&rectangle, style, FALSE, extendedStyle);
    return Rect{rectangle.left, rectangle.top, rectangle.right, rectangle.bottom};
}

void Win32Windowing::setWindowPos(WindowHandle window, std::intptr_t insertAfter, int x, int y,
                                  int width, int height, std::uint32_t flags) {
    SetWindowPos(native(window), reinterpret_cast<HWND>(insertAfter), x, y, width, height, flags);
}

void Win32Windowing::destroyWindow(WindowHandle window) { DestroyWindow(native(window)); }

std::intptr_t Win32Windowing::defWindowProc(WindowHandle window, std::uint32_t message,
                                            std::uintptr_t wParam, std::intptr_t lParam) {
    return DefWindowProcA(native(window), message, wParam, lParam);
}

}  // namespace platform::win32
