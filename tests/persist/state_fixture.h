#pragma once
// A reset core over the fake platform, with helpers to run script text in its
// shared state and to save and load it in a scratch folder.
#include <gtest/gtest.h>

#include <string>

#include "core/core.h"
#include "core/object.h"
#include "fakes/fake_platform.h"
#include "file_bytes.h"

namespace persist_test {

// Objects of type 4 carry an extra count in their body; the other codes make none.
constexpr std::int32_t COUNTER_TYPE = 4;

class CounterObject : public Object {
public:
    std::int32_t counter = 0;
    void write(OutputArchive& archive) override;
    void read(InputArchive& archive) override;
};

Object* testFactory(std::int32_t type);

class StateTest : public ::testing::Test {
protected:
    StateTest() { core.reset(); }

    lua_State* lua() const { return core.getLuaState(); }
    // Runs script text on the main state; its globals go to the shared state.
    void run(const std::string& chunk);
    // The global's value converted by tostring, or "none" when there is no entry
    // of that name in the shared state itself.
    std::string variable(const std::string& name);

    Bytes saved(const std::string& name = "state.bin");
    // Writes the bytes, loads them, and returns loadState's result.
    bool loadBytes(const Bytes& bytes);
    // The core as it is right after a reset.
    void expectFresh();

    fakes::FakePlatform platform;
    Core core{testFactory, nullptr};
    ScratchFolder folder;
};

}  // namespace persist_test
