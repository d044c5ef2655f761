#pragma once
// The text of a script error value: strings and numbers as they are, anything
// else (a table raised with `error`, for instance) named by its type.
#include <string>

#include <lua.hpp>

inline std::string scriptErrorText(lua_State* thread, int index) {
    const int type = lua_type(thread, index);
    if (type == LUA_TSTRING || type == LUA_TNUMBER) {
        std::size_t length = 0;
        const char* text = lua_tolstring(thread, index, &length);
        return std::string(text, length);
    }
    return std::string("(error object is a ") + lua_typename(thread, type) + " value)";
}
