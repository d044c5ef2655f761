#pragma once
// Marks a host call into the script state (a thread run, a chunk run, the state
// closed), so that nothing closes the state under it. The outermost one starts
// with no fatal error in flight: the host has received the last one (and, in a
// host that carries on, swallowed it), so there is no more script to stop.
#include "core/core.h"

class ScriptScope {
public:
    explicit ScriptScope(Core& core) : core(core) {
        if (core.scriptDepth++ == 0) {
            core.clearFatalError();
        }
    }
    ~ScriptScope() { --core.scriptDepth; }
    ScriptScope(const ScriptScope&) = delete;
    ScriptScope& operator=(const ScriptScope&) = delete;

private:
    Core& core;
};
