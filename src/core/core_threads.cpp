// Core: script threads. A thread runs its object's script in an environment of
// its own, then calls the named start function with the object's identifier.
//
// Any allocation may run the collector and with it a script's finalizer, which
// may fail. So the host's own sequences of script calls run as protected calls
// (a failure there is reported like any script error), and only calls that
// make no script value run outside them.
#include "core/busy_scope.h"
#include "core/core.h"
#include "core/lock.h"
#include "core/object.h"
#include "core/script_error.h"
#include "core/script_scope.h"
#include "core/shared_chunk.h"
#include "log/log.h"

namespace {

// What the protected steps of createThread share with the host.
struct ThreadRequest {
    const char* script;
    const char* functionName;
    lua_State* thread = nullptr;
    int reference = LUA_NOREF;
};

// Step two, on the new thread, with the environment, its metatable and `state`
// as arguments (the request last): runs the script's main chunk and gives the
// start function, or nothing.
int prepareStart(lua_State* thread) {
    const ThreadRequest& request = *static_cast<const ThreadRequest*>(lua_touserdata(thread, 4));
    int status = luaL_loadfile(thread, request.script);
    if (status == 0) {
        shared_chunk::share(thread, request.script);
        status = lua_pcall(thread, 0, 0, 0);
    }
    if (status != 0) {
        return lua_error(thread);  // the chunk's own error value goes on
    }
    // Only a function the script itself defined is a start function: look in the
    // thread's own environment, raw, so no script metamethod runs.
    lua_pushstring(thread, request.functionName);
    lua_rawget(thread, 1);
    if (lua_type(thread, -1) != LUA_TFUNCTION) {
        return 0;
    }
    // From now on, new globals assigned by the running script land in `state`.
    lua_pushstring(thread, "__newindex");
    lua_pushvalue(thread, 3);
    lua_rawset(thread, 2);
    return 1;
}

// Step one, on the main state: the thread, its environment (an empty table
// that falls back on the globals the thread starts with: `state`, then the
// library table) and its registry reference. Leaves step two ready on the
// thread's stack.
int makeThread(lua_State* L) {
    ThreadRequest& request = *static_cast<ThreadRequest*>(lua_touserdata(L, 1));
    lua_State* thread = lua_newthread(L);
    lua_pushcfunction(L, prepareStart);
    lua_newtable(L);
    lua_newtable(L);
    lua_getfenv(L, -4);
    lua_setfield(L, -2, "__index");
    lua_pushvalue(L, -1);
    lua_setmetatable(L, -3);
    lua_pushvalue(L, -2);
    lua_setfenv(L, -5);
    lua_pushvalue(L, LUA_GLOBALSINDEX);
    lua_xmove(L, thread, 4);
    request.reference = luaL_ref(L, LUA_REGISTRYINDEX);
    request.thread = thread;
    return 0;
}

}  // namespace

lua_State* Core::createThread(Object* object, const std::string& functionName) {
    if (object->script.empty() || luaState == nullptr) {
        return nullptr;
    }
    // The script's main chunk may delete the object; keep what is needed of it,
    // and keep it alive until the caller has returned.
    BusyScope busy(*this);
    ScriptScope scripts(*this);
    const std::int32_t id = object->id;
    const std::string script = object->script;
    lua_State* L = luaState;

    lua_checkstack(L, lua_gettop(L) + 1);
    ThreadRequest request{script.c_str(), functionName.c_str()};
    if (lua_cpcall(L, makeThread, &request) != 0) {
        const ScriptFailure failure(L, -1, fatalRaised);
        lua_pop(L, 1);
        failure.report();
    }
    // A finalizer that ran meanwhile may have met a fatal error and swallowed it.
    if (fatalRaised && request.reference != LUA_NOREF) {
        luaL_unref(L, LUA_REGISTRYINDEX, request.reference);
    }
    throwIfFatal();
    lua_State* thread = request.thread;
    if (thread == nullptr) {
        Log::error("Failed to create new lua thread.");
    }
    // A thread that a script let the collector take may have lain here: what
    // still names it names this one no more.
    if (threads.count(thread) != 0) {
        forgetThread(thread);
    }
    threads[thread] = request.reference;

    lua_pushlightuserdata(thread, &request);
    if (lua_pcall(thread, 4, 1, 0) != 0) {
        const ScriptFailure failure(thread, -1, fatalRaised);
        lua_settop(thread, 0);
        dropThread(thread);
        failure.report();
    }
    if (fatalRaised) {
        lua_settop(thread, 0);
        dropThread(thread);
        throw Log::Fatal{};
    }
    if (lua_type(thread, -1) != LUA_TFUNCTION) {
        lua_settop(thread, 0);
        dropThread(thread);
        return nullptr;
    }
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
    int& referenceSlot;
    lua_State* saved;
    int savedReference;
    RunningThread(lua_State*& s, int& r, lua_State* thread, int reference)
        : slot(s), referenceSlot(r), saved(s), savedReference(r) {
        slot = thread;
        referenceSlot = reference;
    }
    ~RunningThread() {
        slot = saved;
        referenceSlot = savedReference;
    }
};
}  // namespace

bool Core::anchorThread(lua_State* thread, int& reference) {
    if (luaState == nullptr) {
        return false;
    }
    lua_State* L = luaState;
    lua_checkstack(L, 1);
    // A registry slot that still holds the thread is the one `threads` names
    // for it: the core fills its slots only with new threads, and a slot that
    // a thread left (it ended, or was forgotten) gets a new one or none. So a
    // reference that checks out spares the search of `threads`.
    if (reference > 0) {
        lua_rawgeti(L, LUA_REGISTRYINDEX, reference);
        if (lua_tothread(L, -1) == thread) {
            return true;
        }
        lua_pop(L, 1);
    }
    const auto entry = threads.find(thread);
    if (entry == threads.end()) {
        return false;
    }
    reference = entry->second;
    lua_rawgeti(L, LUA_REGISTRYINDEX, reference);
    if (lua_tothread(L, -1) != thread) {
        lua_pop(L, 1);
        forgetThread(thread);
        return false;
    }
    return true;
}

void Core::unanchorThread(lua_State* thread, int anchor) {
    lua_State* L = luaState;
    if (L != nullptr && lua_gettop(L) >= anchor && lua_tothread(L, anchor) == thread) {
        lua_remove(L, anchor);
    }
}

void Core::runThread(lua_State* thread, int argumentCount) {
    int reference = LUA_NOREF;
    if (anchorThread(thread, reference)) {
        runAnchoredThread(thread, argumentCount, reference);
    }
}

void Core::resumeWaitingThread(lua_State* thread, int reference) {
    if (!anchorThread(thread, reference)) {
        return;
    }
    if (lua_status(thread) != LUA_YIELD) {
        // Another script resumed it with coroutine.resume and it has ended (or
        // is running): lua_resume must not restart it; the host forgets it.
        unanchorThread(thread, lua_gettop(luaState));
        finishResume(thread, 0);
        return;
    }
    runAnchoredThread(thread, 0, reference);
}

void Core::runAnchoredThread(lua_State* thread, int argumentCount, int reference) {
    // While it runs, the thread is also held on the main state's stack, which
    // no script can reach: a script that drops its registry reference and runs
    // the collector cannot free the thread under itself.
    const int anchor = lua_gettop(luaState);
    BusyScope busy(*this);
    ScriptScope scripts(*this);
    int result;
    {
        RunningThread running(runningThread, runningReference, thread, reference);
        result = lua_resume(thread, argumentCount);
    }
    unanchorThread(thread, anchor);
    if (fatalRaised) {
        // The scripts were stopped: the thread did not get to end or wait of
        // its own accord, and the report has been made.
        dropThread(thread);
        throw Log::Fatal{};
    }
    finishResume(thread, result);
}

void Core::finishResume(lua_State* thread, int result) {
    if (result == LUA_YIELD) {
        return;
    }
    if (result == 0) {
        dropThread(thread);
        checkObjectBookkeeping(nullptr);
        return;
    }
    const ScriptFailure failure(thread, -1, fatalRaised);
    dropThread(thread);
    failure.report();
}

void Core::dropThread(lua_State* thread) {
    const auto entry = threads.find(thread);
    if (entry == threads.end()) {
        return;
    }
    luaL_unref(luaState, LUA_REGISTRYINDEX, entry->second);
    threads.erase(entry);
}

void Core::forgetThread(lua_State* thread) {
    threads.erase(thread);
    for (Lock* lock : locks) {
        if (lock->thread == thread) {
            lock->thread = nullptr;
            lock->threadReference = LUA_NOREF;
        }
    }
    checkObjectBookkeeping(nullptr);
}
