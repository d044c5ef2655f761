// Core: script threads. A thread runs its object's script in an environment of
// its own, then calls the named start function with the object's identifier.
#include "core/busy_scope.h"
#include "core/core.h"
#include "core/object.h"
#include "core/script_error.h"
#include "log/log.h"

lua_State* Core::createThread(Object* object, const std::string& functionName) {
    if (object->script.empty() || luaState == nullptr) {
        return nullptr;
    }
    // The script's main chunk may delete the object; keep what is needed of it,
    // and keep it alive until the caller has returned.
    BusyScope busy(*this);
    const std::int32_t id = object->id;
    const std::string script = object->script;
    lua_State* L = luaState;

    lua_checkstack(L, lua_gettop(L) + 1);
    lua_State* thread = lua_newthread(L);
    if (thread == nullptr) {
        Log::error("Failed to create new lua thread.");
    }
    // The environment: an empty table that falls back on the globals the thread
    // starts with (`state`, then the library table).
    lua_newtable(L);
    lua_newtable(L);
    lua_getfenv(L, -3);
    lua_setfield(L, -2, "__index");
    lua_pushvalue(L, -1);
    lua_setmetatable(L, -3);
    lua_pushvalue(L, -2);
    lua_setfenv(L, -4);
    // Keep the environment and its metatable on the thread for step 8.
    lua_xmove(L, thread, 2);
    threads[thread] = luaL_ref(L, LUA_REGISTRYINDEX);

    int status = luaL_loadfile(thread, script.c_str());
    if (status == 0) {
        status = lua_pcall(thread, 0, 0, 0);
    }
    if (status != 0) {
        const std::string message = scriptErrorText(thread, -1);
        dropThread(thread);
        Log::error(message);
    }

    // Only a function the script itself defined is a start function: look in the
    // thread's own environment, raw, so no script metamethod runs outside a
    // protected call.
    lua_pushstring(thread, functionName.c_str());
    lua_rawget(thread, 1);
    if (lua_type(thread, -1) != LUA_TFUNCTION) {
        lua_settop(thread, 0);
        dropThread(thread);
        return nullptr;
    }
    // From now on, new globals assigned by the running script land in `state`.
    lua_pushstring(thread, "__newindex");
    lua_pushvalue(L, LUA_GLOBALSINDEX);
    lua_xmove(L, thread, 1);
    lua_rawset(thread, 2);
    lua_remove(thread, 1);
    lua_remove(thread, 1);
    lua_pushnumber(thread, id);
    return thread;
}

void Core::resumeThread(Object* /*object*/, lua_State* thread, int argumentCount) {
    runThread(thread, argumentCount + 1);
}

bool Core::startThread(Object* object, const std::string& functionName) {
    lua_State* thread = createThread(object, functionName);
    if (thread == nullptr) {
        return false;
    }
    resumeThread(object, thread, 0);
    return true;
}

namespace {
struct RunningThread {
    lua_State*& slot;
    lua_State* saved;
    RunningThread(lua_State*& s, lua_State* thread) : slot(s), saved(s) { slot = thread; }
    ~RunningThread() { slot = saved; }
};
}  // namespace

void Core::runThread(lua_State* thread, int argumentCount) {
    BusyScope busy(*this);
    int result;
    {
        RunningThread running(runningThread, thread);
        result = lua_resume(thread, argumentCount);
    }
    finishResume(thread, result);
}

void Core::finishResume(lua_State* thread, int result) {
    if (result == LUA_YIELD) {
        return;
    }
    if (result == 0) {
        dropThread(thread);
        return;
    }
    const std::string message = scriptErrorText(thread, -1);
    dropThread(thread);
    if (pendingFatal) {
        // The host error behind this failure has shown its report already.
        pendingFatal = false;
        throw Log::Fatal{};
    }
    Log::error(message);
}

void Core::dropThread(lua_State* thread) {
    const auto entry = threads.find(thread);
    if (entry == threads.end()) {
        return;
    }
    luaL_unref(luaState, LUA_REGISTRYINDEX, entry->second);
    threads.erase(entry);
}
