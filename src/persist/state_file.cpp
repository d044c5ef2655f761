// The state file: the shared script variables of the simple kinds, the objects
// (headers, then bodies) and the next object identifier, in one unframed file.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>

#include "core/core.h"
#include "core/object.h"
#include "core/script_error.h"
#include "core/script_scope.h"
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
    return !error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

// The end of the path's chain of symbolic links when it is a regular file or
// nothing yet; none, after a report at the given level, when it is something
// else or the chain never ends.
std::optional<std::string> fileAtEndOf(const std::string& path,
                                       void (*report)(const std::string&)) {
    std::optional<std::string> end = file_sync::resolveTarget(path);
    if (!end) {
        report("State file '" + path + "' is a loop of symbolic links.");
    } else if (namesOtherThanFile(*end)) {
        report("State file '" + path + "' is not a regular file.");
        end.reset();
    }
    return end;
}

[[noreturn]] void unsupportedVariable(const std::string& name) {
    Log::error("Global variable '" + name + "' type not supported.");
}

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

// The text of a variable's name: the key's text (`keyText`, from a copy of the
// key so that converting a number key does not disturb lua_next), up to its
// first zero byte. Keys with no text form get the form that Lua's tostring
// gives them.
std::string variableName(lua_State* state, int keyIndex, const char* keyText) {
    if (keyText != nullptr) {
        return keyText;
    }
    if (lua_type(state, keyIndex) == LUA_TBOOLEAN) {
        return lua_toboolean(state, keyIndex) != 0 ? "true" : "false";
    }
    char address[32];
    std::snprintf(address, sizeof address, ": %p", lua_topointer(state, keyIndex));
    return std::string(lua_typename(state, lua_type(state, keyIndex))) + address;
}

// The walk over the shared variables, run as a protected call: converting a
// key may run the collector and a finalizer that fails. No C++ object lives
// across a script call here, since a failure leaves by a long jump.
struct VariableWalk {
    explicit VariableWalk(OutputArchive& archive) : archive(&archive) {}
    OutputArchive* archive;
    std::string unsupported;  // the first variable of a kind that is not saved
    bool refused = false;
    std::exception_ptr failure;  // a C++ exception met while writing
};

// Writes the record of the variable whose key and value are on top of the
// stack; false when the walk must stop.
bool writeVariable(VariableWalk& walk, lua_State* state, const char* keyText) {
    try {
        const std::string name = variableName(state, -3, keyText);
        const int type = lua_type(state, -2);
        if (type != LUA_TNIL && type != LUA_TBOOLEAN && type != LUA_TNUMBER &&
            type != LUA_TSTRING) {
            walk.unsupported = name;
            walk.refused = true;
            return false;
        }
        OutputArchive& archive = *walk.archive;
        archive.write(MORE_RECORDS);
        archive.write(name);
        archive.write(static_cast<std::int32_t>(type));
        switch (type) {
            case LUA_TBOOLEAN:
                archive.write(lua_toboolean(state, -2) != 0);
                break;
            case LUA_TNUMBER:
                archive.write(static_cast<double>(lua_tonumber(state, -2)));
                break;
            case LUA_TSTRING:
                // A string value is read as it is, with no conversion.
                archive.write(lua_tolstring(state, -2, nullptr));  // up to the first zero byte
                break;
            default:
                break;  // nil: no value
        }
        return true;
    } catch (...) {
        walk.failure = std::current_exception();
        return false;
    }
}

int walkVariables(lua_State* state) {
    VariableWalk& walk = *static_cast<VariableWalk*>(lua_touserdata(state, 1));
    lua_pushnil(state);
    while (lua_next(state, LUA_GLOBALSINDEX) != 0) {
        lua_pushvalue(state, -2);
        const char* keyText = lua_tolstring(state, -1, nullptr);
        if (!writeVariable(walk, state, keyText)) {
            return 0;
        }
        lua_pop(state, 2);
    }
    return 0;
}

void writeVariables(OutputArchive& archive, Core& core) {
    lua_State* state = core.getLuaState();
    if (state == nullptr) {
        return;  // no script state yet: no variables
    }
    VariableWalk walk(archive);
    lua_checkstack(state, 1);
    {
        // Converting a key may run a finalizer, which is script code.
        ScriptScope scripts(core);
        if (lua_cpcall(state, walkVariables, &walk) != 0) {
            const ScriptFailure failure(state, -1, core.isFatalErrorRaised());
            lua_pop(state, 1);
            failure.report();
        }
        core.throwIfFatal();
    }
    if (walk.failure) {
        std::rethrow_exception(walk.failure);
    }
    if (walk.refused) {
        unsupportedVariable(walk.unsupported);
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
    // A damaged count must not make a huge reservation: beyond this the lookup
    // grows as the objects come.
    constexpr std::int32_t MOST_RESERVED = 1 << 20;
    core.reserveObjects(static_cast<std::size_t>(std::clamp(count, 0, MOST_RESERVED)));
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
    // A save that cannot open its file returns false and shows nothing (a
    // host's failed save must not put a box in front of a player); the
    // reason goes to the log's information level.
    if (path.empty()) {
        return false;
    }
    const std::optional<std::string> end = fileAtEndOf(path, Log::info);
    if (!end || std::filesystem::path(*end).filename().empty()) {
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
    writeVariables(archive, *this);
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
    checkBookkeeping();
    return true;
}

bool Core::loadState(const std::string& path) {
    if (isScriptRunning()) {
        Log::warning("State file '" + path + "' cannot be loaded while a script runs.");
        return false;
    }
    reset();
    if (!fileAtEndOf(path, Log::warning)) {
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
    checkBookkeeping();
    return true;
}
