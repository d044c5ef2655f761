#include "persist/file_sync.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/platform.h"
#include "platform/process.h"

namespace file_sync {

namespace {

// Linux gives up after as many links as this; so does a save.
constexpr int MOST_LINKS = 40;

// Between the target's name and the writer's process id in a temporary's
// name: no user names a file so, and so the sweep of stale temporaries never
// meets a file of someone else's.
constexpr char TEMPORARY_MARK[] = ".save-in-progress-5c1e9a73-";

// The writer's process id when `name` is `prefix`, digits, '-', digits (the
// form temporaryPathFor makes, with a process id that is not 0); none
// otherwise. Names are compared in the system's own form: not every file name
// has a narrow one on Windows.
std::optional<std::uint64_t> writerOfTemporary(const std::filesystem::path::string_type& name,
                                               const std::filesystem::path::string_type& prefix) {
    if (name.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    const std::size_t dash = name.find('-', prefix.size());
    const auto allDigits = [&](std::size_t from, std::size_t to) {
        if (from == to || to - from > 19) {  // 19 digits always fit 64 bits
            return false;
        }
        for (std::size_t i = from; i < to; ++i) {
            if (name[i] < '0' || name[i] > '9') {
                return false;
            }
        }
        return true;
    };
    if (dash == name.npos || !allDigits(prefix.size(), dash) || !allDigits(dash + 1, name.size())) {
        return std::nullopt;
    }
    std::uint64_t id = 0;
    for (std::size_t i = prefix.size(); i < dash; ++i) {
        id = id * 10 + static_cast<std::uint64_t>(name[i] - '0');
    }
    if (id == 0) {
        return std::nullopt;
    }
    return id;
}

}  // namespace

std::optional<std::string> resolveTarget(const std::string& path) {
    // Followed by hand rather than through canonical paths: a dangling link's
    // end does not exist yet, and it is that end the save must create.
    std::filesystem::path current = path;
    for (int links = 0; links <= MOST_LINKS; ++links) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, error))) {
            return current.string();
        }
        const std::filesystem::path next = std::filesystem::read_symlink(current, error);
        if (error) {
            return current.string();
        }
        // A relative link is read from the folder that holds it.
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return std::nullopt;
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

std::string temporaryPathFor(const std::string& target, std::uint64_t processId, unsigned counter) {
    return target + TEMPORARY_MARK + std::to_string(processId) + "-" + std::to_string(counter);
}

std::string temporaryPathFor(const std::string& target) {
    // Process id and a counter keep concurrent saves of one target apart.
    static std::atomic<unsigned> counter{0};
    return temporaryPathFor(target, platform::currentProcessId(), counter++);
}

void removeStaleTemporaries(const std::string& target) {
    const std::filesystem::path targetPath(target);
    const std::filesystem::path name = targetPath.filename();
    std::error_code folderError;
    if (name.empty() || name == "." || name == ".." ||
        std::filesystem::is_directory(targetPath, folderError)) {
        return;
    }
    const std::filesystem::path::string_type prefix =
        (std::filesystem::path(name) += TEMPORARY_MARK).native();
    std::filesystem::path folder = targetPath.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    // Collected first: a folder changed while it is listed may be listed oddly.
    std::vector<std::filesystem::path> stale;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const auto writer = writerOfTemporary(entry->path().filename().native(), prefix);
        std::error_code kindError;
        if (writer &&
            entry->symlink_status(kindError).type() == std::filesystem::file_type::regular &&
            !platform::processRunning(*writer)) {
            stale.push_back(entry->path());
        }
    }
    for (const std::filesystem::path& path : stale) {
        removeQuietly(path.string());
    }
}

bool syncToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
    return platform::current().system().syncFile(file);
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
