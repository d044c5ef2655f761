// The game program on the SDL2 backend: this backend's entry point. It installs
// the backend, then the portable start-up runs the game.
#include <iostream>
#include <string>

#include "app/startup.h"
#include "platform/posix/game_folder.h"
#include "platform/sdl/sdl_platform.h"

int main(int, char**) {
    // Started from another folder (a shortcut, a command line): the pictures are
    // found beside the program.
    platform::posix::enterGameFolder(platform::posix::programPath());
    platform::sdl::SdlPlatform backend;
    platform::install(&backend);
    return App::runProgram([](const std::string& text) { std::cerr << text << '\n'; });
}
