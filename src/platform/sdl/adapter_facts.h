#pragma once
// What the graphics adapter says of itself, as far as SDL and OpenGL tell: the
// renderer's name, whether it is accelerated, and the driver's version.
#include <SDL.h>

#include <cstdint>
#include <string>

namespace platform::sdl {

struct AdapterFacts {
    bool found = false;        // a renderer could be made at all
    bool accelerated = false;  // it draws on a GPU (or an accelerated emulation)
    std::string renderDriver;  // SDL's name for it: "opengl", "software", ...
    std::string description;   // the OpenGL renderer string, else the driver name
    std::string version;       // the OpenGL version string, empty when unknown
};

// Makes a hidden window and a renderer to look at them, then removes both.
AdapterFacts probeAdapter();

// The driver version in a version text, as the four 16-bit parts of a Windows
// driver version (most significant first): the last dotted number in the text,
// parts missing or unreadable being 0. "4.5 (Compatibility Profile) Mesa 22.3.6"
// gives 22, 3, 6, 0.
std::int64_t driverVersion(const std::string& versionText);

}  // namespace platform::sdl
