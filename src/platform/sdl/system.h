#pragma once
// The message queue, clock, sleep, message boxes and data folder on SDL. Needs no
// display: video is touched only through the windows it reports on.
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

#include "platform/platform.h"
#include "platform/sdl/window_registry.h"

namespace platform::sdl {

class SdlSystem : public System {
public:
    explicit SdlSystem(WindowRegistry& windows) : windows(windows) {}

    bool peekMessage(Message& out) override;
    void dispatchMessage(const Message& message) override;
    void postQuitMessage(int exitCode) override;
    void sleep(std::uint32_t milliseconds) override;
    std::uint32_t milliseconds() override;
    int messageBox(const std::string& text, const std::string& caption,
                   std::uint32_t style) override;
    std::string dataFolder(const std::string& subFolder) override;
    char pathSeparator() const override { return '/'; }
    bool syncFile(std::FILE* file) override;
    std::tm localTime(std::time_t seconds) override;

private:
    WindowRegistry& windows;
    bool quitPosted = false;
    int postedExitCode = 0;
};

}  // namespace platform::sdl
