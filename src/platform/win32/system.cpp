#include "platform/win32/system.h"

#include <io.h>
#include <shlobj.h>

namespace platform::win32 {

bool Win32System::peekMessage(Message& out) {
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        return false;
    }
    peeked = message;
    havePeeked = true;
    out.window = message.hwnd;
    out.message = message.message;
    out.wParam = message.wParam;
    out.lParam = message.lParam;
    return true;
}

void Win32System::dispatchMessage(const Message& message) {
    MSG native{};
    const bool isPeeked = havePeeked && peeked.hwnd == message.window &&
                          peeked.message == message.message && peeked.wParam == message.wParam &&
                          peeked.lParam == message.lParam;
    if (isPeeked) {
        native = peeked;
    } else {
        // A message made by the caller: it has no time or cursor position of its own.
        native.hwnd = static_cast<HWND>(message.window);
        native.message = message.message;
        native.wParam = message.wParam;
        native.lParam = message.lParam;
        native.time = GetMessageTime();
        GetCursorPos(&native.pt);
    }
    havePeeked = false;
    TranslateMessage(&native);
    DispatchMessageA(&native);
}

void Win32System::postQuitMessage(int exitCode) { PostQuitMessage(exitCode); }

void Win32System::sleep(std::uint32_t milliseconds) { Sleep(milliseconds); }

std::uint32_t Win32System::milliseconds() { return timeGetTime(); }

int Win32System::messageBox(const std::string& text, const std::string& caption,
                            std::uint32_t style) {
    return MessageBoxA(nullptr, text.c_str(), caption.c_str(), style);
}

std::string Win32System::dataFolder(const std::string& subFolder) {
    char path[MAX_PATH] = {};
    const HRESULT result =
        SHGetFolderPathAndSubDirA(nullptr, CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                  SHGFP_TYPE_CURRENT, subFolder.c_str(), path);
    if (FAILED(result)) {
        return {};
    }
    return path;
}

bool Win32System::syncFile(std::FILE* file) {
    const intptr_t handle = _get_osfhandle(_fileno(file));
    if (handle == -1) {
        return false;
    }
    return FlushFileBuffers(reinterpret_cast<HANDLE>(handle)) != 0;
}

std::tm Win32System::localTime(std::time_t seconds) {
    std::tm local{};
    if (localtime_s(&local, &seconds) != 0) {
        return std::tm{};
    }
    return local;
}

}  // namespace platform::win32
