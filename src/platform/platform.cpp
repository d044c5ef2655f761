#include "platform/platform.h"

#include <stdexcept>

namespace platform {

namespace {
Platform* installedPlatform = nullptr;
}

void install(Platform* platform) { installedPlatform = platform; }

Platform& current() {
    if (installedPlatform == nullptr) {
        throw std::logic_error("no platform backend installed");
    }
    return *installedPlatform;
}

bool installed() { return installedPlatform != nullptr; }

}  // namespace platform
