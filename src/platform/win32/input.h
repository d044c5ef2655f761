#pragma once
// The Input interface on Win32: GetAsyncKeyState, GetKeyState, GetCursorPos and
// ScreenToClient, one call each. The counterpart of sdl/input.h, which emulates
// the same answers from SDL's events.
#include "platform/platform.h"

namespace platform::win32 {

class Win32Input : public Input {
public:
    bool keyPressed(int virtualKey) override;
    bool keyDown(int virtualKey) override;
    Point cursorPosition(WindowHandle window) override;
};

}  // namespace platform::win32
