#pragma once
// Pairs the engine's window procedures (platform::WindowProc, no Win32 types) with
// the one real WNDPROC the Win32 backend registers for every class: the thunk looks
// up the procedure registered for the window's class and calls it with the same
// four values.
#include <windows.h>

#include <string>

#include "platform/platform.h"

namespace platform::win32 {

// Remembers `procedure` for the class `className` (class names compare without case,
// as Win32's do). A later registration of the same name replaces it.
void rememberProcedure(const std::string& className, WindowProc procedure);
void forgetProcedure(const std::string& className);

// The WNDPROC of every class the backend registers. Windows whose class has no
// engine procedure get DefWindowProcA.
LRESULT CALLBACK windowProcedureThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::win32
