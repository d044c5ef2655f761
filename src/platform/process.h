#pragma once
// Questions about the machine's other processes. They go straight to the
// operating system the engine is built for (posix/process.cpp or
// win32/process.cpp, picked by the build), whatever backend is installed.
#include <cstdint>

namespace platform {

// Whether a process with this identifier exists now. An identifier that the
// system never hands out (0, or one too large for it) names no process.
bool processRunning(std::uint64_t id);

// This process's identifier, as processRunning takes it.
std::uint64_t currentProcessId();

}  // namespace platform
