#include "platform/sdl/sdl_platform.h"

#include "platform/sdl/direct3d.h"
#include "platform/sdl/input.h"
#include "platform/sdl/key_latch.h"
#include "platform/sdl/session.h"
#include "platform/sdl/system.h"
#include "platform/sdl/window_registry.h"
#include "platform/sdl/windowing.h"

namespace platform::sdl {

// Declared in the order they must start; they end in reverse, SDL last.
struct SdlPlatform::Parts {
    Session session;
    KeyLatch latch;
    WindowRegistry registry;
    SdlSystem system{registry};
    SdlInput input{latch, registry};
    SdlWindowing windowing{session, registry};
};

SdlPlatform::SdlPlatform() : parts(std::make_unique<Parts>()) {}

SdlPlatform::~SdlPlatform() = default;

System& SdlPlatform::system() { return parts->system; }

Input& SdlPlatform::input() { return parts->input; }

Windowing& SdlPlatform::windowing() { return parts->windowing; }

Direct3D* SdlPlatform::createDirect3D() {
    if (!parts->session.video()) {
        return nullptr;
    }
    return new SdlDirect3D(parts->registry);
}

}  // namespace platform::sdl
