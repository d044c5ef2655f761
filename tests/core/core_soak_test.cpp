// A thousand and more frames of scripted objects that make, delete and pause each
// other at random while the host starts their threads, deletes objects and
// saves and loads the whole state now and then. In debug and sanitizer builds
// the core checks its bookkeeping after every change meanwhile.
#include <algorithm>
#include <cstdio>
#include <random>
#include <set>
#include <vector>

#include "script_fixture.h"

namespace {

const char* const BUSY_SCRIPT =
    "function start(id)\n"
    "  while true do\n"
    "    local roll = math.random(100)\n"
    "    if roll <= 8 then\n"
    "      newObject(0, SCRIPT)\n"
    "    elseif roll <= 14 then\n"
    "      local victim = math.random(id + 10)\n"
    "      if deleteObject(victim) and victim == id then return end\n"
    "    elseif roll <= 18 then\n"
    "      pause(math.random(id + 5), 0.05)\n"
    "    end\n"
    "    setKey(id, 'turns', (getKey(id, 'turns') or 0) + 1)\n"
    "    wait(pause(id, 0.001 + math.random() * 0.06))\n"
    "  end\n"
    "end\n";

using CoreSoak = ScriptTest;

TEST_F(CoreSoak, ObjectsMakingDeletingAndPausingEachOtherForManyFrames) {
    const std::string script = writeScript("busy.lua", BUSY_SCRIPT);
    // The path becomes a Lua string literal: Windows' backslashes must be escaped.
    std::string scriptLiteral;
    for (const char c : script) {
        if (c == '\\') {
            scriptLiteral += '\\';
        }
        scriptLiteral += c;
    }
    runMain("math.randomseed(7); SCRIPT = '" + scriptLiteral + "'");
    const std::string saved = (folder / "soak.bin").string();
    std::mt19937 random(20261208);
    std::set<std::int32_t> started;
    long long turns = 0, loads = 0, hostDeletes = 0, mostObjects = 0;

    for (int i = 0; i < 8; ++i) {
        core.createObject(0, script);
    }
    for (int frame = 0; frame < 900; ++frame) {
        // New objects (the scripts' and the host's) get their threads.
        // A thread started here may delete other objects: go by identifier.
        std::vector<std::int32_t> ids;
        for (const Object* object : core.getObjects()) {
            ids.push_back(object->getId());
        }
        for (const std::int32_t id : ids) {
            Object* object = core.findObject(id);
            if (object != nullptr && started.insert(id).second) {
                object->startThread("start");
            }
        }
        core.updateObjects(std::uniform_real_distribution<float>(0.001f, 0.022f)(random));
        mostObjects = std::max(mostObjects, static_cast<long long>(core.getObjects().size()));
        while (core.getObjects().size() > 30 ||
               (!core.getObjects().empty() && random() % 50 == 0)) {
            const auto victim =
                std::next(core.getObjects().begin(), random() % core.getObjects().size());
            hostDeletes += core.deleteObject((*victim)->getId()) ? 1 : 0;
        }
        if (core.getObjects().empty()) {
            core.createObject(0, script);
        }
        if (frame % 300 == 299) {
            for (const Object* object : core.getObjects()) {
                turns += static_cast<long long>(object->getNumber("turns"));
            }
            // The loaded objects run again from their start functions.
            ASSERT_TRUE(core.saveState(saved));
            ASSERT_TRUE(core.loadState(saved));
            started.clear();
            ++loads;
        }
    }
    std::printf("turns %lld, host deletes %lld, most objects %lld\n", turns, hostDeletes,
                mostObjects);
    EXPECT_TRUE(platformFake.fakeSystem.boxes.empty()) << lastBox();
    EXPECT_GT(turns, 1000);
    EXPECT_GT(hostDeletes, 10);
    EXPECT_GT(mostObjects, 15);
    EXPECT_EQ(loads, 3);
    EXPECT_LE(core.getLocks().size(), core.getObjects().size() + 10);
    core.reset();
    EXPECT_TRUE(core.getObjects().empty());
    EXPECT_TRUE(core.getThreads().empty());
    EXPECT_TRUE(core.getLocks().empty());
}

}  // namespace
