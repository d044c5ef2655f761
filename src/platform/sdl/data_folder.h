#pragma once
#include <string>

namespace platform::sdl {

// The per-user data folder (the XDG data home, as SDL finds it) with subFolder
// appended, created when missing; empty when it cannot be had. No trailing slash.
std::string userDataFolder(const std::string& subFolder);

}  // namespace platform::sdl
