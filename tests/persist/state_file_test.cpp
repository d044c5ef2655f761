#include <gtest/gtest.h>

#include <cmath>

#include "core/key_type.h"
#include "fakes/failing_finalizer.h"
#include "log/log.h"
#include "state_fixture.h"
#include "system_helpers.h"

namespace {

using persist_test::ByteBuilder;
using persist_test::Bytes;
using persist_test::readFile;
using persist_test::StateTest;
using persist_test::writeFile;

// The two sections that close a state with no objects: count 0, next id 1.
const Bytes NO_OBJECTS = {0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};

Bytes concat(Bytes head, const Bytes& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

TEST_F(StateTest, EmptyStateIsNineBytes) {
    EXPECT_EQ(saved(), (Bytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00}));
}

TEST_F(StateTest, NumberVariableRecord) {
    run("x = 2");
    const Bytes expected = concat({0x01, 0x02, 0x00, 0x00, 0x00, 0x78, 0x00, 0x03, 0x00, 0x00,
                                   0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x00},
                                  NO_OBJECTS);
    EXPECT_EQ(saved(), expected);
}

TEST_F(StateTest, BooleanAndStringVariableRecords) {
    run("f = false");
    EXPECT_EQ(saved(),
              concat({0x01, 0x02, 0, 0, 0, 'f', 0, 0x01, 0, 0, 0, 0x00, 0x00}, NO_OBJECTS));
    core.reset();
    run("s = 'a\\0b'");  // saved up to the zero byte
    EXPECT_EQ(saved(),
              concat({0x01, 0x02, 0, 0, 0, 's', 0, 0x04, 0, 0, 0, 0x02, 0, 0, 0, 'a', 0, 0x00},
                     NO_OBJECTS));
}

TEST_F(StateTest, SimpleVariablesRoundTrip) {
    run("yes = true; no = false; pi = 3.25; neg = -1e300; big = 2^53; empty = ''; "
        "text = 'hello world'; cut = 'ab\\0cd'; hidden = nil; pause = 7; state = 'shadow'");
    lua_pushstring(lua(), "one");
    lua_rawseti(lua(), LUA_GLOBALSINDEX, 1);  // a number key is saved as its text
    const std::string path = folder.file("vars.bin").string();
    ASSERT_TRUE(core.saveState(path));
    run("extra = 1");
    ASSERT_TRUE(core.loadState(path));
    EXPECT_EQ(variable("yes"), "true");
    EXPECT_EQ(variable("no"), "false");
    EXPECT_EQ(variable("pi"), "number 3.25");
    EXPECT_EQ(variable("neg"), "number -1e+300");
    EXPECT_EQ(variable("big"), "number 9.007199254741e+15");
    EXPECT_EQ(variable("empty"), "string ");
    EXPECT_EQ(variable("text"), "string hello world");
    EXPECT_EQ(variable("cut"), "string ab");
    EXPECT_EQ(variable("hidden"), "none");
    EXPECT_EQ(variable("extra"), "none");
    EXPECT_EQ(variable("1"), "string one");
    // Names of engine globals are restored into the shared state, where they
    // are found before the engine's own.
    EXPECT_EQ(variable("pause"), "number 7");
    EXPECT_EQ(variable("state"), "string shadow");
    // The exact double survives, not just its printed form.
    lua_getfield(lua(), LUA_GLOBALSINDEX, "big");
    EXPECT_EQ(lua_tonumber(lua(), -1), 9007199254740992.0);
    lua_pop(lua(), 1);
}

TEST_F(StateTest, LoadedRecordsOfEveryTypeCode) {
    const Bytes file = concat(ByteBuilder()
                                  .byte(1)
                                  .string("gone")
                                  .int32(0)
                                  .byte(1)
                                  .string("flag")
                                  .int32(1)
                                  .byte(7)
                                  .byte(5)
                                  .string("off")
                                  .int32(1)
                                  .byte(0)
                                  .byte(1)
                                  .string("n")
                                  .int32(3)
                                  .real64(-0.5)
                                  .byte(1)
                                  .string("s")
                                  .int32(4)
                                  .string("txt")
                                  .byte(0)
                                  .bytes(),
                              NO_OBJECTS);
    ASSERT_TRUE(loadBytes(file));
    EXPECT_EQ(variable("gone"), "none");
    EXPECT_EQ(variable("flag"), "true");  // any nonzero value byte
    EXPECT_EQ(variable("off"), "false");  // any nonzero continuation byte
    EXPECT_EQ(variable("n"), "number -0.5");
    EXPECT_EQ(variable("s"), "string txt");
    EXPECT_TRUE(platform.fakeSystem.boxes.empty());
}

TEST_F(StateTest, SaveLeavesCoreAndScriptStackAsTheyWere) {
    run("a = 1; b = 'two'");
    core.createObject(0, "obj.lua")->setNumber("k", 1);
    const int top = lua_gettop(lua());
    const Bytes first = saved("first.bin");
    EXPECT_EQ(lua_gettop(lua()), top);
    EXPECT_EQ(core.getObjects().size(), 1u);
    EXPECT_EQ(core.getNextObjectId(), 2);
    EXPECT_EQ(saved("second.bin"), first);
    // Loading what was saved and saving again gives the same bytes.
    ASSERT_TRUE(core.loadState(folder.file("first.bin").string()));
    EXPECT_EQ(saved("third.bin"), first);
}

TEST_F(StateTest, UnsupportedVariableEndsSaveAndKeepsThePreviousFile) {
    run("x = 2");
    const std::string path = folder.file("keep.bin").string();
    ASSERT_TRUE(core.saveState(path));
    const Bytes before = readFile(path);
    run("t = {}");
    EXPECT_THROW(core.saveState(path), Log::Fatal);
    ASSERT_EQ(platform.fakeSystem.boxes.size(), 1u);
    EXPECT_EQ(platform.fakeSystem.boxes[0].text, "Global variable 't' type not supported.");
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(folder.listing(), std::vector<std::string>{"keep.bin"});
    EXPECT_EQ(lua_gettop(lua()), 0);
}

TEST_F(StateTest, FinalizerFailingDuringTheWalkIsReportedAndLeavesNoTemporaryFile) {
    const std::string path = folder.file("keep.bin").string();
    run("x = 2");
    ASSERT_TRUE(core.saveState(path));
    const Bytes before = readFile(path);
    // A number key is turned into text during the walk: that allocation runs
    // the collector and the finalizer.
    run("for i = 1, 20 do state[i] = i end\n" +
        fakes::failingFinalizer("error('finalizer failed', 0)"));
    EXPECT_THROW(core.saveState(path), Log::Fatal);
    ASSERT_EQ(platform.fakeSystem.boxes.size(), 1u);
    EXPECT_EQ(platform.fakeSystem.boxes[0].text, "finalizer failed");
    EXPECT_EQ(platform.fakeSystem.boxes[0].style, 0x1010u);
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(folder.listing(), std::vector<std::string>{"keep.bin"});
    EXPECT_EQ(lua_gettop(lua()), 0);
}

TEST_F(StateTest, EveryUnsupportedKindIsRefused) {
    for (const char* chunk :
         {"v = {}", "v = print", "v = coroutine.create(function() end)", "v = newproxy()"}) {
        SCOPED_TRACE(chunk);
        core.reset();
        run(chunk);
        EXPECT_THROW(core.saveState(folder.file("v.bin").string()), Log::Fatal);
        EXPECT_EQ(platform.fakeSystem.boxes.back().text, "Global variable 'v' type not supported.");
    }
    core.reset();
    lua_pushlightuserdata(lua(), &core);
    lua_setfield(lua(), LUA_GLOBALSINDEX, "p");
    EXPECT_THROW(core.saveState(folder.file("v.bin").string()), Log::Fatal);
    EXPECT_EQ(platform.fakeSystem.boxes.back().text, "Global variable 'p' type not supported.");
    EXPECT_EQ(folder.listing(), std::vector<std::string>{});
}

TEST_F(StateTest, SaveToUnwritablePlaceFailsQuietly) {
    EXPECT_FALSE(core.saveState(folder.file("no-folder/state.bin").string()));
    EXPECT_EQ(folder.listing(), std::vector<std::string>{});
    EXPECT_TRUE(platform.fakeSystem.boxes.empty());
}

TEST_F(StateTest, SaveThatCannotReachTheDiskKeepsThePreviousFile) {
    run("x = 2");
    const std::string path = folder.file("keep.bin").string();
    ASSERT_TRUE(core.saveState(path));
    EXPECT_EQ(platform.fakeSystem.syncs, 1);
    const Bytes before = readFile(path);
    run("x = 3");
    platform.fakeSystem.syncFails = true;
    EXPECT_FALSE(core.saveState(path));
    EXPECT_EQ(platform.fakeSystem.syncs, 2);
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(folder.listing(), std::vector<std::string>{"keep.bin"});
    EXPECT_TRUE(platform.fakeSystem.boxes.empty());
    // Once the disk takes the data again, so does the save.
    platform.fakeSystem.syncFails = false;
    EXPECT_TRUE(core.saveState(path));
    EXPECT_NE(readFile(path), before);
}

TEST_F(StateTest, ReplacedFileKeepsItsPermissions) {
    namespace fs = std::filesystem;
    const fs::path target = folder.file("target.bin");
    writeFile(target, Bytes{1, 2, 3});
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    // What this system keeps of them: POSIX bits here, on Windows only whether the
    // file is read-only.
    const fs::perms before = fs::status(target).permissions() & fs::perms::all;
    run("x = 2");
    ASSERT_TRUE(core.saveState(target.string()));
    EXPECT_EQ(readFile(target), saved("plain.bin"));
    EXPECT_EQ(folder.listing(), (std::vector<std::string>{"plain.bin", "target.bin"}));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, before);
}

TEST_F(StateTest, ReplacedFileKeepsTheLinkToIt) {
    namespace fs = std::filesystem;
    const fs::path real = folder.file("real.bin");
    writeFile(real, Bytes{1, 2, 3});
    const fs::path link = folder.file("link.bin");
    if (!persist_test::canMakeSymbolicLinks(link)) {
        GTEST_SKIP() << "this system makes no symbolic links here";
    }
    fs::create_symlink(real.filename(), link);
    run("x = 2");
    ASSERT_TRUE(core.saveState(link.string()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(real), saved("plain.bin"));
    EXPECT_EQ(folder.listing(), (std::vector<std::string>{"link.bin", "plain.bin", "real.bin"}));
}

TEST_F(StateTest, MissingFileLeavesCoreFresh) {
    run("x = 1");
    core.createObject(0, "");
    EXPECT_FALSE(core.loadState(folder.file("missing.bin").string()));
    expectFresh();
    EXPECT_TRUE(platform.fakeSystem.boxes.empty());
}

TEST_F(StateTest, UnsupportedTypeCodeInFileIsFatal) {
    for (const std::uint32_t code : {2u, 5u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(code);
        const Bytes file = ByteBuilder()
                               .byte(1)
                               .string("before")
                               .int32(3)
                               .real64(1)
                               .byte(1)
                               .string("bad")
                               .int32(code)
                               .real64(1)
                               .byte(0)
                               .raw(NO_OBJECTS)
                               .bytes();
        EXPECT_THROW(loadBytes(file), Log::Fatal);
        EXPECT_EQ(platform.fakeSystem.boxes.back().text,
                  "Global variable 'bad' type not supported.");
        EXPECT_EQ(variable("before"), "number 1");
        EXPECT_TRUE(core.getObjects().empty());
        EXPECT_EQ(lua_gettop(lua()), 0);
    }
}

}  // namespace
