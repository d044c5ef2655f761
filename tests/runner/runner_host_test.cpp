// The Runner over the fake platform and graphics: what a script's drawSprite
// and drawText reach the sprite batch as, and what a loadGame restarts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <lua.hpp>

#include "core/core.h"
#include "fakes/fake_graphics.h"
#include "fakes/fake_platform.h"
#include "runner/runner.h"

namespace fs = std::filesystem;

namespace {

class RunnerHostTest : public ::testing::Test {
protected:
    RunnerHostTest() : graphics(platformFake), home(fs::current_path()) {
        // A folder per test: ctest runs them side by side.
        folder = fs::path(::testing::TempDir()) /
                 (std::string("runner_host_") +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder / "data");
        fs::current_path(folder);
        platformFake.fakeSystem.dataFolderPath = (folder / "data").string();
        platformFake.fakeSystem.clockStep = 16;
        graphics.addImage("/font.png", 192, 144);
        graphics.addImage("pic.png", 32, 16);
    }
    ~RunnerHostTest() override { fs::current_path(home); }

    // Where saveGame puts a file: the data folder is named after the game folder.
    fs::path saved(const char* name) const {
        return folder / "data" / "tessak-run" / folder.filename() / name;
    }

    // Runs main.lua until it quits; the runner is kept for a look at its state.
    void run(const std::string& mainScript) {
        std::ofstream(folder / "main.lua") << mainScript;
        runner::Runner::Setup setup;
        setup.gameFolder = folder.string();
        setup.fontFile = "/font.png";
        host = std::make_unique<runner::Runner>(setup);
        ASSERT_EQ(host->run(), 0);
    }

    std::string global(const char* name) {
        lua_State* L = host->core().getLuaState();
        lua_getglobal(L, name);
        const char* text = lua_tostring(L, -1);
        const std::string value = text != nullptr ? text : "nil";
        lua_pop(L, 1);
        return value;
    }

    fakes::FakePlatform platformFake;
    fakes::FakeGraphics graphics;
    fs::path home;
    fs::path folder;
    std::unique_ptr<runner::Runner> host;
};

TEST_F(RunnerHostTest, DrawSpriteOptionsBecomeTheSpritesTransformSourceAndColour) {
    run("local pic = loadTexture('pic.png')\n"
        "function start(id)\n"
        "  drawSprite(pic, 10.5, 20.25, {angle = 90, scale = 2, tint = {255, 0, 0, 128},\n"
        "                                source = {4, 0, 8, 8}, centre = {0, 0}})\n"
        "  drawText(100, 50, 'A', {tint = 0x8000FF00, scale = 0.5})\n"
        "  wait(nextFrame(id))\n"
        "  quit()\n"
        "end\n");
    const auto& draws = graphics.sprite().draws;
    ASSERT_GE(draws.size(), 2u);
    const fakes::SpriteDraw& sprite = draws[0];
    EXPECT_EQ(sprite.source.left, 4);
    EXPECT_EQ(sprite.source.right, 12);
    EXPECT_EQ(sprite.source.bottom, 8);
    EXPECT_EQ(sprite.colour, 0x80FF0000u);
    // Turned a quarter clockwise about its top-left corner, twice the size.
    const platform::Vector2 corner = sprite.screenPoint(8, 0);
    EXPECT_NEAR(corner.x, 10.5f, 1e-3f);
    EXPECT_NEAR(corner.y, 20.25f + 16, 1e-3f);

    const fakes::SpriteDraw& glyph = draws[1];
    EXPECT_EQ(glyph.colour, 0x8000FF00u);
    EXPECT_EQ(glyph.source.left, 12);  // 'A': cell 33, column 1 of row 2
    EXPECT_EQ(glyph.source.top, 48);
    const platform::Vector2 far = glyph.screenPoint(12, 24);
    EXPECT_NEAR(far.x, 106.0f, 1e-3f);
    EXPECT_NEAR(far.y, 62.0f, 1e-3f);
}

TEST_F(RunnerHostTest, LoadGameRestoresTheStateAndRestartsThreadsWithResume) {
    run("function start(id)\n"
        "  phase = 'saved'\n"
        "  setKey(id, 'count', 1)\n"
        "  wait(nextFrame(id))\n"
        "  saveGame('game.save')  -- at the end of this frame\n"
        "  wait(nextFrame(id))\n"
        "  phase = 'changed'\n"
        "  setKey(id, 'count', 2)\n"
        "  loadGame('game.save')\n"
        "  wait(nextFrame(id))\n"
        "  phase = 'never reached: the load ends this thread'\n"
        "end\n"
        "function resume(id)\n"
        "  resumed = phase .. ' ' .. getKey(id, 'count')\n"
        "  quit()\n"
        "end\n");
    EXPECT_EQ(global("resumed"), "saved 1");
    EXPECT_TRUE(fs::exists(saved("game.save")));
}

TEST_F(RunnerHostTest, ASaveOfAStateHoldingATableIsRefusedAndTheGameGoesOn) {
    run("function start(id)\n"
        "  held = {}\n"
        "  saveGame('game.save')\n"
        "  wait(nextFrame(id))\n"
        "  wait(nextFrame(id))\n"
        "  went = 'on'\n"
        "  quit()\n"
        "end\n");
    EXPECT_EQ(global("went"), "on");
    EXPECT_FALSE(fs::exists(saved("game.save")));
    EXPECT_TRUE(platformFake.fakeSystem.boxes.empty());
}

}  // namespace
