#pragma once
// The folder the program's own file lies in, made the working folder: a shortcut,
// a launcher or a command line may start the game anywhere, and the game names
// its pictures relative to the working folder ("resources/...").

namespace platform::win32 {

// True when the working folder is now the program's folder.
bool enterProgramFolder();

}  // namespace platform::win32
