// The state file: the shared script variables of the simple kinds, the objects
// (headers, then bodies) and the next object identifier, in one unframed file.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "core/core.h"
#include "core/object.h"
#include "log/log.h"
#include "persist/file_sync.h"
#include "persist/input_archive.h"
#include "persist/output_archive.h"

namespace {

constexpr std::uint8_t MORE_RECORDS = 1;
constexpr std::uint8_t END_OF_RECORDS = 0;

// True when the path, links followed, names something that exists but is no
// regular file: a folder, a named pipe, a device. Opening a pipe waits for its
// other end, and renaming over it would put a file in its place.
bool namesOtherThanFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    return !error && std::filesystem::exists(status) &&
           !std::filesystem::is_regular_file(status);
}

// The end of the path's chain of symbolic links when it is a regular file or
// nothing yet; none, after a warning, when it is something else or the chain
// never ends.
std::optional<std::string> fileAtEndOf(const std::string& path) {
    std::optional<std::string> end = file_sync::resolveTarget(path);
    if (!end) {
        Log::warning("State file '" + path + "' is a loop of symbolic links.");
    } else if (namesOtherThanFile(*end)) {
        Log::warning("State file '" + path + "' is not a regular file.");
        end.reset();
    }
    return end;
}

[[noreturn]] void unsupportedVariable(const std::string& name) {
    Log::error("Global variable '" + name + "' type not supported.");
}

// Puts the script stack back to its height at construction, also when an
// error report leaves the walk early.
class StackRestorer {
public:
    explicit StackRestorer(lua_State* state) : state(state), top(lua_gettop(state)) {}
    ~StackRestorer() { lua_settop(state, top); }
    StackRestorer(const StackRestorer&) = delete;
    StackRestorer& operator=(const StackRestorer&) = delete;

private:
    lua_State* state;
    int top;
};

// Deletes the temporary file of a save that did not get as far as the rename.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path(std::move(path)) {}
    ~TemporaryFile() {
        if (!kept) {
            file_sync::removeQuietly(path);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    void keep() { kept = true; }
    const std::string& getPath() const { return path; }

private:
    std::string path;
    bool kept = false;
};

// The text of the key at `index`, taken from a copy so that converting a number
// key does not disturb lua_next. Keys with no text form get the form that
// Lua's tostring gives them.
std::string variableName(lua_State* state, int index) {
    lua_pushvalue(state, index);
    std::string name;
    if (const char* text = lua_tolstring(state, -1, nullptr)) {
        name = text;  // up to the first zero byte
    } else if (lua_type(state, -1) == LUA_TBOOLEAN) {
        name = lua_toboolean(state, -1) != 0 ? "true" : "false";
    } else {
        char address[32];
        std::snprintf(address, sizeof address, ": %p", lua_topointer(state, -1));
        name = std::string(lua_typename(state, lua_type(state, -1))) + address;
    }
    lua_pop(state, 1);
    return name;
}

void writeVariables(OutputArchive& archive, lua_State* state) {
    if (state == nullptr) {
        return;  // no script state yet: no variables
    }
    StackRestorer restorer(state);
    lua_checkstack(state, 3);
    lua_pushnil(state);
    while (lua_next(state, LUA_GLOBALSINDEX) != 0) {
        const std::string name = variableName(state, -2);
        const int type = lua_type(state, -1);
        if (type != LUA_TNIL && type != LUA_TBOOLEAN && type != LUA_TNUMBER &&
            type != LUA_TSTRING) {
            unsupportedVariable(name);
        }
        archive.write(MORE_RECORDS);
        archive.write(name);
        archive.write(static_cast<std::int32_t>(type));
        switch (type) {
        case LUA_TBOOLEAN:
            archive.write(lua_toboolean(state, -1) != 0);
            break;
        case LUA_TNUMBER:
            archive.write(static_cast<double>(lua_tonumber(state, -1)));
            break;
        case LUA_TSTRING:
            archive.write(lua_tolstring(state, -1, nullptr));  // up to the first zero byte
            break;
        default:
            break;  // nil: no value
        }
        lua_pop(state, 1);
    }
    archive.write(END_OF_RECORDS);
}

// False at the first failed read.
bool readVariables(InputArchive& archive, lua_State* state) {
    lua_checkstack(state, 2);
    for (;;) {
        const std::uint8_t more = archive.readByte();
        if (archive.failed()) {
            return false;
        }
        if (more == END_OF_RECORDS) {
            return true;
        }
        const std::string name = archive.readString();
        const std::int32_t type = archive.readInt();
        if (archive.failed()) {
            return false;
        }
        switch (type) {
        case LUA_TNIL:
            lua_pushnil(state);
            break;
        case LUA_TBOOLEAN:
            lua_pushboolean(state, archive.readByte() != 0);
            break;
        case LUA_TNUMBER:
            lua_pushnumber(state, archive.readDouble());
            break;
        case LUA_TSTRING:
            lua_pushstring(state, archive.readString().c_str());
            break;
        default:
            unsupportedVariable(name);
        }
        if (archive.failed()) {
            lua_pop(state, 1);
            return false;
        }
        lua_setfield(state, LUA_GLOBALSINDEX, name.c_str());
    }
}

// False at the first failed read, or when a type code makes no object.
bool readObjects(InputArchive& archive, Core& core) {
    const std::int32_t count = archive.readInt();
    if (archive.failed()) {
        return false;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t type = archive.readInt();
        const std::string script = archive.readString();
        if (archive.failed()) {
            return false;
        }
        Object* object = core.createObject(type, script);
        if (object == nullptr) {
            return false;
        }
        const std::int32_t id = archive.readInt();
        if (archive.failed()) {
            return false;
        }
        object->setId(id);
    }
    for (Object* object : core.getObjects()) {
        object->read(archive);
        if (archive.failed()) {
            return false;
        }
    }
    const std::int32_t nextId = archive.readInt();
    if (archive.failed()) {
        return false;
    }
    core.setNextObjectId(nextId);
    return true;
}

}  // namespace

bool Core::saveState(const std::string& path) {
    const std::optional<std::string> end = fileAtEndOf(path);
    if (!end) {
        return false;
    }
    const std::string& target = *end;
    if (!file_sync::canOverwrite(target)) {
        return false;
    }
    file_sync::removeStaleTemporaries(target);
    // Declared before the archive, so the file is closed before it is deleted.
    TemporaryFile temporary(file_sync::temporaryPathFor(target));
    OutputArchive archive(this);
    if (!archive.open(temporary.getPath())) {
        return false;
    }
    writeVariables(archive, luaState);
    archive.write(static_cast<std::uint32_t>(objects.size()));
    for (const Object* object : objects) {
        archive.write(object->getType());
        archive.write(object->getScript());
        archive.write(object->getId());
    }
    for (Object* object : objects) {
        object->write(archive);
    }
    archive.write(nextObjectId);
    if (!archive.commit() || !file_sync::replace(temporary.getPath(), target)) {
        return false;
    }
    temporary.keep();
    return true;
}

bool Core::loadState(const std::string& path) {
    reset();
    if (!fileAtEndOf(path)) {
        return false;
    }
    InputArchive archive(this);
    if (!archive.open(path)) {
        return false;
    }
    if (!readVariables(archive, luaState) || !readObjects(archive, *this)) {
        // Nothing of a damaged file is kept: the core is left as fresh as when
        // the file cannot be opened.
        reset();
        Log::warning("State file '" + path + "' is damaged or incomplete.");
        return false;
    }
    return true;
}
