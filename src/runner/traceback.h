#pragma once
// The call stack of a script thread as text, in the form of Lua's own
// debug.traceback. Works on a running thread and on one that has just failed:
// Lua 5.1 leaves a failed coroutine's frames in place.
#include <string>

#include <lua.hpp>

namespace runner {

// "stack traceback:\n\tmain.lua:12: in function 'step'\n..."; empty when the
// thread has no frames. Makes no script value, so it can run at any moment.
std::string tracebackOf(lua_State* thread);

}  // namespace runner
