#pragma once
// One compiled copy of each script file for all the objects that run it.
//
// Every object's thread loads its script file itself, and would get its own
// copy of every function prototype in it: thousands of objects running one
// script would each run code and constants of their own, scattered over the
// heap. Here the freshly loaded main chunk is compared, byte for byte in its
// compiled form, with the one kept for the same file; when they agree, the
// object gets a new main function made from the kept prototypes instead.
// Every object still gets a main function (and so functions) of its own, in
// its own environment: only the prototypes behind them are shared, which no
// script sees. A file changed on disk compiles differently and replaces the
// kept copy.
#include <lua.hpp>

namespace shared_chunk {

// Replaces the main chunk on top of the stack, just loaded from the script file
// `path`, with an equal function made from the kept prototypes of that file,
// and keeps it for the next object when there is none or it differs. The
// function keeps the environment of the one it replaces. Raises script errors
// only when memory runs out.
void share(lua_State* L, const char* path);

}  // namespace shared_chunk
