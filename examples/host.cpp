// A small host: makes three walkers, starts their threads, runs the main loop for
// one second of game time, then saves the state, loads it back and shows it.
//
//   engine_example [script-folder]
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/core.h"
#include "core/key_type.h"
#include "core/object.h"
#include "log/log.h"
#include "platform/headless/headless_platform.h"
#include "platform/platform.h"

namespace {

float gameTime = 0.0f;

// The game's part of each frame: here it only decides when to stop.
void frame(float dt) {
    gameTime += dt;
    if (gameTime >= 0.5f) {
        platform::current().system().postQuitMessage(0);
    }
}

// A host function for scripts: say(text).
int say(lua_State* L) {
    const char* text = lua_tostring(L, 1);
    std::printf("script says: %s\n", text != nullptr ? text : "(nothing)");
    return 0;
}

void show(const Core& core) {
    lua_State* L = core.getLuaState();
    lua_getfield(L, LUA_GLOBALSINDEX, "totalSteps");
    std::printf("  totalSteps = %g\n", lua_tonumber(L, -1));
    lua_pop(L, 1);
    for (const Object* object : core.getObjects()) {
        std::printf("  object %d (%s): x = %g, arrived = %s, pause left %.3f s\n", object->getId(),
                    object->getString("name").c_str(), object->getNumber("x"),
                    object->getBool("arrived") ? "yes" : "no", object->getWaitTime());
    }
}

int runExample(const std::string& scriptFolder) {
    Core core(nullptr, frame);
    core.registerFunction("say", say);
    core.reset();

    const std::string script = scriptFolder + "/walker.lua";
    for (int i = 0; i < 3; ++i) {
        Object* walker = core.createObject(0, script);
        walker->startThread("start");
    }
    core.run();
    std::printf("after %.2f s of game time:\n", gameTime);
    show(core);

    const std::string saved =
        (std::filesystem::temp_directory_path() / "engine_example_state.bin").string();
    if (!core.saveState(saved)) {
        std::fprintf(stderr, "cannot write %s\n", saved.c_str());
        return 1;
    }
    core.loadState(saved);
    std::printf("loaded back from %s (threads are not part of a save):\n", saved.c_str());
    show(core);
    std::filesystem::remove(saved);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    platform::headless::HeadlessPlatform backend;
    platform::install(&backend);
    const std::string scriptFolder = argc > 1 ? argv[1] : EXAMPLE_SCRIPT_FOLDER;
    int status = 0;
    try {
        status = runExample(scriptFolder);
    } catch (const Log::Fatal&) {
        // The error level has shown and logged its message.
        status = 1;
    }
    platform::install(nullptr);
    return status;
}
