// The SDL backend through the installed package: its headers (which include SDL's)
// compile, and the program links against SDL2, SDL2_image and Xlib found again by
// the package. The backend opens nothing until it is asked for a window.
#include <cstdio>

#include <tessak/platform/platform.h>
#include <tessak/platform/sdl/sdl_platform.h>

int main() {
    platform::sdl::SdlPlatform backend;
    platform::install(&backend);
    const bool installed = &platform::current() == &backend;
    platform::install(nullptr);
    if (!installed) {
        std::fprintf(stderr, "FAIL: the SDL backend is not the current platform\n");
        return 1;
    }
    std::printf("PASS: the SDL backend installed\n");
    return 0;
}
