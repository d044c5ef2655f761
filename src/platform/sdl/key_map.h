#pragma once
// Virtual-key codes and SDL's physical key positions, both ways.
#include <SDL.h>

#include <vector>

namespace platform::sdl {

// The virtual key of a key position, 0 for keys without one.
int virtualKeyOf(SDL_Scancode scancode);
// Every key position that counts as the virtual key (both Shift keys for VK_SHIFT);
// empty for mouse buttons and unknown codes.
std::vector<SDL_Scancode> scancodesOf(int virtualKey);
// The SDL mouse button of vk::LBUTTON, VK_RBUTTON and VK_MBUTTON, 0 otherwise.
int mouseButtonOf(int virtualKey);
// The virtual key of an SDL mouse button, 0 when it has none.
int virtualKeyOfMouseButton(int button);

}  // namespace platform::sdl
