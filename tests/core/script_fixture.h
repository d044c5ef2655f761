#pragma once
// A reset core over the fake platform, with script files written to a fresh
// temporary folder per test.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/core.h"
#include "core/object.h"
#include "fakes/fake_platform.h"

class ScriptTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a script file and returns its path.
    std::string writeScript(const std::string& name, const std::string& text);
    // A plain object whose script file holds the text.
    Object* scripted(const std::string& text);
    void frames(int count, float dt);
    // The text of the last message box (the error level shows one), or "".
    std::string lastBox() const;
    // Runs a chunk on the main state; fails the test on a Lua error.
    void runMain(const std::string& chunk);
    // A number global of the main state (reads `state`, then the library table).
    double mainNumber(const std::string& name);

    fakes::FakePlatform platformFake;
    std::filesystem::path folder;
    Core core{nullptr, nullptr};
    int scriptCount = 0;
};
