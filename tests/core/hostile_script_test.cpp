// Scripts that misbehave end normally or in the reported error, never in a crash.
#include "core/lock.h"
#include "fakes/failing_finalizer.h"
#include "log/log.h"
#include "script_fixture.h"

namespace {

using HostileScripts = ScriptTest;

TEST_F(HostileScripts, ErrorRaisedWithATableIsReportedByType) {
    Object* object = scripted("function start(id) error({code = 7}) end");
    EXPECT_THROW(object->startThread("start"), Log::Fatal);
    EXPECT_EQ(lastBox(), "(error object is a table value)");
    Object* number = scripted("function start(id) error(12, 0) end");
    EXPECT_THROW(number->startThread("start"), Log::Fatal);
    EXPECT_EQ(lastBox(), "12");
    Object* nothing = scripted("function start(id) error() end");
    EXPECT_THROW(nothing->startThread("start"), Log::Fatal);
    EXPECT_EQ(lastBox(), "(error object is a nil value)");
}

TEST_F(HostileScripts, CoroutineYieldInTheStartFunctionLeavesTheThreadSuspended) {
    Object* object =
        scripted("function start(id) coroutine.yield(1, 2); setKey(id, 'on', true) end");
    ASSERT_TRUE(object->startThread("start"));
    frames(10, 0.02f);
    EXPECT_FALSE(object->getBool("on"));
    EXPECT_EQ(core.getThreads().size(), 1u);
    core.reset();
    EXPECT_TRUE(core.getThreads().empty());
}

TEST_F(HostileScripts, MainChunkCannotSuspendItsThread) {
    Object* yielding = scripted("coroutine.yield()");
    EXPECT_THROW(yielding->startThread("start"), Log::Fatal);
    EXPECT_NE(lastBox().find("yield"), std::string::npos) << lastBox();
    // The thread is not running as the host's yet: its wait is an error, and
    // nothing is left waiting on the lock.
    Object* waiting = scripted(
        "wait(pause(1, 1))\nreached = true\n"
        "function start(id) setKey(id, 'reached', reached) end");
    EXPECT_THROW(waiting->startThread("start"), Log::Fatal);
    EXPECT_NE(lastBox().find("wait"), std::string::npos) << lastBox();
    EXPECT_FALSE(waiting->getBool("reached"));
    EXPECT_EQ(core.findLock(yielding, 0)->thread, nullptr);
}

TEST_F(HostileScripts, ScriptDeletingItsOwnObjectThenWaiting) {
    Object* object = scripted(
        "function start(id)\n"
        "  deleted = deleteObject(id)\n"
        "  wait(pause(id, 1))\n"
        "  finished = true\n"
        "end\n");
    ASSERT_TRUE(object->startThread("start"));
    EXPECT_TRUE(core.getObjects().empty());
    EXPECT_TRUE(core.getLocks().empty());
    EXPECT_TRUE(core.getThreads().empty());
    runMain("ok = (deleted and finished) and 1 or 0");
    EXPECT_EQ(mainNumber("ok"), 1);
}

TEST_F(HostileScripts, ScriptDeletingItsOwnObjectWhileResumedByTheUpdate) {
    Object* self = scripted(
        "function start(id) wait(pause(id, 0.01)); deleteObject(id); "
        "wait(pause(id, 0.01)); gone = true end");
    Object* after =
        scripted("function start(id) wait(pause(id, 0.01)); setKey(id, 'ran', true) end");
    ASSERT_TRUE(self->startThread("start"));
    ASSERT_TRUE(after->startThread("start"));
    frames(1, 0.02f);
    ASSERT_EQ(core.getObjects().size(), 1u);
    EXPECT_TRUE(after->getBool("ran"));
    runMain("ok = gone and 1 or 0");
    EXPECT_EQ(mainNumber("ok"), 1);
    frames(2, 0.02f);
}

TEST_F(HostileScripts, DeletingOtherObjectsDuringTheUpdatePass) {
    // Five objects; the second one's script deletes the first, the third and the
    // last when it is resumed. The fourth must still be updated once.
    const std::string waiter =
        "function start(id) wait(pause(id, 0.01)); setKey(id, 'ran', (getKey(id, 'ran') or 0) + 1) end";
    scripted(waiter);
    Object* killer = scripted(
        "function start(id) wait(pause(id, 0.01)); deleteObject(1); deleteObject(3); deleteObject(5) end");
    scripted(waiter);
    Object* fourth = scripted(waiter);
    scripted(waiter);
    for (Object* object :
         std::vector<Object*>(core.getObjects().begin(), core.getObjects().end())) {
        ASSERT_TRUE(object->startThread("start"));
    }
    EXPECT_EQ(core.getThreads().size(), 5u);
    frames(1, 0.02f);
    ASSERT_EQ(core.getObjects().size(), 2u);
    EXPECT_EQ(core.getObjects().front(), killer);
    EXPECT_EQ(core.getObjects().back(), fourth);
    EXPECT_EQ(fourth->getNumber("ran"), 1);
    // The waiting threads of the third and fifth went with their objects.
    EXPECT_TRUE(core.getThreads().empty());
    EXPECT_TRUE(core.getLocks().empty());
}

TEST_F(HostileScripts, DeletingTheNextObjectDuringTheUpdatePass) {
    Object* killer = scripted("function start(id) wait(pause(id, 0.01)); deleteObject(id + 1) end");
    scripted("function start(id) wait(pause(id, 0.01)); setKey(id, 'ran', true) end");
    Object* last =
        scripted("function start(id) wait(pause(id, 0.01)); setKey(id, 'ran', true) end");
    ASSERT_TRUE(killer->startThread("start"));
    ASSERT_TRUE(core.findObject(2)->startThread("start"));
    ASSERT_TRUE(last->startThread("start"));
    frames(1, 0.02f);
    ASSERT_EQ(core.getObjects().size(), 2u);
    EXPECT_TRUE(last->getBool("ran"));
}

TEST_F(HostileScripts, DeletingTheLastObjectWhenItIsNextEndsThePass) {
    Object* killer = scripted(
        "function start(id) wait(pause(id, 0.01)); deleteObject(2); "
        "newObject(0, '') end");
    Object* victim = scripted("function start(id) wait(pause(id, 0.01)) end");
    ASSERT_TRUE(killer->startThread("start"));
    ASSERT_TRUE(victim->startThread("start"));
    frames(1, 0.02f);
    ASSERT_EQ(core.getObjects().size(), 2u);
    EXPECT_EQ(core.getObjects().back()->getId(), 3);
    EXPECT_TRUE(core.getThreads().empty());
}

TEST_F(HostileScripts, ObjectsMadeDuringThePassWaitForTheNextFrame) {
    // A script that makes and pauses an object in every release would keep one
    // frame going for ever if new objects were updated in the same pass.
    Object* maker = scripted(
        "function start(id)\n"
        "  local current = id\n"
        "  while true do\n"
        "    wait(pause(current, 0.001))\n"
        "    current = newObject(0, '')\n"
        "  end\n"
        "end\n");
    ASSERT_TRUE(maker->startThread("start"));
    frames(1, 0.02f);
    EXPECT_EQ(core.getObjects().size(), 2u);
    frames(1, 0.02f);
    EXPECT_EQ(core.getObjects().size(), 3u);
}

TEST_F(HostileScripts, OverwritingCoreDoesNotMisleadTheEngineFunctions) {
    Object* object = scripted(
        "function start(id)\n"
        "  core = {}\n"
        "  setKey(id, 'a', 1)\n"
        "  core = 5\n"
        "  wait(pause(id, 0.01))\n"
        "  setKey(id, 'b', 2)\n"
        "end\n");
    ASSERT_TRUE(object->startThread("start"));
    frames(1, 0.02f);
    EXPECT_EQ(object->getNumber("a"), 1);
    EXPECT_EQ(object->getNumber("b"), 2);
}

int answerFortyTwo(lua_State* L) {
    lua_pushnumber(L, 42);
    return 1;
}

TEST_F(HostileScripts, UpvaluesOfTheEngineFunctionsCannotBeReplaced) {
    // The core, the wait handle's field names and a host function travel as
    // upvalues of C functions, which the debug library leaves alone: a script
    // that overwrites them changes nothing.
    core.registerFunction("answer", answerFortyTwo);
    core.reset();
    Object* object = scripted(
        "function start(id)\n"
        "  local replaced = 0\n"
        "  for _, f in ipairs({newObject, deleteObject, getKey, setKey, pause, wait,\n"
        "                      pcall, xpcall, coroutine.resume, answer}) do\n"
        "    for n = 1, 3 do\n"
        "      if debug.setupvalue(f, n, 5) ~= nil then replaced = replaced + 1 end\n"
        "    end\n"
        "  end\n"
        "  setKey(id, 'replaced', replaced)\n"
        "  setKey(id, 'made', newObject(0, ''))\n"
        "  setKey(id, 'answer', answer())\n"
        "  wait(pause(id, 0.01))\n"
        "  setKey(id, 'back', pcall(error, 'x') == false)\n"
        "end\n");
    ASSERT_TRUE(object->startThread("start"));
    EXPECT_EQ(object->getNumber("replaced"), 0);
    EXPECT_GT(object->getNumber("made"), 0);
    EXPECT_EQ(object->getNumber("answer"), 42);
    frames(1, 0.02f);
    EXPECT_TRUE(object->getBool("back"));
    EXPECT_TRUE(platformFake.fakeSystem.boxes.empty());
}

TEST_F(HostileScripts, WaitGivenANonTableIsAReportedError) {
    Object* number = scripted("function start(id) wait(5) end");
    EXPECT_THROW(number->startThread("start"), Log::Fatal);
    EXPECT_NE(lastBox().find("attempt to index"), std::string::npos) << lastBox();
    Object* none = scripted("function start(id) wait() end");
    EXPECT_THROW(none->startThread("start"), Log::Fatal);
    // A string indexes as the string library: no such fields, so no lock, no wait.
    Object* text = scripted("function start(id) wait('x'); setKey(id, 'on', true) end");
    ASSERT_TRUE(text->startThread("start"));
    EXPECT_TRUE(text->getBool("on"));
}

TEST_F(HostileScripts, WaitInsidePcallOrANestedCoroutineIsAnErrorTheScriptCanCatch) {
    Object* object = scripted(
        "function start(id)\n"
        "  local h = pause(id, 0.01)\n"
        "  local ok, message = pcall(wait, h)\n"
        "  setKey(id, 'pcall', ok and 'ok' or message)\n"
        "  ok, message = pcall(function() wait(h) end)\n"
        "  setKey(id, 'inner', ok and 'ok' or message)\n"
        "  local co = coroutine.create(function() wait(h); return 'through' end)\n"
        "  local _, result = coroutine.resume(co)\n"
        "  setKey(id, 'nested', result)\n"
        "  wait(h)\n"
        "  setKey(id, 'released', true)\n"
        "end\n");
    ASSERT_TRUE(object->startThread("start"));
    for (const char* key : {"pcall", "inner", "nested"}) {
        EXPECT_NE(object->getString(key).find("wait"), std::string::npos)
            << key << ": " << object->getString(key);
    }
    EXPECT_FALSE(object->getBool("released"));
    frames(1, 0.02f);
    EXPECT_TRUE(object->getBool("released"));
    EXPECT_TRUE(core.getThreads().empty());
}

TEST_F(HostileScripts, ThreadResumedByAnotherScriptCannotBeRecordedTwice) {
    Object* sleeper = scripted(
        "function start(id) me = coroutine.running(); wait(pause(id, 5)); "
        "wait(pause(2, 0.01)); setKey(id, 'end', true) end");
    Object* meddler =
        core.createObject(0, writeScript("m.lua", "function start(id) coroutine.resume(me) end"));
    ASSERT_TRUE(sleeper->startThread("start"));
    ASSERT_TRUE(meddler->startThread("start"));
    // The sleeper ran on inside the meddler's resume, where its second wait is an
    // error that ends it without recording it again.
    EXPECT_FALSE(sleeper->getBool("end"));
    EXPECT_EQ(core.findLock(meddler, 0)->thread, nullptr);
    frames(1, 0.02f);
    // Its pause lock still names it; the release finds a finished coroutine and
    // forgets it instead of restarting it.
    frames(300, 0.02f);
    EXPECT_TRUE(core.getThreads().empty());
    EXPECT_TRUE(core.getLocks().empty());
    EXPECT_TRUE(platformFake.fakeSystem.boxes.empty());
}

TEST_F(HostileScripts, ThreadsWhoseRegistryReferencesAScriptDroppedAreNeverResumed) {
    Object* waiting =
        scripted("function start(id) wait(pause(id, 0.01)); setKey(id, 'back', true) end");
    // This one drops the references while it runs, its own among them.
    Object* dropping = scripted(
        "function start(id)\n"
        "  local registry = debug.getregistry()\n"
        "  for key, value in pairs(registry) do\n"
        "    if type(value) == 'thread' then registry[key] = nil end\n"
        "  end\n"
        "  collectgarbage(); collectgarbage()\n"
        "  setKey(id, 'alive', true)\n"
        "  wait(pause(id, 0.01))\n"
        "  setKey(id, 'back', true)\n"
        "end\n");
    ASSERT_TRUE(waiting->startThread("start"));
    ASSERT_TRUE(dropping->startThread("start"));
    EXPECT_TRUE(dropping->getBool("alive"));
    runMain("collectgarbage(); collectgarbage()");
    frames(2, 0.02f);
    EXPECT_FALSE(waiting->getBool("back"));
    EXPECT_FALSE(dropping->getBool("back"));
    EXPECT_TRUE(core.getThreads().empty());
    EXPECT_TRUE(core.getLocks().empty());
    // Threads made afterwards, perhaps where the dropped ones lay, run as usual.
    for (int i = 0; i < 20; ++i) {
        Object* next =
            scripted("function start(id) wait(pause(id, 0.01)); setKey(id, 'back', true) end");
        ASSERT_TRUE(next->startThread("start"));
        frames(1, 0.02f);
        EXPECT_TRUE(next->getBool("back"));
    }
    EXPECT_TRUE(platformFake.fakeSystem.boxes.empty());
}

TEST_F(HostileScripts, ThreadsWhoseRegistrySlotsAScriptSwappedAreNeverResumed) {
    const std::string waiter =
        "function start(id) wait(pause(id, 0.01)); setKey(id, 'back', true) end";
    Object* first = scripted(waiter);
    Object* second = scripted(waiter);
    ASSERT_TRUE(first->startThread("start"));
    ASSERT_TRUE(second->startThread("start"));
    // Each waiting thread now lies in the other's registry slot: neither slot
    // holds the thread the core put there.
    runMain(
        "local registry, slots = debug.getregistry(), {}\n"
        "for key, value in pairs(registry) do\n"
        "  if type(value) == 'thread' then slots[#slots + 1] = key end\n"
        "end\n"
        "assert(#slots == 2)\n"
        "registry[slots[1]], registry[slots[2]] = registry[slots[2]], registry[slots[1]]\n");
    frames(2, 0.02f);
    EXPECT_FALSE(first->getBool("back"));
    EXPECT_FALSE(second->getBool("back"));
    EXPECT_TRUE(core.getThreads().empty());
    EXPECT_TRUE(core.getLocks().empty());
    EXPECT_TRUE(platformFake.fakeSystem.boxes.empty());
}

TEST_F(HostileScripts, FailingFinalizerWhileAThreadIsCreatedIsAReportedError) {
    for (const char* body : {"error('finalizer failed')", "coroutine.yield()"}) {
        SCOPED_TRACE(body);
        core.reset();
        Object* object = scripted("function start(id) end\n" + fakes::failingFinalizer(body));
        EXPECT_THROW(object->startThread("start"), Log::Fatal);
        EXPECT_FALSE(lastBox().empty());
        EXPECT_TRUE(core.getThreads().empty());
    }
    EXPECT_NE(platformFake.fakeSystem.boxes.front().text.find("finalizer failed"),
              std::string::npos);
    EXPECT_NE(lastBox().find("yield"), std::string::npos) << lastBox();
}

TEST_F(HostileScripts, FailingFinalizerDuringAResetEndsNothing) {
    runMain(fakes::failingFinalizer("error('finalizer failed')"));
    core.reset();
    runMain(fakes::failingFinalizer("coroutine.yield()"));
    core.reset();
    Object* object = scripted("function start(id) setKey(id, 'ran', true) end");
    ASSERT_TRUE(object->startThread("start"));
    EXPECT_TRUE(object->getBool("ran"));
}

}  // namespace
