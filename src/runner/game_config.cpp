#include "runner/game_config.h"

#include <lua.hpp>

namespace runner {

namespace {

struct Request {
    const char* path;
    GameConfig* config;
    std::string* problem;
};

bool readString(lua_State* L, const char* name, std::string& out, std::string& problem) {
    lua_getfield(L, -1, name);
    const int type = lua_type(L, -1);
    if (type == LUA_TSTRING) {
        out = lua_tostring(L, -1);
    } else if (type != LUA_TNIL) {
        problem = std::string("conf.lua: '") + name + "' must be a string";
    }
    lua_pop(L, 1);
    return problem.empty();
}

bool readSize(lua_State* L, const char* name, int& out, std::string& problem) {
    lua_getfield(L, -1, name);
    const int type = lua_type(L, -1);
    if (type == LUA_TNUMBER && lua_tonumber(L, -1) >= 1 && lua_tonumber(L, -1) <= 16384) {
        out = static_cast<int>(lua_tonumber(L, -1));
    } else if (type != LUA_TNIL) {
        problem = std::string("conf.lua: '") + name + "' must be a number from 1 to 16384";
    }
    lua_pop(L, 1);
    return problem.empty();
}

bool readFlag(lua_State* L, const char* name, bool& out, std::string& problem) {
    lua_getfield(L, -1, name);
    const int type = lua_type(L, -1);
    if (type == LUA_TBOOLEAN) {
        out = lua_toboolean(L, -1) != 0;
    } else if (type != LUA_TNIL) {
        problem = std::string("conf.lua: '") + name + "' must be true or false";
    }
    lua_pop(L, 1);
    return problem.empty();
}

// Runs the file in an empty environment with no library, so that it can only
// assign values, then reads them.
int runConfig(lua_State* L) {
    Request& request = *static_cast<Request*>(lua_touserdata(L, 1));
    if (luaL_loadfile(L, request.path) != 0) {
        return lua_error(L);
    }
    lua_newtable(L);
    lua_pushvalue(L, -1);
    lua_setfenv(L, -3);
    lua_insert(L, -2);
    lua_call(L, 0, 0);
    GameConfig& config = *request.config;
    std::string& problem = *request.problem;
    readString(L, "title", config.title, problem) && readSize(L, "width", config.width, problem) &&
        readSize(L, "height", config.height, problem) &&
        readFlag(L, "fullscreen", config.fullscreen, problem) &&
        readString(L, "identity", config.identity, problem);
    return 0;
}

}  // namespace

bool readGameConfig(const std::string& path, GameConfig& config, std::string& problem) {
    lua_State* L = luaL_newstate();
    if (L == nullptr) {
        problem = "conf.lua: out of memory";
        return false;
    }
    problem.clear();
    Request request{path.c_str(), &config, &problem};
    if (lua_cpcall(L, runConfig, &request) != 0) {
        const char* message = lua_tostring(L, -1);
        problem = message != nullptr ? message : "conf.lua failed";
    }
    lua_close(L);
    return problem.empty();
}

}  // namespace runner
