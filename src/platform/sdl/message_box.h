#pragma once
// Blocking message boxes with the Win32 button sets, icons and answer codes.
#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

namespace platform::sdl {

// The buttons of a MessageBox style, left to right, each carrying its answer code;
// Enter picks the first, Escape the answer `closeAnswer` gives.
std::vector<SDL_MessageBoxButtonData> messageBoxButtons(std::uint32_t style);
// The answer when the box is closed without a button: what Escape means in that
// button set (OK, Cancel), or No for a yes/no question.
int closeAnswer(std::uint32_t style);
// SDL_MESSAGEBOX_ERROR, _WARNING or _INFORMATION for the style's icon.
std::uint32_t messageBoxIconFlag(std::uint32_t style);

// Shows the box and waits for the answer. A box with an owner (one of the program's
// shown windows) belongs to it: the window manager keeps it above that window, even
// a full-screen or topmost one, and centres it there. When no box can be shown (no
// display) the text goes to the standard error stream and the answer is 0, as a
// failed MessageBox gives.
int showMessageBox(const std::string& text, const std::string& caption, std::uint32_t style,
                   SDL_Window* owner = nullptr);

}  // namespace platform::sdl
