#pragma once
// Once a fatal error has been reported, no script code may run: the scripts
// get the library's own pcall, xpcall, coroutine.resume and load, which catch
// any error, so the engine stops the scripts where they run instead. Every
// thread that is running (the one that met the error and those that resumed
// it, up to the host) gets a hook that raises the fatal error value again
// before each of its instructions; the message handler of every xpcall in
// them is replaced by one that passes the value on; the collector stops, so
// that no finalizer runs. The value thus travels up to the host, which ends
// the program.
#include <lua.hpp>

class Core;

namespace fatal_stop {

// Learns the library's functions that resume threads or install a message
// handler, and tells the state's hook which core it serves. Run on every new
// state, before scripts can replace the library's names.
void prepare(lua_State* state, Core* core);

// Stops every running script of the core's state; `calling` is the thread on
// which the fatal error is being raised. The core's fatal flag must be set.
void stopScripts(Core& core, lua_State* calling);

}  // namespace fatal_stop
