// Objects that run one script file share its compiled prototypes: each still
// runs the file as it is on disk when its thread starts, with functions and an
// environment of its own, and scripts see the same chunk, lines and messages.
#include <fstream>

#include "log/log.h"
#include "script_fixture.h"

namespace {

using SharedChunks = ScriptTest;

// Records what the object's main chunk and start function are and which
// version of the file it runs.
std::string versionScript(int version) {
    return "local version = " + std::to_string(version) +
           "\nlocal main = debug.getinfo(1, 'fS')\n"
           "function start(id)\n"
           "  setKey(id, 'version', version)\n"
           "  setKey(id, 'main', tostring(main.func))\n"
           "  setKey(id, 'what', main.what)\n"
           "  setKey(id, 'source', main.source)\n"
           "  setKey(id, 'start', tostring(start))\n"
           "  setKey(id, 'env', tostring(getfenv(1)))\n"
           "  while true do\n"
           "    wait(pause(id, 0.01))\n"
           "    setKey(id, 'later', version)\n"
           "  end\n"
           "end\n";
}

TEST_F(SharedChunks, EachObjectGetsItsOwnFunctionsAndEnvironment) {
    const std::string path = writeScript("shared.lua", versionScript(1));
    Object* first = core.createObject(0, path);
    Object* second = core.createObject(0, path);
    ASSERT_TRUE(first->startThread("start"));
    ASSERT_TRUE(second->startThread("start"));
    for (const Object* object : {first, second}) {
        EXPECT_EQ(object->getNumber("version"), 1);
        EXPECT_EQ(object->getString("what"), "main");
        EXPECT_EQ(object->getString("source"), "@" + path);
    }
    EXPECT_NE(first->getString("main"), second->getString("main"));
    EXPECT_NE(first->getString("start"), second->getString("start"));
    EXPECT_NE(first->getString("env"), second->getString("env"));
}

TEST_F(SharedChunks, AFileChangedOnDiskIsRunAsItIsNow) {
    const std::string path = writeScript("changing.lua", versionScript(1));
    Object* before = core.createObject(0, path);
    ASSERT_TRUE(before->startThread("start"));
    // One character changed: the same length, another constant.
    writeScript("changing.lua", versionScript(2));
    Object* after = core.createObject(0, path);
    ASSERT_TRUE(after->startThread("start"));
    writeScript("changing.lua", versionScript(1));
    Object* back = core.createObject(0, path);
    ASSERT_TRUE(back->startThread("start"));
    EXPECT_EQ(before->getNumber("version"), 1);
    EXPECT_EQ(after->getNumber("version"), 2);
    EXPECT_EQ(back->getNumber("version"), 1);

    // Threads that started on an older file go on running it.
    frames(1, 0.02f);
    EXPECT_EQ(before->getNumber("later"), 1);
    EXPECT_EQ(after->getNumber("later"), 2);
    EXPECT_EQ(back->getNumber("later"), 1);
}

TEST_F(SharedChunks, AResetOrALoadStartsFromTheFileOnDisk) {
    const std::string path = writeScript("kept.lua", versionScript(1));
    ASSERT_TRUE(core.createObject(0, path)->startThread("start"));
    core.reset();
    writeScript("kept.lua", versionScript(2));
    Object* afterReset = core.createObject(0, path);
    ASSERT_TRUE(afterReset->startThread("start"));
    EXPECT_EQ(afterReset->getNumber("version"), 2);

    const std::string saved = (folder / "state.bin").string();
    ASSERT_TRUE(core.saveState(saved));
    writeScript("kept.lua", versionScript(3));
    ASSERT_TRUE(core.loadState(saved));
    ASSERT_EQ(core.getObjects().size(), 1u);
    Object* loaded = core.getObjects().front();
    ASSERT_TRUE(loaded->startThread("start"));
    EXPECT_EQ(loaded->getNumber("version"), 3);
}

TEST_F(SharedChunks, AnotherPathWithTheSameTextRunsUnderItsOwnName) {
    const std::string one = writeScript("one.lua", versionScript(1));
    const std::string two = writeScript("two.lua", versionScript(1));
    Object* first = core.createObject(0, one);
    Object* second = core.createObject(0, two);
    ASSERT_TRUE(first->startThread("start"));
    ASSERT_TRUE(second->startThread("start"));
    EXPECT_EQ(first->getString("source"), "@" + one);
    EXPECT_EQ(second->getString("source"), "@" + two);
}

TEST_F(SharedChunks, ErrorsNameTheFileAndLineForEveryObject) {
    const std::string path = writeScript("failing.lua",
                                         "function start(id)\n"
                                         "  wait(pause(id, 0.01))\n"
                                         "  local nothing = nil\n"
                                         "  nothing.field = 1\n"
                                         "end\n");
    Object* first = core.createObject(0, path);
    Object* second = core.createObject(0, path);
    ASSERT_TRUE(first->startThread("start"));
    ASSERT_TRUE(second->startThread("start"));
    EXPECT_THROW(frames(1, 0.02f), Log::Fatal);
    const std::string firstMessage = lastBox();
    // Long paths are shortened in messages: the file name is at the end.
    EXPECT_NE(firstMessage.find("failing.lua:4: attempt to index local 'nothing'"),
              std::string::npos)
        << firstMessage;
    // The first failure ended the pass; the second object fails the same way.
    EXPECT_THROW(frames(1, 0.02f), Log::Fatal);
    EXPECT_EQ(lastBox(), firstMessage);
}

TEST_F(SharedChunks, AChunkThatFailsAtTheTopFailsForEveryObject) {
    const std::string path = writeScript("top.lua", "local x = 1\nerror('top failure ' .. x)\n");
    std::string firstMessage;
    for (int i = 0; i < 2; ++i) {
        Object* object = core.createObject(0, path);
        EXPECT_THROW(object->startThread("start"), Log::Fatal);
        EXPECT_NE(lastBox().find("top.lua:2: top failure 1"), std::string::npos) << lastBox();
        if (i == 0) {
            firstMessage = lastBox();
        }
    }
    EXPECT_EQ(lastBox(), firstMessage);
    EXPECT_TRUE(core.getThreads().empty());
}

TEST_F(SharedChunks, KeepingACopyKeepsNoObjectsEnvironmentAlive) {
    runMain("watch = setmetatable({}, {__mode = 'v'})");
    const std::string path =
        writeScript("watched.lua", "watch[#watch + 1] = getfenv(1)\nfunction start(id) end\n");
    for (int i = 0; i < 2; ++i) {
        Object* object = core.createObject(0, path);
        ASSERT_TRUE(object->startThread("start"));
        ASSERT_TRUE(core.deleteObject(object->getId()));
    }
    lua_gc(core.getLuaState(), LUA_GCCOLLECT, 0);
    lua_gc(core.getLuaState(), LUA_GCCOLLECT, 0);
    runMain("remaining = 0; for _ in pairs(watch) do remaining = remaining + 1 end");
    EXPECT_EQ(mainNumber("remaining"), 0);
}

}  // namespace
