#include "state_fixture.h"

#include "persist/input_archive.h"
#include "persist/output_archive.h"

namespace persist_test {

void CounterObject::write(OutputArchive& archive) {
    Object::write(archive);
    archive.write(counter);
}

void CounterObject::read(InputArchive& archive) {
    Object::read(archive);
    counter = archive.readInt();
}

Object* testFactory(std::int32_t type) {
    return type == COUNTER_TYPE ? new CounterObject : nullptr;
}

void StateTest::run(const std::string& chunk) {
    ASSERT_EQ(luaL_dostring(lua(), chunk.c_str()), 0) << lua_tostring(lua(), -1);
}

std::string StateTest::variable(const std::string& name) {
    lua_State* state = lua();
    lua_pushstring(state, name.c_str());
    lua_rawget(state, LUA_GLOBALSINDEX);
    std::string text;
    switch (lua_type(state, -1)) {
        case LUA_TNIL:
            text = "none";
            break;
        case LUA_TBOOLEAN:
            text = lua_toboolean(state, -1) ? "true" : "false";
            break;
        case LUA_TNUMBER:
            text = "number " + std::string(lua_tostring(state, -1));
            break;
        case LUA_TSTRING: {
            size_t length = 0;
            const char* chars = lua_tolstring(state, -1, &length);
            text = "string " + std::string(chars, length);
            break;
        }
        default:
            text = lua_typename(state, lua_type(state, -1));
    }
    lua_pop(state, 1);
    return text;
}

Bytes StateTest::saved(const std::string& name) {
    const std::string path = folder.file(name).string();
    EXPECT_TRUE(core.saveState(path));
    return readFile(path);
}

bool StateTest::loadBytes(const Bytes& bytes) {
    const auto path = folder.file("crafted.bin");
    writeFile(path, bytes);
    return core.loadState(path.string());
}

void StateTest::expectFresh() {
    EXPECT_TRUE(core.getObjects().empty());
    EXPECT_EQ(core.getNextObjectId(), 1);
    lua_State* state = lua();
    lua_pushnil(state);
    const bool hasEntry = lua_next(state, LUA_GLOBALSINDEX) != 0;
    if (hasEntry) {
        lua_pop(state, 2);
    }
    EXPECT_FALSE(hasEntry) << "the shared state is not empty";
}

}  // namespace persist_test
