#pragma once
// Notices when a script of the game folder changes on disk: the modification
// times and sizes of every .lua file under the folder, compared with the last look.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace runner {

class ScriptWatch {
public:
    // Remembers the folder's scripts as they are now.
    void start(const std::string& folder);
    // True when a script was added, removed or changed since the last look.
    bool changed();
    // The scripts as last seen (paths relative to the folder).
    std::vector<std::string> scripts() const;

private:
    struct Stamp {
        std::int64_t time = 0;
        std::uintmax_t size = 0;
        bool operator==(const Stamp& other) const {
            return time == other.time && size == other.size;
        }
    };
    std::map<std::string, Stamp> look() const;

    std::string root;
    std::map<std::string, Stamp> seen;
};

// Compiles each script (relative to the current folder) without running it;
// the messages of those that fail, one per line.
std::string compileErrors(const std::vector<std::string>& scripts);

}  // namespace runner
