// The game program on the Win32 backend: this backend's entry point, as sdl/main.cpp
// is SDL's. It installs the backend, then the portable start-up runs the game.
#include <windows.h>

#include <string>

#include "app/startup.h"
#include "platform/win32/program_folder.h"
#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The game's pictures lie beside the program, wherever it was started from.
    platform::win32::enterProgramFolder();
    platform::win32::Win32Platform backend;
    platform::install(&backend);
    // A program without a console: the box is the only place a player sees a failure.
    return App::runProgram([](const std::string& text) {
        MessageBoxA(nullptr, text.c_str(), "Tessak", MB_OK | MB_ICONERROR);
    });
}
