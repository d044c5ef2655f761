#pragma once
// Where the game's pictures are found when the program is started from another
// folder: the game names them relative to the working folder ("resources/..."),
// and they lie beside the program (the installed tree, and the build folder,
// which links resources/ to the sources').
#include <string>

namespace platform::posix {

// Makes the folder of `programPath` the working folder when the working folder
// has no resources/ and that folder has one. True when resources/ is then in the
// working folder.
bool enterGameFolder(const std::string& programPath);

// The running program's own file (/proc/self/exe); empty when unknown.
std::string programPath();

}  // namespace platform::posix
