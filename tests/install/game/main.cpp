// A game on an installed engine, without a window: makes sleepers whose script
// threads pause and wait, runs the main loop, then saves and loads the state.
// It checks what it sees and exits non-zero on the first thing that is wrong.
//
//   engine_client script-folder state-file
#include <cmath>
#include <cstdio>
#include <string>

#include <tessak/core/core.h>
#include <tessak/core/object.h>
#include <tessak/log/log.h>
#include <tessak/platform/headless/headless_platform.h>
#include <tessak/platform/platform.h>

namespace {

float gameTime = 0.0f;
float longestFrame = 0.0f;
int failures = 0;
bool checkedWhileAsleep = false;
const Core* running = nullptr;

void expect(bool condition, const std::string& what) {
    if (!condition) {
        std::fprintf(stderr, "FAIL: %s\n", what.c_str());
        ++failures;
    }
}

int now(lua_State* L) {
    lua_pushnumber(L, gameTime);
    return 1;
}

const Object* find(const Core& core, int id) {
    for (const Object* object : core.getObjects()) {
        if (object->getId() == id) {
            return object;
        }
    }
    return nullptr;
}

void frame(float dt) {
    gameTime += dt;
    longestFrame = std::fmax(longestFrame, dt);
    // Part way through, the first sleeper (0.25 s) is awake and the second (0.5 s) is not.
    if (!checkedWhileAsleep && gameTime >= 0.35f) {
        checkedWhileAsleep = true;
        expect(find(*running, 1)->getBool("awake"), "sleeper 1 awake after 0.35 s");
        expect(!find(*running, 2)->getBool("awake"), "sleeper 2 still paused after 0.35 s");
        expect(find(*running, 2)->getWaitTime() > 0.0f, "sleeper 2 has pause left");
    }
    if (gameTime >= 1.0f) {
        platform::current().system().postQuitMessage(0);
    }
}

double woken(const Core& core) {
    lua_State* L = core.getLuaState();
    lua_getfield(L, LUA_GLOBALSINDEX, "woken");
    const double count = lua_tonumber(L, -1);
    lua_pop(L, 1);
    return count;
}

void expectAwake(const Core& core, const std::string& when) {
    expect(core.getObjects().size() == 2, when + ": two objects");
    for (int id = 1; id <= 2; ++id) {
        const Object* sleeper = find(core, id);
        expect(sleeper != nullptr, when + ": object " + std::to_string(id) + " exists");
        if (sleeper == nullptr) {
            continue;
        }
        const std::string name = "sleeper " + std::to_string(id);
        expect(sleeper->getString("name") == name, when + ": name of " + name);
        expect(sleeper->getBool("awake"), when + ": " + name + " awake");
        const double slept = sleeper->getNumber("wokeUp") - sleeper->getNumber("fellAsleep");
        // Paused for 0.25 s per id. The update that ends the pause runs before
        // the frame adds its time to the clock, so the clock reads up to one
        // frame short of the pause when the sleeper wakes, never past it.
        const double pause = 0.25 * id;
        expect(slept >= pause - longestFrame - 0.001 && slept <= pause + 0.001,
               when + ": " + name + " slept " + std::to_string(slept) + " s (longest frame " +
                   std::to_string(longestFrame) + " s)");
    }
    expect(woken(core) == 2, when + ": both counted in the shared global");
}

int runClient(const std::string& scriptFolder, const std::string& stateFile) {
    Core core(nullptr, frame);
    running = &core;
    core.registerFunction("now", now);
    core.reset();
    for (int i = 0; i < 2; ++i) {
        Object* sleeper = core.createObject(0, scriptFolder + "/sleeper.lua");
        expect(sleeper->startThread("start"), "thread started");
    }
    core.run();
    expect(checkedWhileAsleep, "the loop ran past 0.35 s");
    expectAwake(core, "after the run");

    expect(core.saveState(stateFile), "state saved to " + stateFile);
    // Spoil what the save holds, so that a load that reads nothing is caught.
    for (Object* object : core.getObjects()) {
        object->setBool("awake", 0);
        object->setString("name", "spoilt");
    }
    expect(core.loadState(stateFile), "state loaded from " + stateFile);
    expectAwake(core, "after the load");
    running = nullptr;
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: engine_client script-folder state-file\n");
        return 2;
    }
    platform::headless::HeadlessPlatform backend;
    platform::install(&backend);
    int status = 1;
    try {
        status = runClient(argv[1], argv[2]);
    } catch (const Log::Fatal&) {
        std::fprintf(stderr, "FAIL: the engine stopped on a fatal error (see its log)\n");
    }
    platform::install(nullptr);
    if (status == 0) {
        std::printf("PASS: objects, paused threads, save and load\n");
    }
    return status;
}
