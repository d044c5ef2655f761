// The script state after a reset and the engine's six script functions.
#include <limits>

#include "core/key_type.h"
#include "core/lock.h"
#include "log/log.h"
#include "script_fixture.h"

namespace {

int registeredCalls = 0;
int countCalls(lua_State* L) {
    ++registeredCalls;
    lua_pushnumber(L, 42);
    return 1;
}

Object* makeNothing(std::int32_t) { return nullptr; }

using ScriptLibrary = ScriptTest;

TEST_F(ScriptLibrary, ResetMakesStateTheMainGlobalTable) {
    runMain(
        "x = 5; stateIsTable = type(state) == 'table'; "
        "ownState = rawget(state, 'state'); sameX = state.x");
    EXPECT_EQ(mainNumber("x"), 5);
    EXPECT_EQ(mainNumber("sameX"), 5);
    lua_State* L = core.getLuaState();
    lua_getfield(L, LUA_GLOBALSINDEX, "stateIsTable");
    EXPECT_TRUE(lua_toboolean(L, -1));
    lua_getfield(L, LUA_GLOBALSINDEX, "ownState");
    EXPECT_TRUE(lua_isnil(L, -1));  // `state` is found in the library table, not in itself
    lua_getfield(L, LUA_GLOBALSINDEX, "core");
    EXPECT_EQ(lua_touserdata(L, -1), &core);
    lua_pop(L, 3);
    for (const char* name :
         {"pause", "wait", "newObject", "deleteObject", "getKey", "setKey", "print", "string"}) {
        lua_getfield(L, LUA_GLOBALSINDEX, name);
        EXPECT_FALSE(lua_isnil(L, -1)) << name;
        lua_pop(L, 1);
    }
}

TEST_F(ScriptLibrary, ResetDiscardsEverything) {
    Object* object = scripted("function start(id) wait(pause(id, 1)) end");
    ASSERT_TRUE(object->startThread("start"));
    runMain("shared = 1");
    ASSERT_EQ(core.getThreads().size(), 1u);
    core.reset();
    EXPECT_TRUE(core.getObjects().empty());
    EXPECT_TRUE(core.getLocks().empty());
    EXPECT_TRUE(core.getThreads().empty());
    EXPECT_EQ(core.getNextObjectId(), 1);
    EXPECT_EQ(mainNumber("shared"), 0);
    EXPECT_EQ(core.createObject(0, "")->getId(), 1);
}

TEST_F(ScriptLibrary, RegisteredFunctionsArriveAtTheNextReset) {
    core.registerFunction("answer", countCalls);
    core.registerFunction("getKey", countCalls);  // replaces the engine function
    registeredCalls = 0;
    runMain("before = answer == nil and 1 or 0");
    EXPECT_EQ(mainNumber("before"), 1);
    core.reset();
    runMain("a = answer(); b = getKey(1, 'x')");
    EXPECT_EQ(registeredCalls, 2);
    EXPECT_EQ(mainNumber("a"), 42);
    EXPECT_EQ(mainNumber("b"), 42);
}

TEST_F(ScriptLibrary, NewObjectHandsOutIdentifiers) {
    Core empty(makeNothing, nullptr);
    empty.reset();
    lua_State* L = empty.getLuaState();
    ASSERT_EQ(luaL_dostring(L,
                            "a = newObject(0, 'a.lua'); b = newObject(0, 12); "
                            "c = newObject(5, 'c.lua'); d = newObject(0, {})"),
              0);
    for (const auto& [name, id] :
         std::vector<std::pair<const char*, double>>{{"a", 1}, {"b", 2}, {"c", 0}, {"d", 3}}) {
        lua_getfield(L, LUA_GLOBALSINDEX, name);
        EXPECT_EQ(lua_tonumber(L, -1), id) << name;
        lua_pop(L, 1);
    }
    ASSERT_EQ(empty.getObjects().size(), 3u);
    EXPECT_EQ(empty.findObject(2)->getScript(), "12");  // a number is taken as its text
    EXPECT_EQ(empty.findObject(3)->getScript(), "");
    EXPECT_EQ(empty.getNextObjectId(), 4);
}

TEST_F(ScriptLibrary, DeleteObjectReportsWhetherItExisted) {
    core.createObject(0, "");
    runMain(
        "first = deleteObject(1); again = deleteObject(1); never = deleteObject(99); "
        "junk = deleteObject('x')");
    lua_State* L = core.getLuaState();
    for (const auto& [name, expected] : std::vector<std::pair<const char*, bool>>{
             {"first", true}, {"again", false}, {"never", false}, {"junk", false}}) {
        lua_getfield(L, LUA_GLOBALSINDEX, name);
        EXPECT_TRUE(lua_isboolean(L, -1)) << name;
        EXPECT_EQ(lua_toboolean(L, -1) != 0, expected) << name;
        lua_pop(L, 1);
    }
    EXPECT_TRUE(core.getObjects().empty());
}

TEST_F(ScriptLibrary, PauseMakesOneLockAndAHandle) {
    Object* object = core.createObject(0, "");
    runMain("h1 = pause(1, 0.5); h2 = pause(1.9, 0.25); oid = h1.oid; eid = h1.eid");
    EXPECT_EQ(mainNumber("oid"), 1);
    EXPECT_EQ(mainNumber("eid"), 0);
    EXPECT_FLOAT_EQ(object->getWaitTime(), 0.25f);
    EXPECT_EQ(core.getLocks().size(), 1u);
    EXPECT_NE(core.findLock(object, 0), nullptr);
    runMain("pause(1, 1e300)");
    EXPECT_EQ(object->getWaitTime(), std::numeric_limits<float>::max());
    runMain("huge = pause(1e300, 1).oid");
    EXPECT_EQ(mainNumber("huge"), 0);
    // No such object: a handle that names none, and no lock.
    runMain("h3 = pause(77, 1); missing = h3.oid");
    EXPECT_EQ(mainNumber("missing"), 77);
    EXPECT_EQ(core.getLocks().size(), 1u);
}

TEST_F(ScriptLibrary, HandleHoldsExactlyItsTwoFieldsAndWaitReadsThemAsAnyFieldRead) {
    core.createObject(0, "");
    runMain("h = pause(1, 0.5); n = 0; for k, v in pairs(h) do n = n + 1 end");
    EXPECT_EQ(mainNumber("n"), 2);
    // A handle made by the script, read through its metatable.
    Object* object = scripted(
        "function start(id)\n"
        "  pause(id, 0.05)\n"
        "  local fields = {oid = id, eid = 0}\n"
        "  wait(setmetatable({}, {__index = function(t, k) return fields[k] end}))\n"
        "  setKey(id, 'resumed', true)\n"
        "end\n");
    ASSERT_TRUE(object->startThread("start"));
    EXPECT_EQ(core.findLock(object, 0)->thread, core.getThreads().begin()->first);
    frames(3, 0.02f);
    EXPECT_TRUE(object->getBool("resumed"));
    // No handle, or one that is no table: the error of reading a field of it.
    Object* bare = scripted("function start(id) wait() end");
    EXPECT_THROW(bare->startThread("start"), Log::Fatal);
    EXPECT_NE(lastBox().find("attempt to index a nil value"), std::string::npos) << lastBox();
    Object* number = scripted("function start(id) wait(5) end");
    EXPECT_THROW(number->startThread("start"), Log::Fatal);
    EXPECT_NE(lastBox().find("attempt to index a number value"), std::string::npos) << lastBox();
}

TEST_F(ScriptLibrary, LookupFollowsDeletedAndRenamedObjects) {
    Object* first = core.createObject(0, "");
    Object* second = core.createObject(0, "");
    EXPECT_EQ(core.findObject(1), first);
    first->setId(5);
    EXPECT_EQ(core.findObject(1), nullptr);
    EXPECT_EQ(core.findObject(5), first);
    EXPECT_EQ(core.findObject(2), second);
    EXPECT_TRUE(core.deleteObject(2));
    EXPECT_EQ(core.findObject(2), nullptr);
    // Two objects with one identifier: the first in list order, then the other.
    Object* third = core.createObject(0, "");
    third->setId(5);
    EXPECT_EQ(core.findObject(5), first);
    EXPECT_TRUE(core.deleteObject(5));
    EXPECT_EQ(core.findObject(5), third);
    core.reset();
    EXPECT_EQ(core.findObject(5), nullptr);
}

TEST_F(ScriptLibrary, KeysFollowTheirLastAssignment) {
    Object* object = core.createObject(0, "");
    runMain(
        "setKey(1, 'k', 3.5); n = getKey(1, 'k'); setKey(1, 'k', 'text'); "
        "s = getKey(1, 'k'); setKey(1, 'k', false); b = getKey(1, 'k'); "
        "setKey(1, 'k', {}); setKey(1, 'k', nil); kept = getKey(1, 'k'); "
        "none = select('#', getKey(1, 'absent')); "
        "other = select('#', getKey(42, 'k')); setKey(42, 'k', 1)");
    lua_State* L = core.getLuaState();
    lua_getfield(L, LUA_GLOBALSINDEX, "n");
    EXPECT_EQ(lua_tonumber(L, -1), 3.5);
    lua_getfield(L, LUA_GLOBALSINDEX, "s");
    EXPECT_STREQ(lua_tostring(L, -1), "text");
    lua_getfield(L, LUA_GLOBALSINDEX, "b");
    EXPECT_TRUE(lua_isboolean(L, -1));
    EXPECT_FALSE(lua_toboolean(L, -1));
    lua_getfield(L, LUA_GLOBALSINDEX, "kept");
    EXPECT_TRUE(lua_isboolean(L, -1));
    lua_pop(L, 4);
    EXPECT_EQ(mainNumber("none"), 0);
    EXPECT_EQ(mainNumber("other"), 0);
    ASSERT_EQ(object->getKeys().size(), 1u);
    EXPECT_EQ(object->getKeyValue("k")->tag, KeyType::BOOL);
    EXPECT_EQ(object->getKeyValue("absent"), nullptr);
    EXPECT_EQ(object->getKeys().size(), 1u);  // a read stores nothing
}

TEST_F(ScriptLibrary, GetKeyGivesBooleansAsBooleansAndSkipsUnknownTags) {
    Object* object = core.createObject(0, "");
    object->setBool("flag", 2);  // a byte other than 1, as a loaded file may hold
    object->setKeyValue("bare", new KeyType());
    runMain("flag = getKey(1, 'flag') == true; bare = select('#', getKey(1, 'bare'))");
    lua_State* L = core.getLuaState();
    lua_getfield(L, LUA_GLOBALSINDEX, "flag");
    EXPECT_TRUE(lua_toboolean(L, -1));
    lua_pop(L, 1);
    EXPECT_EQ(mainNumber("bare"), 0);
}

TEST_F(ScriptLibrary, EngineFunctionsStillFindTheCoreWhenScriptsHideIt) {
    core.createObject(0, "");
    runMain(
        "core = {}; setKey(1, 'a', 1); a = getKey(1, 'a'); core = nil; "
        "b = newObject(0, '')");
    EXPECT_EQ(mainNumber("a"), 1);
    EXPECT_EQ(mainNumber("b"), 2);
}

}  // namespace
