// tessak-run on the Win32 backend: this backend's entry point for the runner, as
// sdl/runner_main.cpp is SDL's. A console program, so that --help, --version and
// script errors reach the command prompt it is started from.
#include <windows.h>

#include <string>

#include "platform/win32/win32_platform.h"
#include "runner/command_line.h"

int main(int argc, char** argv) {
    platform::win32::Win32Platform backend;
    platform::install(&backend);
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string programFolder(path, length < MAX_PATH ? length : 0);
    const std::size_t separator = programFolder.find_last_of("\\/");
    programFolder = separator == std::string::npos ? "." : programFolder.substr(0, separator);
    const int status = runner::runCommandLine(argc, argv, programFolder);
    platform::install(nullptr);
    return status;
}
