// Script threads: start, pause and wait, release by the countdown, environments,
// and failures at the error level.
#include "core/lock.h"
#include "log/log.h"
#include "script_fixture.h"

namespace {

using ScriptThreads = ScriptTest;

TEST_F(ScriptThreads, PausedThreadResumesInTheThirdFrame) {
    Object* object = scripted(
        "function start(id)\n"
        "  setKey(id, 'step', 1)\n"
        "  wait(pause(id, 0.05))\n"
        "  setKey(id, 'step', 2)\n"
        "end\n");
    ASSERT_TRUE(object->startThread("start"));
    EXPECT_EQ(object->getNumber("step"), 1);
    EXPECT_EQ(core.getThreads().size(), 1u);
    frames(1, 0.02f);
    EXPECT_FLOAT_EQ(object->getWaitTime(), 0.03f);
    frames(1, 0.02f);
    EXPECT_NEAR(object->getWaitTime(), 0.01f, 1e-6f);
    EXPECT_EQ(object->getNumber("step"), 1);
    frames(1, 0.02f);
    EXPECT_EQ(object->getNumber("step"), 2);
    EXPECT_EQ(object->getWaitTime(), 0.0f);
    EXPECT_TRUE(core.getLocks().empty());
    EXPECT_TRUE(core.getThreads().empty());
}

TEST_F(ScriptThreads, PauseOfZeroOrLessNeverReleases) {
    Object* zero = scripted("function start(id) wait(pause(id, 0)); setKey(id, 'done', true) end");
    Object* negative =
        scripted("function start(id) wait(pause(id, -1)); setKey(id, 'done', true) end");
    ASSERT_TRUE(zero->startThread("start"));
    ASSERT_TRUE(negative->startThread("start"));
    frames(100, 0.02f);
    EXPECT_FALSE(zero->getBool("done"));
    EXPECT_FALSE(negative->getBool("done"));
    EXPECT_EQ(core.getLocks().size(), 2u);
    EXPECT_EQ(core.getThreads().size(), 2u);
}

TEST_F(ScriptThreads, SecondWaiterOnOneHandleGoesOnAtOnce) {
    Object* first = scripted(
        "function start(id) handle = pause(id, 0.05); wait(handle); setKey(id, 'resumed', true) end");
    Object* second = scripted(
        "function start(id) wait(handle); setKey(id, 'passed', true); "
        "wait(handle); setKey(id, 'again', true) end");
    ASSERT_TRUE(first->startThread("start"));
    ASSERT_TRUE(second->startThread("start"));
    EXPECT_TRUE(second->getBool("passed"));
    EXPECT_TRUE(second->getBool("again"));
    EXPECT_FALSE(first->getBool("resumed"));
    EXPECT_EQ(core.getThreads().size(), 1u);
    frames(3, 0.02f);
    EXPECT_TRUE(first->getBool("resumed"));
    EXPECT_TRUE(core.getThreads().empty());
}

TEST_F(ScriptThreads, WaitOnARunOutHandleReturnsAtOnce) {
    Object* object = scripted(
        "function start(id)\n"
        "  local h = pause(id, 0.01)\n"
        "  wait(h)\n"
        "  wait(h)\n"
        "  setKey(id, 'after', true)\n"
        "end\n");
    ASSERT_TRUE(object->startThread("start"));
    frames(1, 0.02f);
    EXPECT_TRUE(object->getBool("after"));
    EXPECT_TRUE(core.getThreads().empty());
}

TEST_F(ScriptThreads, TopLevelVariablesArePrivateAndNewGlobalsLandInState) {
    const std::string text =
        "local mine = 0\n"
        "counter = 0\n"
        "function start(id)\n"
        "  counter = counter + 1\n"
        "  shared = (shared or 0) + 1\n"
        "  setKey(id, 'counter', counter)\n"
        "end\n";
    Object* a = scripted(text);
    Object* b = scripted(text);
    ASSERT_TRUE(a->startThread("start"));
    ASSERT_TRUE(b->startThread("start"));
    // `counter` lives in each thread's environment; `shared` went to `state`.
    EXPECT_EQ(a->getNumber("counter"), 1);
    EXPECT_EQ(b->getNumber("counter"), 1);
    EXPECT_EQ(mainNumber("shared"), 2);
    EXPECT_EQ(mainNumber("counter"), 0);
    lua_State* L = core.getLuaState();
    lua_getfield(L, LUA_GLOBALSINDEX, "start");
    EXPECT_TRUE(lua_isnil(L, -1));
    lua_pop(L, 1);
}

TEST_F(ScriptThreads, StartFunctionReturningAtOnceLeavesNoThread) {
    Object* object = scripted("function start(id, extra) setKey(id, 'seen', id) end");
    ASSERT_TRUE(object->startThread("start"));
    EXPECT_EQ(object->getNumber("seen"), object->getId());
    EXPECT_TRUE(core.getThreads().empty());
}

TEST_F(ScriptThreads, CreateThenResumePassesExtraArguments) {
    Object* object = scripted("function start(id, a, b) setKey(id, 'sum', id + a + b) end");
    lua_State* thread = object->createThread("start");
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(core.getThreads().size(), 1u);
    lua_pushnumber(thread, 10);
    lua_pushnumber(thread, 100);
    object->resumeThread(thread, 2);
    EXPECT_EQ(object->getNumber("sum"), 111);
    EXPECT_TRUE(core.getThreads().empty());
}

TEST_F(ScriptThreads, MissingStartFunctionDropsTheThreadSilently) {
    Object* notFunction = scripted("start = 5");
    Object* libraryName = scripted("x = 1");
    Object* noScript = core.createObject(0, "");
    EXPECT_FALSE(notFunction->startThread("start"));
    EXPECT_FALSE(libraryName->startThread("print"));  // not the script's own
    EXPECT_FALSE(noScript->startThread("start"));
    EXPECT_EQ(noScript->createThread("start"), nullptr);
    EXPECT_TRUE(core.getThreads().empty());
    EXPECT_TRUE(platformFake.fakeSystem.boxes.empty());
}

TEST_F(ScriptThreads, RepauseInsideTheReleaseLeavesOneLock) {
    Object* object = scripted(
        "function start(id)\n"
        "  while true do\n"
        "    wait(pause(id, 0.01))\n"
        "    setKey(id, 'rounds', (getKey(id, 'rounds') or 0) + 1)\n"
        "  end\n"
        "end\n");
    ASSERT_TRUE(object->startThread("start"));
    frames(3, 0.02f);
    EXPECT_EQ(object->getNumber("rounds"), 3);
    ASSERT_EQ(core.getLocks().size(), 1u);
    const Lock* lock = core.findLock(object, 0);
    ASSERT_NE(lock, nullptr);
    EXPECT_NE(lock->thread, nullptr);
    EXPECT_EQ(core.getThreads().count(lock->thread), 1u);
}

TEST_F(ScriptThreads, ErrorInTheStartFunctionIsFatalWithTheScriptMessage) {
    Object* object = scripted("function start(id)\n  undefinedFunction()\nend\n");
    EXPECT_THROW(object->startThread("start"), Log::Fatal);
    EXPECT_NE(lastBox().find("attempt to call global 'undefinedFunction'"), std::string::npos)
        << lastBox();
    EXPECT_NE(lastBox().find(":2:"), std::string::npos) << lastBox();
    EXPECT_TRUE(core.getThreads().empty());
}

TEST_F(ScriptThreads, ErrorAfterAWaitIsFatalInsideTheFrame) {
    Object* object =
        scripted("function start(id) wait(pause(id, 0.01)); error('late failure') end");
    ASSERT_TRUE(object->startThread("start"));
    EXPECT_THROW(frames(1, 0.02f), Log::Fatal);
    EXPECT_NE(lastBox().find("late failure"), std::string::npos) << lastBox();
    EXPECT_TRUE(core.getThreads().empty());
}

TEST_F(ScriptThreads, BrokenScriptFilesAreFatal) {
    Object* syntax = scripted("function start(id");
    EXPECT_THROW(syntax->startThread("start"), Log::Fatal);
    EXPECT_NE(lastBox().find("expected"), std::string::npos) << lastBox();

    Object* failing = scripted("error('chunk failed')");
    EXPECT_THROW(failing->startThread("start"), Log::Fatal);
    EXPECT_NE(lastBox().find("chunk failed"), std::string::npos) << lastBox();

    Object* missing = core.createObject(0, (folder / "absent.lua").string());
    EXPECT_THROW(missing->startThread("start"), Log::Fatal);
    EXPECT_NE(lastBox().find("absent.lua"), std::string::npos) << lastBox();
    EXPECT_TRUE(core.getThreads().empty());
}

}  // namespace
