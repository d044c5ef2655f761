// The game program on the SDL2 backend: this backend's entry point. It installs
// the backend, then the portable start-up runs the game.
#include <ctime>
#include <exception>
#include <iostream>

#include "app/startup.h"
#include "log/log.h"
#include "platform/sdl/sdl_platform.h"

int main(int, char**) {
    platform::sdl::SdlPlatform backend;
    platform::install(&backend);
    try {
        return App::run(static_cast<unsigned>(std::time(nullptr)));
    } catch (const Log::Fatal&) {
        // The error's message box has been shown and its entry written.
        return 1;
    } catch (const std::exception& failure) {
        std::cerr << "Tessak: " << failure.what() << '\n';
        return 1;
    }
}
