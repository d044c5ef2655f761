#pragma once
// A script-level wait point: an object, an event identifier (0 = the object's
// pause countdown) and at most one script thread waiting on it.
#include <cstdint>

#include <lua.hpp>

class Object;

class Lock {
public:
    Lock(Object* object, std::int32_t eventId) : object(object), eventId(eventId) {}

    bool matches(const Object* other, std::int32_t otherEventId) const {
        return object == other && eventId == otherEventId;
    }

    // Records the waiting thread and yields it with no values; the result is
    // what the calling script function must return.
    int suspend(lua_State* waiting);

    // Resumes the waiting thread, if any. The lock must already have left the
    // core's list; it is not touched once the thread runs, so the core may
    // reuse it meanwhile.
    void release();

    Object* object;
    std::int32_t eventId;
    lua_State* thread = nullptr;
    // The registry reference under which the core held `thread` when it
    // suspended here (LUA_NOREF when unknown). Only a hint for finding the
    // thread again without searching the core's table: checked before use.
    int threadReference = LUA_NOREF;
};
