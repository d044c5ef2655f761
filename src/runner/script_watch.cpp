#include "runner/script_watch.h"

#include <filesystem>
#include <system_error>

#include <lua.hpp>

namespace fs = std::filesystem;

namespace runner {

void ScriptWatch::start(const std::string& folder) {
    root = folder;
    seen = look();
}

bool ScriptWatch::changed() {
    std::map<std::string, Stamp> now = look();
    if (now == seen) {
        return false;
    }
    seen.swap(now);
    return true;
}

std::vector<std::string> ScriptWatch::scripts() const {
    std::vector<std::string> paths;
    for (const auto& entry : seen) {
        paths.push_back(entry.first);
    }
    return paths;
}

std::map<std::string, ScriptWatch::Stamp> ScriptWatch::look() const {
    std::map<std::string, Stamp> found;
    std::error_code error;
    fs::recursive_directory_iterator walk(root, error);
    for (const fs::recursive_directory_iterator end; !error && walk != end; walk.increment(error)) {
        const fs::directory_entry& entry = *walk;
        if (entry.path().extension() != ".lua" || !entry.is_regular_file(error)) {
            continue;
        }
        Stamp stamp;
        stamp.time =
            static_cast<std::int64_t>(entry.last_write_time(error).time_since_epoch().count());
        stamp.size = entry.file_size(error);
        found[entry.path().lexically_relative(root).generic_string()] = stamp;
    }
    return found;
}

std::string compileErrors(const std::vector<std::string>& scripts) {
    std::string errors;
    lua_State* L = luaL_newstate();
    if (L == nullptr) {
        return "out of memory";
    }
    for (const std::string& script : scripts) {
        if (luaL_loadfile(L, script.c_str()) != 0) {
            const char* message = lua_tostring(L, -1);
            errors += (message != nullptr ? message : script + ": cannot be compiled");
            errors += '\n';
        }
        lua_settop(L, 0);
    }
    lua_close(L);
    return errors;
}

}  // namespace runner
