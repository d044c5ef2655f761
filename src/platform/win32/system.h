#pragma once
// The System interface on Win32: the thread's message queue, timeGetTime, Sleep,
// MessageBoxA and the common application-data folder of the shell; the file
// calls of the C runtime (FlushFileBuffers, localtime_s). The counterpart of
// sdl/system.h and headless/headless_platform.h.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

#include "platform/platform.h"

namespace platform::win32 {

class Win32System : public System {
public:
    bool peekMessage(Message& out) override;
    void dispatchMessage(const Message& message) override;
    void postQuitMessage(int exitCode) override;
    void sleep(std::uint32_t milliseconds) override;
    std::uint32_t milliseconds() override;
    int messageBox(const std::string& text, const std::string& caption,
                   std::uint32_t style) override;
    std::string dataFolder(const std::string& subFolder) override;
    char pathSeparator() const override { return '\\'; }
    bool syncFile(std::FILE* file) override;
    std::tm localTime(std::time_t seconds) override;

private:
    // The last message taken by peekMessage, whole (time and cursor position
    // included), for TranslateMessage and DispatchMessageA.
    MSG peeked{};
    bool havePeeked = false;
};

}  // namespace platform::win32
