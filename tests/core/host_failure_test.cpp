// A fatal error met by host code that a script called (an object factory, a
// registered function) ends the script however it tried to catch it, and
// leaves nothing behind that could swallow a later failure's own report.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "core/core.h"
#include "core/object.h"
#include "fakes/fake_platform.h"
#include "log/log.h"

namespace {

Object* refusingFactory(std::int32_t type) {
    if (type == 7) {
        Log::error("Object type 7 cannot be made.");
    }
    return nullptr;
}

int hostFailure(lua_State*) { Log::error("The host gave up."); }

class HostFailures : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 (std::string("core_host_failure_") + info->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        core.registerFunction("giveUp", hostFailure);
        core.reset();
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    Object* scripted(const std::string& text) {
        const std::string path = (folder / ("s" + std::to_string(++scripts) + ".lua")).string();
        std::ofstream(path, std::ios::binary) << text;
        return core.createObject(0, path);
    }
    const std::vector<fakes::MessageBoxCall>& boxes() const {
        return platformFake.fakeSystem.boxes;
    }
    // The fatal report is the only box; the script ran no further.
    void expectOneReportAndAStoppedScript(Object* object, const std::string& text) {
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, text);
        EXPECT_FALSE(object->getBool("went on"));
        EXPECT_TRUE(core.getThreads().empty());
    }
    // A shared variable that the scripts set (nil reads as false).
    bool shared(const char* name) {
        lua_State* L = core.getLuaState();
        lua_getfield(L, LUA_GLOBALSINDEX, name);
        const bool value = lua_toboolean(L, -1) != 0;
        lua_pop(L, 1);
        return value;
    }

    fakes::FakePlatform platformFake;
    std::filesystem::path folder;
    Core core{refusingFactory, nullptr};
    int scripts = 0;
};

TEST_F(HostFailures, ProtectedCallsCannotCatchAFatalError) {
    const std::string factory = "Object type 7 cannot be made.";
    const std::string host = "The host gave up.";
    const std::pair<const char*, std::string> attempts[] = {
        {"pcall(newObject, 7, '')", factory},
        {"pcall(function() newObject(7, '') end)", factory},
        {"xpcall(function() newObject(7, '') end, function() setKey(id, 'went on', true) end)",
         factory},
        {"coroutine.resume(coroutine.create(function() newObject(7, '') end))", factory},
        {"pcall(coroutine.wrap(function() newObject(7, '') end))", factory},
        {"load(function() newObject(7, '') end)", factory},
        {"pcall(pcall, giveUp)", host},
    };
    for (const auto& [attempt, report] : attempts) {
        SCOPED_TRACE(attempt);
        platformFake.fakeSystem.boxes.clear();
        Object* object = scripted(std::string("function start(id) ") + attempt +
                                  "; setKey(id, 'went on', true) end");
        EXPECT_THROW(object->startThread("start"), Log::Fatal);
        expectOneReportAndAStoppedScript(object, report);
    }
}

// Scripts that reach the library's own catching functions in roundabout ways
// (the library is the scripts' own, so nothing of it is hidden) still run no
// further once the report is made.
TEST_F(HostFailures, NoWayRoundTheLibraryCatchesAFatalError) {
    const char* const attempts[] = {
        // A load reader that calls load itself around the failing call.
        "function start(id)\n"
        "  load(function()\n"
        "    local libraryLoad = debug.getinfo(2, 'f').func\n"
        "    libraryLoad(function() newObject(7, '') end)\n"
        "    wentOn = true\n"
        "  end)\n"
        "  wentOn = true\n"
        "end\n",
        // coroutine.resume taken from the frame of a resuming thread; the
        // value caught would be kept for later.
        "function start(id)\n"
        "  local outer = coroutine.running()\n"
        "  coroutine.resume(coroutine.create(function()\n"
        "    local resume = debug.getinfo(outer, 0, 'f').func\n"
        "    local ok, value = resume(coroutine.create(function() newObject(7, '') end))\n"
        "    caught = value\n"
        "    wentOn = true\n"
        "  end))\n"
        "  wentOn = true\n"
        "end\n",
        // A message handler, and a coroutine resumed inside a wrapped one.
        "function start(id)\n"
        "  xpcall(function() newObject(7, '') end, function() wentOn = true end)\n"
        "  wentOn = true\n"
        "end\n",
        "function start(id)\n"
        "  coroutine.wrap(function()\n"
        "    coroutine.resume(coroutine.create(function() newObject(7, '') end))\n"
        "    wentOn = true\n"
        "  end)()\n"
        "  wentOn = true\n"
        "end\n",
        // No debug library: a finalizer fails while loadstring parses.
        "function start(id)\n"
        "  local source = string.rep('local a = 1 ', 50)\n"
        "  collectgarbage('setpause', 0)\n"
        "  collectgarbage('setstepmul', 1e8)\n"
        "  local proxy = newproxy(true)\n"
        "  getmetatable(proxy).__gc = function() newObject(7, '') end\n"
        "  proxy = nil\n"
        "  local chunk = loadstring(source)\n"
        "  wentOn = true\n"
        "end\n",
    };
    for (const char* attempt : attempts) {
        SCOPED_TRACE(attempt);
        core.reset();
        platformFake.fakeSystem.boxes.clear();
        Object* object = scripted(attempt);
        EXPECT_THROW(object->startThread("start"), Log::Fatal);
        expectOneReportAndAStoppedScript(object, "Object type 7 cannot be made.");
        EXPECT_FALSE(shared("wentOn"));
        // Nothing was kept that a later failure could raise in place of its
        // own report.
        EXPECT_FALSE(shared("caught"));
        Object* later = scripted("function start(id) error(caught or 'its own', 0) end");
        EXPECT_THROW(later->startThread("start"), Log::Fatal);
        ASSERT_EQ(boxes().size(), 2u);
        EXPECT_EQ(boxes()[1].text, "its own");
    }
}

TEST_F(HostFailures, AFatalErrorInAMainChunkIsReportedOnce) {
    Object* object = scripted(
        "pcall(newObject, 7, '')\nwentOn = true\n"
        "function start(id) setKey(id, 'went on', true) end");
    EXPECT_THROW(object->startThread("start"), Log::Fatal);
    expectOneReportAndAStoppedScript(object, "Object type 7 cannot be made.");
}

TEST_F(HostFailures, LaterFailuresStillReportTheirOwnMessages) {
    Object* first =
        scripted("function start(id) pcall(newObject, 7, ''); setKey(id, 'went on', true) end");
    EXPECT_THROW(first->startThread("start"), Log::Fatal);
    Object* second = scripted("function start(id) error('second failure', 0) end");
    EXPECT_THROW(second->startThread("start"), Log::Fatal);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].text, "second failure");
    // An ordinary error in a protected call is still the script's to catch.
    Object* third = scripted(
        "function start(id) local ok = pcall(error, 'x'); setKey(id, 'caught', not ok) end");
    ASSERT_TRUE(third->startThread("start"));
    EXPECT_TRUE(third->getBool("caught"));
    EXPECT_EQ(boxes().size(), 2u);
}

}  // namespace
