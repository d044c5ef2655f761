// Resets and loads asked for at awkward moments: from an object's update while
// the pass walks the objects, and from host functions that scripts call.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/core.h"
#include "core/lock.h"
#include "core/object.h"
#include "fakes/fake_platform.h"

namespace {

constexpr std::int32_t RESETTING = 21;
constexpr std::int32_t LOADING = 22;

Core* current = nullptr;
std::string savedPath;

// Host code inside the update pass: an object type whose update starts over.
class ResettingObject : public Object {
public:
    void update(float) override {
        core->reset();
        // The object itself must still be usable until its update returns.
        waitTime = 1.0f;
    }
};

class LoadingObject : public Object {
public:
    void update(float) override {
        loaded = core->loadState(savedPath);
        waitTime = 1.0f;
    }
    bool loaded = false;
};

Object* makeObject(std::int32_t type) {
    switch (type) {
        case RESETTING:
            return new ResettingObject();
        case LOADING:
            return new LoadingObject();
        default:
            return nullptr;
    }
}

int hostReset(lua_State*) {
    current->reset();
    return 0;
}

int hostLoad(lua_State* L) {
    lua_pushboolean(L, current->loadState(savedPath));
    return 1;
}

class ReentrantCore : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 (std::string("core_reentrant_") + info->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        savedPath = (folder / "saved.bin").string();
        current = &core;
        core.registerFunction("hostReset", hostReset);
        core.registerFunction("hostLoad", hostLoad);
        core.reset();
    }
    void TearDown() override {
        current = nullptr;
        std::filesystem::remove_all(folder);
    }

    std::string writeScript(const std::string& text) {
        const std::string path = (folder / ("s" + std::to_string(++scripts) + ".lua")).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // Two paused plain objects saved to savedPath, then a fresh core.
    void saveTwoPausedObjects() {
        core.createObject(0, "")->setWaitTime(1.0f);
        core.createObject(0, "")->setWaitTime(1.0f);
        ASSERT_TRUE(core.saveState(savedPath));
        core.reset();
    }
    const std::vector<fakes::MessageBoxCall>& boxes() const {
        return platformFake.fakeSystem.boxes;
    }

    fakes::FakePlatform platformFake;
    std::filesystem::path folder;
    Core core{makeObject, nullptr};
    int scripts = 0;
};

TEST_F(ReentrantCore, ResetFromAnObjectsUpdateEndsThePass) {
    Object* before = core.createObject(0, "");
    before->pause(0.01f);
    core.createObject(RESETTING, "");
    Object* after = core.createObject(0, "");
    after->pause(5.0f);
    core.updateObjects(0.02f);
    EXPECT_TRUE(core.getObjects().empty());
    EXPECT_TRUE(core.getLocks().empty());
    EXPECT_EQ(core.getNextObjectId(), 1);
    // The core works on as after any reset.
    Object* fresh = core.createObject(0, "");
    fresh->pause(0.01f);
    core.updateObjects(0.02f);
    EXPECT_TRUE(core.getLocks().empty());
    EXPECT_EQ(fresh->getWaitTime(), 0.0f);
}

TEST_F(ReentrantCore, LoadFromAnObjectsUpdateUpdatesTheLoadedObjectsFromTheNextFrame) {
    saveTwoPausedObjects();
    core.createObject(LOADING, "");
    core.createObject(0, "")->pause(3.0f);
    core.updateObjects(0.25f);
    ASSERT_EQ(core.getObjects().size(), 2u);
    for (const Object* object : core.getObjects()) {
        EXPECT_EQ(object->getWaitTime(), 1.0f);
    }
    core.updateObjects(0.25f);
    for (const Object* object : core.getObjects()) {
        EXPECT_EQ(object->getWaitTime(), 0.75f);
    }
    EXPECT_EQ(core.getNextObjectId(), 3);
}

TEST_F(ReentrantCore, ScriptsCannotResetOrLoadTheStateTheyRunIn) {
    saveTwoPausedObjects();
    Object* object = core.createObject(0, writeScript("function start(id)\n"
                                                      "  setKey(id, 'loaded', hostLoad())\n"
                                                      "  hostReset()\n"
                                                      "  wait(pause(id, 0.01))\n"
                                                      "  setKey(id, 'after', true)\n"
                                                      "end\n"));
    ASSERT_TRUE(object->startThread("start"));
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_NE(boxes()[0].text.find("script"), std::string::npos) << boxes()[0].text;
    EXPECT_EQ(boxes()[0].style, 0x1030u);
    EXPECT_EQ(boxes()[1].style, 0x1030u);
    ASSERT_EQ(core.getObjects().size(), 1u);
    EXPECT_FALSE(object->getBool("loaded"));
    EXPECT_EQ(object->getType(), 0);
    core.updateObjects(0.02f);
    EXPECT_TRUE(object->getBool("after"));
    EXPECT_TRUE(core.getThreads().empty());
}

TEST_F(ReentrantCore, MainChunksAndHostChunksCannotResetEither) {
    Object* object =
        core.createObject(0, writeScript("hostReset()\n"
                                         "function start(id) setKey(id, 'ran', true) end\n"));
    ASSERT_TRUE(object->startThread("start"));
    EXPECT_TRUE(object->getBool("ran"));
    EXPECT_EQ(boxes().size(), 1u);
    lua_State* L = core.getLuaState();
    ASSERT_EQ(luaL_dostring(L, "x = 1; hostReset(); y = hostLoad() and 1 or 2"), 0);
    EXPECT_EQ(boxes().size(), 3u);
    EXPECT_EQ(core.getLuaState(), L);
    lua_getfield(L, LUA_GLOBALSINDEX, "y");
    EXPECT_EQ(lua_tonumber(L, -1), 2);
    lua_pop(L, 1);
    EXPECT_EQ(core.getObjects().size(), 1u);
}

}  // namespace
