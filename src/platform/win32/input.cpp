#include "platform/win32/input.h"

#include <windows.h>

namespace platform::win32 {

bool Win32Input::keyPressed(int virtualKey) { return GetAsyncKeyState(virtualKey) != 0; }

bool Win32Input::keyDown(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

Point Win32Input::cursorPosition(WindowHandle window) {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(static_cast<HWND>(window), &cursor);
    return Point{cursor.x, cursor.y};
}

}  // namespace platform::win32
