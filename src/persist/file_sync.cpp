#include "persist/file_sync.h"

#include <atomic>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace file_sync {

namespace {

long processId() {
#ifdef _WIN32
    return static_cast<long>(_getpid());
#else
    return static_cast<long>(getpid());
#endif
}

}  // namespace

std::string resolveTarget(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) {
        return path;
    }
    const std::filesystem::path end = std::filesystem::weakly_canonical(path, error);
    return error ? path : end.string();
}

bool canOverwrite(const std::string& target) {
    std::error_code error;
    if (!std::filesystem::exists(target, error)) {
        return true;
    }
    // Opening for update neither truncates nor creates.
    std::FILE* file = std::fopen(target.c_str(), "r+b");
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return true;
}

std::string temporaryPathFor(const std::string& target) {
    // Process id and a counter keep concurrent saves of one target apart.
    static std::atomic<unsigned> counter{0};
    return target + ".tmp" + std::to_string(processId()) + "-" + std::to_string(counter++);
}

bool syncToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

bool replace(const std::string& from, const std::string& to) {
    // std::filesystem::rename replaces an existing target on every platform,
    // unlike std::rename on Windows.
    std::error_code error;
    const auto status = std::filesystem::status(to, error);
    if (!error && std::filesystem::exists(status)) {
        std::filesystem::permissions(from, status.permissions(), error);
    }
    std::filesystem::rename(from, to, error);
    return !error;
}

void removeQuietly(const std::string& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
}

}  // namespace file_sync
