#include "platform/sdl/data_folder.h"

#include <SDL.h>

namespace platform::sdl {

std::string userDataFolder(const std::string& subFolder) {
    // SDL puts an empty organisation nowhere, so the application name is the
    // sub-folder itself; "." names the data home when no sub-folder is wanted.
    const bool bare = subFolder.empty();
    char* found = SDL_GetPrefPath("", bare ? "." : subFolder.c_str());
    if (found == nullptr) {
        return {};
    }
    std::string path(found);
    SDL_free(found);
    if (bare && path.size() >= 2 && path.compare(path.size() - 2, 2, "./") == 0) {
        path.erase(path.size() - 2);
    }
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

}  // namespace platform::sdl
