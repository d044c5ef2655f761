// The script state and the engine's script functions.
//
// Debian's Lua is built as C: a Lua error longjmps through these functions. So
// no object with a destructor lives across a Lua call that can raise, and no C++
// exception leaves a function that Lua called (see `guarded`).
#include "core/core.h"
#include "core/fatal_stop.h"
#include "core/key_type.h"
#include "core/lock.h"
#include "core/object.h"
#include "core/script_error.h"
#include "core/script_heap.h"
#include "core/script_number.h"
#include "log/log.h"

namespace {

// Each engine function carries its core as its first upvalue, so that a script
// that assigns the global `core` cannot point it elsewhere.
Core& coreOf(lua_State* L) { return *static_cast<Core*>(lua_touserdata(L, lua_upvalueindex(1))); }

// `pause` and `wait` also carry the field names of a wait handle, interned once,
// so that a pause and wait cycle does not look the names up in the string table.
constexpr int OID_NAME = lua_upvalueindex(2);
constexpr int EID_NAME = lua_upvalueindex(3);

std::int32_t idArgument(lua_State* L, int index) { return toInt32(lua_tonumber(L, index)); }

// A text argument as Lua holds it (a number is turned into its text in place);
// a value that is neither gives "". Take every argument before making strings
// of them: lua_tolstring may run the collector, and a Lua error must find no
// std::string alive.
struct Text {
    const char* data = "";
    std::size_t size = 0;
    std::string str() const { return std::string(data, size); }
};

Text textArgument(lua_State* L, int index) {
    Text text;
    if (const char* data = lua_tolstring(L, index, &text.size)) {
        text.data = data;
    } else {
        text.size = 0;
    }
    return text;
}

enum class HostOutcome { RETURNED, FATAL, FAILED };

// Raises the fatal error value: a fatal error was reported (now or before),
// so the scripts are stopped where they run and the value travels up to the
// host.
int raiseFatal(lua_State* L, Core& core) {
    core.noteFatalError(L);
    pushFatalError(L);
    return lua_error(L);
}

// Runs host code that a script called and turns a C++ exception into a Lua
// error raised after the handler has finished, so that no exception crosses
// the Lua frames above. After a fatal report nothing of the host runs for a
// script any more, and host code that ran scripts itself (and swallowed the
// report) hands the fatal error on.
template <typename HostCode>
int runGuarded(lua_State* L, Core& core, HostCode hostCode) {
    if (core.isFatalErrorRaised()) {
        return raiseFatal(L, core);
    }
    HostOutcome outcome = HostOutcome::RETURNED;
    int results = 0;
    try {
        results = hostCode();
    } catch (const Log::Fatal&) {
        outcome = HostOutcome::FATAL;
    } catch (...) {
        outcome = HostOutcome::FAILED;
    }
    if (outcome == HostOutcome::FATAL || core.isFatalErrorRaised()) {
        return raiseFatal(L, core);
    }
    if (outcome == HostOutcome::FAILED) {
        lua_pushstring(L, "the host failed inside an engine function");
        return lua_error(L);
    }
    return results;
}

template <int (*Function)(lua_State*, Core&)>
int guarded(lua_State* L) {
    Core& core = coreOf(L);
    return runGuarded(L, core, [L, &core] { return Function(L, core); });
}

// A function that the host registered, run as the engine functions are.
// Upvalue 2 is the host's function.
int guardedHostFunction(lua_State* L) {
    const lua_CFunction function = lua_tocfunction(L, lua_upvalueindex(2));
    return runGuarded(L, coreOf(L), [L, function] { return function(L); });
}

int scriptNewObject(lua_State* L, Core& core) {
    const Text script = textArgument(L, 2);
    const std::int32_t type = idArgument(L, 1);
    Object* object = core.createObject(type, script.str());
    lua_pushnumber(L, object != nullptr ? object->getId() : 0);
    return 1;
}

int scriptDeleteObject(lua_State* L, Core& core) {
    const bool deleted = core.deleteObject(idArgument(L, 1));
    lua_pushboolean(L, deleted);
    return 1;
}

int scriptPause(lua_State* L, Core& core) {
    std::int32_t id = idArgument(L, 1);
    const float seconds = toSeconds(lua_tonumber(L, 2));
    if (Object* object = core.findObject(id)) {
        object->pause(seconds);
        id = object->getId();
    }
    // With no such object the handle names none, and `wait` returns at once.
    // The table is new and has no metatable, so a raw set is what setting the
    // field does.
    lua_createtable(L, 0, 2);
    lua_pushvalue(L, OID_NAME);
    lua_pushnumber(L, id);
    lua_rawset(L, -3);
    lua_pushvalue(L, EID_NAME);
    lua_pushnumber(L, 0);
    lua_rawset(L, -3);
    return 1;
}

// True when a C function (pcall, say) lies between the calling script function
// and the start of the thread: the thread cannot yield across it.
// Each frame's function is asked for itself ("f") rather than its source
// ("S"), which would format the chunk's name for every frame; a frame lost to
// a tail call gives nil, which is no C function either.
bool insideHostCall(lua_State* L) {
    lua_Debug frame;
    for (int level = 1; lua_getstack(L, level, &frame) != 0; ++level) {
        lua_getinfo(L, "f", &frame);
        const bool host = lua_iscfunction(L, -1) != 0;
        lua_pop(L, 1);
        if (host) {
            return true;
        }
    }
    return false;
}

int scriptWait(lua_State* L, Core& core) {
    // Reading a field of a value that is not a table raises the script's error.
    // Both fields are read before anything is looked up: a metamethod of the
    // handle may run script code. With no argument at all the handle is nil.
    if (lua_gettop(L) == 0) {
        lua_pushnil(L);
    }
    lua_pushvalue(L, OID_NAME);
    lua_gettable(L, -2);
    const std::int32_t objectId = idArgument(L, -1);
    lua_pop(L, 1);
    lua_pushvalue(L, EID_NAME);
    lua_gettable(L, -2);
    const std::int32_t eventId = idArgument(L, -1);
    lua_pop(L, 1);
    Object* object = core.findObject(objectId);
    if (object == nullptr) {
        return 0;
    }
    Lock* lock = core.findLock(object, eventId);
    if (lock == nullptr || lock->thread != nullptr) {
        return 0;
    }
    // Only a thread that the host is running can be resumed by the host, and only
    // where nothing but script functions lie between it and the host: not a main
    // chunk, a coroutine the script made (or one it resumed itself), nor inside
    // pcall and the like. There the wait is an error, as the language's own
    // yield would be, and nothing is recorded.
    if (L != core.getRunningThread() || insideHostCall(L)) {
        return luaL_error(L,
                          "wait can only suspend a thread that the engine runs, "
                          "outside protected calls and coroutines of the script");
    }
    return lock->suspend(L);
}

int scriptGetKey(lua_State* L, Core& core) {
    const Text name = textArgument(L, 2);
    const KeyType* value = nullptr;
    if (const Object* object = core.findObject(idArgument(L, 1))) {
        value = object->getKeyValue(name.str());
    }
    if (value == nullptr) {
        return 0;
    }
    switch (value->tag) {
        case KeyType::NUMBER:
            lua_pushnumber(L, static_cast<const KeyTypeNumber*>(value)->value);
            return 1;
        case KeyType::STRING: {
            const std::string& text = static_cast<const KeyTypeString*>(value)->value;
            lua_pushlstring(L, text.data(), text.size());
            return 1;
        }
        case KeyType::BOOL:
            lua_pushboolean(L, static_cast<const KeyTypeBool*>(value)->value != 0);
            return 1;
        default:
            return 0;
    }
}

int scriptSetKey(lua_State* L, Core& core) {
    const Text name = textArgument(L, 2);
    const int type = lua_type(L, 3);
    const lua_Number number = lua_tonumber(L, 3);
    const int boolean = lua_toboolean(L, 3);
    const Text text = type == LUA_TSTRING ? textArgument(L, 3) : Text();
    Object* object = core.findObject(idArgument(L, 1));
    if (object == nullptr) {
        return 0;
    }
    switch (type) {
        case LUA_TBOOLEAN:
            object->setBool(name.str(), boolean ? 1 : 0);
            break;
        case LUA_TNUMBER:
            object->setNumber(name.str(), number);
            break;
        case LUA_TSTRING:
            object->setString(name.str(), text.str());
            break;
        default:
            break;
    }
    return 0;
}

void setEngineFunction(lua_State* L, Core* core, const char* name, lua_CFunction function) {
    lua_pushlightuserdata(L, core);
    lua_pushcclosure(L, function, 1);
    lua_setfield(L, LUA_GLOBALSINDEX, name);
}

// An engine function that also carries the wait handle's field names.
void setHandleFunction(lua_State* L, Core* core, const char* name, lua_CFunction function) {
    lua_pushlightuserdata(L, core);
    lua_pushliteral(L, "oid");
    lua_pushliteral(L, "eid");
    lua_pushcclosure(L, function, 3);
    lua_setfield(L, LUA_GLOBALSINDEX, name);
}

}  // namespace

void Core::registerFunction(const std::string& name, lua_CFunction function) {
    functions[name] = function;
}

void Core::reset() {
    if (isScriptRunning()) {
        Log::warning("The script state cannot be reset while one of its scripts runs.");
        return;
    }
    if (clearAll()) {
        // A finalizer met a fatal host error while the old state closed.
        throw Log::Fatal{};
    }
    nextObjectId = 1;

    luaState = ScriptHeap::newState();
    if (luaState == nullptr) {
        Log::error("Failed to create the script state.");
    }
    lua_State* L = luaState;
    luaL_openlibs(L);
    fatal_stop::prepare(L, this);

    lua_pushlightuserdata(L, this);
    lua_setfield(L, LUA_GLOBALSINDEX, "core");
    lua_newtable(L);
    lua_pushvalue(L, -1);
    lua_setfield(L, LUA_GLOBALSINDEX, "state");

    setHandleFunction(L, this, "pause", guarded<scriptPause>);
    setHandleFunction(L, this, "wait", guarded<scriptWait>);
    setEngineFunction(L, this, "newObject", guarded<scriptNewObject>);
    setEngineFunction(L, this, "deleteObject", guarded<scriptDeleteObject>);
    setEngineFunction(L, this, "getKey", guarded<scriptGetKey>);
    setEngineFunction(L, this, "setKey", guarded<scriptSetKey>);
    for (const auto& [name, function] : functions) {
        lua_pushlightuserdata(L, this);
        lua_pushcfunction(L, function);
        lua_pushcclosure(L, guardedHostFunction, 2);
        lua_setfield(L, LUA_GLOBALSINDEX, name.c_str());
    }
    // `state` falls back on the library table and becomes the main thread's
    // global table: globals read there look in `state` first, globals written land in it.
    lua_newtable(L);
    lua_pushvalue(L, LUA_GLOBALSINDEX);
    lua_setfield(L, -2, "__index");
    lua_setmetatable(L, -2);
    lua_pushthread(L);
    lua_insert(L, -2);
    lua_setfenv(L, -2);
    lua_pop(L, 1);

    objectIndex.reserve(1000);
}
