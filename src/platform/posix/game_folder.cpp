#include "platform/posix/game_folder.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace platform::posix {

namespace {
constexpr char RESOURCES[] = "resources";
}

bool enterGameFolder(const std::string& programPath) {
    std::error_code error;
    if (std::filesystem::is_directory(RESOURCES, error)) {
        return true;
    }
    if (programPath.empty()) {
        return false;
    }
    const std::filesystem::path folder = std::filesystem::path(programPath).parent_path();
    if (!std::filesystem::is_directory(folder / RESOURCES, error)) {
        return false;
    }
    std::filesystem::current_path(folder, error);
    return !error;
}

std::string programPath() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

}  // namespace platform::posix
