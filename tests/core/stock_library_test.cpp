// Scripts see the library as stock Lua 5.1 gives it: the same script file,
// run as a start function by the engine and by a plain Lua host, reports the
// same (messages with their positions, how deep resumes nest, what a load
// reader's error and an xpcall handler see).
#include <gtest/gtest.h>

#include <string>

#include "script_fixture.h"

namespace {

// What both hosts run: `run` gathers one line per case, `start` hands the
// lines to the host through setKey.
const char* const COMPARED_SCRIPT = R"(
local lines = {}
local function add(...)
  local parts = {}
  for i = 1, select('#', ...) do parts[#parts + 1] = tostring((select(i, ...))) end
  lines[#lines + 1] = table.concat(parts, ' ')
end
local function depth(n)
  local co = coroutine.create(function() return depth(n + 1) end)
  local ok, result = coroutine.resume(co)
  if ok then return result end
  return n
end
local function handlerDepth()
  local n = 0
  while debug.getinfo(n + 1, 'l') do n = n + 1 end
  return n
end
local function fail() error('failed') end

function run()
  add(pcall(function() coroutine.resume(1) end))
  add(pcall(function() return load(1) end))
  add(pcall(function() coroutine.wrap(1) end))
  add(pcall(function() return xpcall(fail) end))
  add(pcall(function() return loadstring() end))
  add(depth(1))
  add(load(function() error('reader failed') end))
  add(load(function() return {} end))
  add(xpcall(fail, handlerDepth))
  add(xpcall(fail, function() return debug.getinfo(2, 'S').what end))
  add(xpcall(fail, setmetatable({}, {__call = function() return 'called' end})))
  add(select('#', pcall(error)))
  add(coroutine.wrap(function(...) return select('#', ...) end)(1, nil, 3))
  add(pcall(coroutine.wrap(fail)))
  add(coroutine.resume(coroutine.create(fail)))
  return table.concat(lines, '\n')
end

function start(id) setKey(id, 'out', run()) end
)";

std::string stockOutput;

int stockSetKey(lua_State* L) {
    stockOutput = lua_tostring(L, 3);
    return 0;
}

// Runs the file's start function in a thread of a plain Lua state, as the
// engine does: main chunk, then a resume with the identifier.
std::string runUnderStockLua(const std::string& path) {
    stockOutput = "(start did not run)";
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    lua_register(L, "setKey", stockSetKey);
    lua_State* thread = lua_newthread(L);
    if (luaL_loadfile(thread, path.c_str()) != 0 || lua_pcall(thread, 0, 0, 0) != 0) {
        stockOutput = lua_tostring(thread, -1);
    } else {
        lua_getfield(thread, LUA_GLOBALSINDEX, "start");
        lua_pushnumber(thread, 1);
        if (lua_resume(thread, 1) != 0) {
            stockOutput = lua_tostring(thread, -1);
        }
    }
    lua_close(L);
    return stockOutput;
}

class StockLibrary : public ScriptTest {};

TEST_F(StockLibrary, AnOrdinaryScriptSeesWhatAPlainLuaHostGivesIt) {
    const std::string path = writeScript("compared.lua", COMPARED_SCRIPT);
    const std::string expected = runUnderStockLua(path);
    Object* object = core.createObject(0, path);
    ASSERT_TRUE(object->startThread("start"));
    EXPECT_EQ(object->getString("out"), expected);
    // The cases ran, with the stock messages and positions.
    EXPECT_NE(expected.find("compared.lua:22: bad argument #1 to 'resume'"), std::string::npos)
        << expected;
    EXPECT_NE(expected.find("error in error handling"), std::string::npos) << expected;
}

}  // namespace
