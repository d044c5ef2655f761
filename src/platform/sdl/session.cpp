#include "platform/sdl/session.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace platform::sdl {

namespace {

// Drivers that draw nowhere a person can see. They are used only when asked for by
// name through SDL_VIDEODRIVER.
bool invisibleDriver(const char* name) {
    return std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0 ||
           std::strcmp(name, "evdev") == 0;
}

bool driverRequested(const char* name) {
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    return requested != nullptr && std::strstr(requested, name) != nullptr;
}

}  // namespace

Session::Session() {
    // Ctrl+C and SIGTERM end the process as usual instead of arriving as SDL_QUIT,
    // which has no window message to become.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        throw std::runtime_error(std::string("SDL could not start: ") + SDL_GetError());
    }
}

Session::~Session() { SDL_Quit(); }

bool Session::video() {
    if (startedVideo) {
        return true;
    }
    if (videoFailed) {
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        videoFailed = true;
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || (invisibleDriver(driver) && !driverRequested(driver)) ||
        SDL_GetNumVideoDisplays() < 1) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoFailed = true;
        return false;
    }
    startedVideo = true;
    return true;
}

}  // namespace platform::sdl
