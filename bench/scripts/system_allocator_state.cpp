// The script state as it is made without the script heap: luaL_newstate, with
// the system allocator. Linked into a benchmark program ahead of the engine
// library, these two functions stand in for the heap's, and the heap's object
// file is never taken from the library.
#include "core/script_heap.h"

lua_State* ScriptHeap::newState() { return luaL_newstate(); }

void ScriptHeap::closeState(lua_State* L) { lua_close(L); }
