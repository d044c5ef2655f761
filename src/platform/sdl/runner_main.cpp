// tessak-run on the SDL2 backend: this backend's entry point for the runner. It
// installs the backend, finds the program's own folder and hands over to the
// portable command line.
#include <SDL.h>

#include <string>

#include "platform/sdl/sdl_platform.h"
#include "runner/command_line.h"

int main(int argc, char** argv) {
    platform::sdl::SdlPlatform backend;
    platform::install(&backend);
    std::string programFolder = ".";
    if (char* base = SDL_GetBasePath()) {
        programFolder = base;
        SDL_free(base);
    }
    const int status = runner::runCommandLine(argc, argv, programFolder);
    platform::install(nullptr);
    return status;
}
