// tessak-run on the Win32 backend: this backend's entry point for the runner, as
// sdl/runner_main.cpp is SDL's. A console program, so that --help, --version and
// script errors reach the command prompt it is started from.
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "platform/win32/win32_platform.h"
#include "runner/command_line.h"

int main(int argc, char** argv) {
    // Never destroyed nor uninstalled: the window outlives main (a window
    // destroyed while the Direct3D device lives on has crashed Wine at exit),
    // and the system destroys it at exit through the window procedure, which
    // reaches the platform.
    platform::install(new platform::win32::Win32Platform());
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string programFolder(path, length < MAX_PATH ? length : 0);
    const std::size_t separator = programFolder.find_last_of("\\/");
    programFolder = separator == std::string::npos ? "." : programFolder.substr(0, separator);
    const int status = runner::runCommandLine(argc, argv, programFolder);
    // Every file is closed by now; ending here skips the teardown of the
    // libraries' threads (Direct3D's, the GL driver's), in which Wine crashed
    // now and then at exit.
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
    return status;
}
