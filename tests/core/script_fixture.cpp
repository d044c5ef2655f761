#include "script_fixture.h"

#include <fstream>

void ScriptTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = std::filesystem::temp_directory_path() /
             (std::string("core_test_") + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    core.reset();
}

void ScriptTest::TearDown() { std::filesystem::remove_all(folder); }

std::string ScriptTest::writeScript(const std::string& name, const std::string& text) {
    const std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

Object* ScriptTest::scripted(const std::string& text) {
    const std::string path = writeScript("script" + std::to_string(++scriptCount) + ".lua", text);
    return core.createObject(0, path);
}

void ScriptTest::frames(int count, float dt) {
    for (int i = 0; i < count; ++i) {
        core.updateObjects(dt);
    }
}

std::string ScriptTest::lastBox() const {
    const auto& boxes = platformFake.fakeSystem.boxes;
    return boxes.empty() ? std::string() : boxes.back().text;
}

void ScriptTest::runMain(const std::string& chunk) {
    lua_State* L = core.getLuaState();
    if (luaL_dostring(L, chunk.c_str()) != 0) {
        ADD_FAILURE() << lua_tostring(L, -1);
        lua_pop(L, 1);
    }
}

double ScriptTest::mainNumber(const std::string& name) {
    lua_State* L = core.getLuaState();
    lua_getfield(L, LUA_GLOBALSINDEX, name.c_str());
    const double value = lua_tonumber(L, -1);
    lua_pop(L, 1);
    return value;
}
