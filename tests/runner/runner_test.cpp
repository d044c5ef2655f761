// tessak-run's portable parts: key names and edges, the font layout, the
// frame's picture, conf.lua, the script watch, tracebacks and error boxes.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include <lua.hpp>

#include "fakes/fake_platform.h"
#include "runner/draw_list.h"
#include "runner/game_config.h"
#include "runner/input_state.h"
#include "runner/key_names.h"
#include "runner/reporting_platform.h"
#include "runner/runner.h"
#include "runner/script_watch.h"
#include "runner/traceback.h"

namespace fs = std::filesystem;

namespace {

fs::path freshFolder(const std::string& name) {
    const fs::path folder = fs::path(::testing::TempDir()) / ("runner_test_" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(KeyEdges, FollowTheKeyFromOneFrameToTheNext) {
    struct Case {
        bool wasDown, downOrPressedSince, pressed, released;
    } cases[] = {
        {false, false, false, false},  // idle
        {false, true, true, false},    // goes down (or was tapped since the last poll)
        {true, true, false, false},    // held
        {true, false, false, true},    // goes up
    };
    for (const Case& c : cases) {
        const runner::KeyEdges edges = runner::keyEdges(c.wasDown, c.downOrPressedSince);
        EXPECT_EQ(edges.down, c.downOrPressedSince);
        EXPECT_EQ(edges.pressed, c.pressed) << c.wasDown << c.downOrPressedSince;
        EXPECT_EQ(edges.released, c.released) << c.wasDown << c.downOrPressedSince;
    }
}

TEST(KeyNames, NameTheVirtualKeys) {
    const std::pair<const char*, int> names[] = {
        {"left", 0x25}, {"space", 0x20}, {"a", 0x41},      {"z", 0x5A},         {"0", 0x30},
        {"f1", 0x70},   {"f12", 0x7B},   {"escape", 0x1B}, {"mouseleft", 0x01}, {"kp5", 0x65},
    };
    for (const auto& [name, code] : names) {
        EXPECT_EQ(runner::virtualKeyOfName(name), code) << name;
    }
    EXPECT_EQ(runner::virtualKeyOfName("Left"), 0);
    EXPECT_EQ(runner::virtualKeyOfName("nokey"), 0);
}

TEST(InputState, ATapBetweenTwoPollsIsPressedOnceThenReleased) {
    fakes::FakePlatform platform;
    runner::InputState input;
    platform.fakeInput.tapped.insert(0x20);
    platform.fakeInput.cursor = platform::Point{12, 34};
    input.poll(platform.fakeInput, nullptr);
    EXPECT_TRUE(input.key(0x20).pressed);
    EXPECT_EQ(input.cursor().x, 12);
    input.poll(platform.fakeInput, nullptr);
    EXPECT_FALSE(input.key(0x20).pressed);
    EXPECT_TRUE(input.key(0x20).released);
    input.poll(platform.fakeInput, nullptr);
    EXPECT_FALSE(input.key(0x20).released);
}

TEST(LayoutText, PlacesOneCellPerCharacterAndLine) {
    float width = 0;
    float height = 0;
    const auto draws = runner::layoutText(7, 10, 20, "A b\n\x7f", 2.0f, 0x80FFFFFF, width, height);
    ASSERT_EQ(draws.size(), 3u);  // the blank draws nothing
    EXPECT_EQ(draws[0].texture, 7);
    EXPECT_EQ(draws[0].source.left, 1 * 12);  // 'A' is cell 33: column 1, row 2
    EXPECT_EQ(draws[0].source.top, 2 * 24);
    EXPECT_EQ(draws[0].source.right - draws[0].source.left, 12);
    EXPECT_FLOAT_EQ(draws[1].x, 10 + 2 * 24.0f);
    EXPECT_FLOAT_EQ(draws[2].y, 20 + 48.0f);
    EXPECT_EQ(draws[2].source.left, ('?' - 32) % 16 * 12);  // outside the font
    EXPECT_EQ(draws[2].colour, 0x80FFFFFFu);
    EXPECT_FLOAT_EQ(width, 3 * 24.0f);
    EXPECT_FLOAT_EQ(height, 2 * 48.0f);
}

TEST(DrawList, AFrameWithoutRequestsKeepsTheLastPicture) {
    runner::DrawList list;
    runner::SpriteDraw sprite;
    sprite.texture = 3;
    list.add(sprite);
    list.setClearColour(0xFF102030);
    list.settle();
    ASSERT_EQ(list.picture().size(), 1u);
    list.settle();
    EXPECT_EQ(list.picture().size(), 1u);
    EXPECT_TRUE(list.hasClearColour());
    list.setClearColour(0xFF000000);
    list.settle();
    EXPECT_TRUE(list.picture().empty());
    EXPECT_EQ(list.clearColour(), 0xFF000000u);
}

TEST(GameConfig, ReadsWhatConfLuaSets) {
    const fs::path folder = freshFolder("conf");
    struct Case {
        const char* text;
        bool read;
        const char* problem;  // part of the message when not read
    } cases[] = {
        {"title = 'Mine' width, height = 640, 480 fullscreen = true identity = 'mine'", true, ""},
        {"", true, ""},
        {"width = 'wide'", false, "'width' must be a number"},
        {"fullscreen = 1", false, "'fullscreen' must be true or false"},
        {"title = ", false, "conf.lua:1:"},
        {"os.exit(3)", false, "attempt to index global 'os'"},
    };
    for (const Case& c : cases) {
        writeFile(folder / "conf.lua", c.text);
        runner::GameConfig config;
        std::string problem;
        EXPECT_EQ(runner::readGameConfig((folder / "conf.lua").string(), config, problem), c.read)
            << c.text;
        EXPECT_NE(problem.find(c.problem), std::string::npos) << c.text << ": " << problem;
    }
    runner::GameConfig config;
    std::string problem;
    writeFile(folder / "conf.lua", cases[0].text);
    runner::readGameConfig((folder / "conf.lua").string(), config, problem);
    EXPECT_EQ(config.title, "Mine");
    EXPECT_EQ(config.width, 640);
    EXPECT_EQ(config.height, 480);
    EXPECT_TRUE(config.fullscreen);
    EXPECT_EQ(config.identity, "mine");
}

TEST(ScriptWatch, SeesAChangedAddedOrBrokenScript) {
    const fs::path folder = freshFolder("watch");
    writeFile(folder / "main.lua", "function start(id) end\n");
    writeFile(folder / "notes.txt", "not a script");
    runner::ScriptWatch watch;
    watch.start(folder.string());
    EXPECT_FALSE(watch.changed());
    writeFile(folder / "notes.txt", "still not a script");
    EXPECT_FALSE(watch.changed());
    fs::create_directories(folder / "more");
    writeFile(folder / "more" / "extra.lua", "x = (\n");
    EXPECT_TRUE(watch.changed());
    EXPECT_FALSE(watch.changed());
    EXPECT_EQ(watch.scripts(), (std::vector<std::string>{"main.lua", "more/extra.lua"}));

    const std::string errors = runner::compileErrors(
        {(folder / "main.lua").string(), (folder / "more" / "extra.lua").string()});
    EXPECT_EQ(errors.find("main.lua"), std::string::npos) << errors;
    EXPECT_NE(errors.find("extra.lua:2:"), std::string::npos) << errors;
}

TEST(PageText, EscapesMarkupAndKeepsLinesAndIndentation) {
    EXPECT_EQ(runner::pageText("<a> & b\n  in c"), "&lt;a&gt; &amp; b<br>&nbsp;&nbsp;in c");
}

TEST(Traceback, ReadsTheFramesOfAFailedThread) {
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    ASSERT_EQ(luaL_dostring(L,
                            "function inner() error('boom') end\n"
                            "function outer() inner() end"),
              0);
    lua_State* thread = lua_newthread(L);
    lua_getglobal(thread, "outer");
    ASSERT_EQ(lua_resume(thread, 0), LUA_ERRRUN);
    const std::string text = runner::tracebackOf(thread);
    EXPECT_EQ(text.rfind("stack traceback:", 0), 0u) << text;
    EXPECT_NE(text.find("in function 'error'"), std::string::npos) << text;
    EXPECT_NE(text.find(":1: in function 'inner'"), std::string::npos) << text;
    EXPECT_NE(text.find(":2: in function <"), std::string::npos) << text;
    lua_close(L);
}

TEST(ReportingPlatform, AddsTheAddendumToErrorBoxesOnly) {
    fakes::FakePlatform backend;
    runner::ReportingPlatform reporting(backend, [] { return std::string("stack traceback:"); });
    reporting.system().messageBox("careful", "Engine", 0x1030);
    reporting.system().messageBox("broken", "Engine", 0x1010);
    ASSERT_EQ(backend.fakeSystem.boxes.size(), 2u);
    EXPECT_EQ(backend.fakeSystem.boxes[0].text, "careful");
    EXPECT_EQ(backend.fakeSystem.boxes[1].text, "broken\n\nstack traceback:");
    EXPECT_EQ(reporting.lastError(), "broken\n\nstack traceback:");
    EXPECT_EQ(reporting.lastAddendum(), "stack traceback:");
}

}  // namespace
