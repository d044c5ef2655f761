// Writes the fuzz target's seed files: real saved states, small enough to
// mutate quickly. Usage: make_corpus <folder>
#include <cstdio>
#include <string>

#include "core/core.h"
#include "core/object.h"
#include "platform/headless/headless_platform.h"
#include "state_fuzz_factory.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    platform::headless::HeadlessPlatform backend;
    platform::install(&backend);
    Core core(fuzz::makeObject, nullptr);
    bool ok = true;

    core.reset();
    ok &= core.saveState(folder + "/empty.bin");

    luaL_dostring(core.getLuaState(), "x = 2; name = 'tessak'; on = true; off = false");
    ok &= core.saveState(folder + "/variables.bin");

    Object* first = core.createObject(0, "first.lua");
    first->setNumber("speed", 1.5);
    first->setString("label", "abc");
    first->setBool("flag", 1);
    Object* second = core.createObject(4, "");
    second->setWaitTime(0.25f);
    first->setObject("peer", second);
    ok &= core.saveState(folder + "/objects.bin");

    core.reset();
    Object* only = core.createObject(0, "a.lua");
    only->setId(5);
    core.setNextObjectId(10);
    only->setBool("B", 2);
    ok &= core.saveState(folder + "/ids.bin");
    return ok ? 0 : 1;
}
