#pragma once
// The platform layer on SDL2. A program makes one and installs it:
//
//     platform::sdl::SdlPlatform backend;
//     platform::install(&backend);
//
// Only events and the timer start with it; the display is opened when the first
// window, message box or Direct3D object needs one. What createDirect3D and the
// objects made from it return belongs to the caller, who deletes it before the
// platform goes.
#include <memory>

#include "platform/platform.h"

namespace platform::sdl {

class SdlPlatform : public Platform {
public:
    SdlPlatform();
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    System& system() override;
    Input& input() override;
    Windowing& windowing() override;
    Direct3D* createDirect3D() override;

private:
    struct Parts;
    std::unique_ptr<Parts> parts;
};

}  // namespace platform::sdl
