#include "core/fatal_stop.h"

#include <algorithm>
#include <vector>

#include "core/core.h"
#include "core/script_error.h"

namespace fatal_stop {

namespace {

// The library's own C functions, the same for every state of the process.
lua_CFunction libraryResume = nullptr;
lua_CFunction libraryWrapped = nullptr;  // what coroutine.wrap returns
lua_CFunction libraryXpcall = nullptr;

// The registry keys under which a state keeps its core, for the hook, and the
// handler that replaces a script's own (made in advance: stopping makes no
// value, so that it cannot fail for want of memory).
char coreKey;
char handlerKey;

Core* coreOfState(lua_State* state) {
    lua_pushlightuserdata(state, &coreKey);
    lua_rawget(state, LUA_REGISTRYINDEX);
    Core* core = static_cast<Core*>(lua_touserdata(state, -1));
    lua_pop(state, 1);
    return core;
}

// Before each instruction of a stopped thread. A thread still hooked after
// the host received the error (it was suspended meanwhile) frees itself.
void stopHook(lua_State* thread, lua_Debug*) {
    const Core* core = coreOfState(thread);
    if (core == nullptr || !core->isFatalErrorRaised()) {
        lua_sethook(thread, nullptr, 0, 0);
        return;
    }
    pushFatalError(thread);
    lua_error(thread);
}

// The message handler that replaces a script's own in a running xpcall.
int passFatalError(lua_State* thread) {
    lua_settop(thread, 0);
    pushFatalError(thread);
    return 1;
}

// Hooks the thread and, through the frames that resume another thread
// (coroutine.resume, a function made by coroutine.wrap), every thread that it
// is running in turn.
void stopThread(lua_State* thread, std::vector<lua_State*>& stopped) {
    if (thread == nullptr || std::find(stopped.begin(), stopped.end(), thread) != stopped.end()) {
        return;
    }
    stopped.push_back(thread);
    lua_sethook(thread, stopHook, LUA_MASKCOUNT, 1);
    lua_Debug frame;
    for (int level = 0; lua_getstack(thread, level, &frame) != 0; ++level) {
        if (lua_checkstack(thread, 2) == 0) {
            return;
        }
        lua_getinfo(thread, "f", &frame);
        const lua_CFunction function = lua_tocfunction(thread, -1);
        lua_State* resumed = nullptr;
        if (function == libraryXpcall && function != nullptr) {
            // xpcall keeps its handler in its first stack slot.
            lua_pushlightuserdata(thread, &handlerKey);
            lua_rawget(thread, LUA_REGISTRYINDEX);
            if (lua_setlocal(thread, &frame, 1) == nullptr) {
                lua_pop(thread, 1);
            }
        } else if (function == libraryResume && function != nullptr) {
            if (lua_getlocal(thread, &frame, 1) != nullptr) {
                resumed = lua_tothread(thread, -1);
                lua_pop(thread, 1);
            }
        } else if (function == libraryWrapped && function != nullptr) {
            if (lua_getupvalue(thread, -1, 1) != nullptr) {
                resumed = lua_tothread(thread, -1);
                lua_pop(thread, 1);
            }
        }
        lua_pop(thread, 1);
        stopThread(resumed, stopped);
    }
}

}  // namespace

void prepare(lua_State* state, Core* core) {
    lua_pushlightuserdata(state, &coreKey);
    lua_pushlightuserdata(state, core);
    lua_rawset(state, LUA_REGISTRYINDEX);
    lua_pushlightuserdata(state, &handlerKey);
    lua_pushcfunction(state, passFatalError);
    lua_rawset(state, LUA_REGISTRYINDEX);
    lua_getfield(state, LUA_GLOBALSINDEX, "xpcall");
    libraryXpcall = lua_tocfunction(state, -1);
    lua_getfield(state, LUA_GLOBALSINDEX, "coroutine");
    lua_getfield(state, -1, "resume");
    libraryResume = lua_tocfunction(state, -1);
    lua_getfield(state, -2, "wrap");
    luaL_loadstring(state, "");  // coroutine.wrap takes only a Lua function
    lua_call(state, 1, 1);
    libraryWrapped = lua_tocfunction(state, -1);
    lua_pop(state, 4);
}

void stopScripts(Core& core, lua_State* calling) {
    lua_State* main = core.getLuaState();
    // Values made from here on must not run the collector, and with it a
    // finalizer, which would run with no hook.
    if (main != nullptr) {
        lua_gc(main, LUA_GCSTOP, 0);
    }
    std::vector<lua_State*> stopped;
    stopThread(calling, stopped);
    stopThread(core.getRunningThread(), stopped);
    stopThread(main, stopped);
    if (main == nullptr || lua_checkstack(main, 1) == 0) {
        return;
    }
    // A script may have dropped a thread's registry reference (through the
    // debug library) and let the collector free it: only a thread that its
    // reference still holds is touched.
    for (const auto& [thread, reference] : core.getThreads()) {
        lua_rawgeti(main, LUA_REGISTRYINDEX, reference);
        if (lua_tothread(main, -1) == thread) {
            stopThread(thread, stopped);
        }
        lua_pop(main, 1);
    }
}

}  // namespace fatal_stop
