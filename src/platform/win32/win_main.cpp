// The game program on the Win32 backend: this backend's entry point, as sdl/main.cpp
// is SDL's. It installs the backend, then the portable start-up runs the game.
#include <windows.h>

#include <ctime>
#include <exception>
#include <string>

#include "app/startup.h"
#include "log/log.h"
#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    platform::win32::Win32Platform backend;
    platform::install(&backend);
    try {
        return App::run(static_cast<unsigned>(std::time(nullptr)));
    } catch (const Log::Fatal&) {
        // The error's message box has been shown and its entry written.
        return 1;
    } catch (const std::exception& failure) {
        // A program without a console: the box is the only place a player sees it.
        const std::string text = std::string("Tessak: ") + failure.what();
        MessageBoxA(nullptr, text.c_str(), "Tessak", MB_OK | MB_ICONERROR);
        return 1;
    }
}
