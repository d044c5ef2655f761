#pragma once
// Script error values and how the host reports them.
#include <cstdio>
#include <string>

#include <lua.hpp>

#include "log/log.h"

// The error value that carries a fatal host error (already reported at the
// error level) from an engine function up through the script frames to the
// host. The scripts are stopped meanwhile (fatal_stop.h), so none of them can
// keep it: the host tells it by the core's flag, and the value alone (should
// it ever reach the host without the flag) is an ordinary error.
inline char fatalErrorMark;

inline void pushFatalError(lua_State* state) { lua_pushlightuserdata(state, &fatalErrorMark); }

// The text of a script error value: strings and numbers as they are, anything
// else (a table raised with `error`, for instance) named by its type. Makes no
// script value, so it cannot run the collector (and with it a finalizer).
inline std::string scriptErrorText(lua_State* thread, int index) {
    const int type = lua_type(thread, index);
    if (type == LUA_TSTRING) {
        std::size_t length = 0;
        const char* text = lua_tolstring(thread, index, &length);
        return std::string(text, length);
    }
    if (type == LUA_TNUMBER) {
        char text[64];
        std::snprintf(text, sizeof text, LUA_NUMBER_FMT, lua_tonumber(thread, index));
        return text;
    }
    return std::string("(error object is a ") + lua_typename(thread, type) + " value)";
}

// A script failure taken from the stack, so that the host can clean up (drop
// the thread, pop the value) before it reports. `fatalRaised`: the core's
// flag, set when a fatal error was reported while the scripts ran.
class ScriptFailure {
public:
    ScriptFailure(lua_State* state, int index, bool fatalRaised)
        : fatal(fatalRaised), text(fatal ? std::string() : scriptErrorText(state, index)) {}

    // Reports the failure at the error level; a fatal host error has shown its
    // report already and only goes on ending the program.
    [[noreturn]] void report() const {
        if (fatal) {
            throw Log::Fatal{};
        }
        Log::error(text);
    }

private:
    bool fatal;
    std::string text;
};
