// tessak-run's script functions. They are thin: each reads its arguments,
// then asks the Runner. Lua errors longjmp through them (Debian's Lua is C), so
// every argument is read and checked before any C++ object is made.
#include "runner/script_functions.h"

#include <lua.hpp>

#include "core/core.h"
#include "core/object.h"
#include "graphics/texture.h"
#include "runner/key_names.h"
#include "runner/runner.h"

namespace runner {

namespace {

Runner& host() { return Runner::current(); }

std::int32_t idArgument(lua_State* L, int index) {
    return static_cast<std::int32_t>(luaL_checknumber(L, index));
}

int checkTexture(lua_State* L, int index) {
    const int handle = static_cast<int>(luaL_checknumber(L, index));
    if (host().texture(handle) == nullptr) {
        luaL_argerror(L, index, "not a texture made by loadTexture");
    }
    return handle;
}

int byte(lua_State* L, int table, int position, int otherwise) {
    lua_rawgeti(L, table, position);
    const int value = lua_isnumber(L, -1) ? static_cast<int>(lua_tonumber(L, -1)) : otherwise;
    lua_pop(L, 1);
    return value < 0 ? 0 : (value > 255 ? 255 : value);
}

// A colour: a number 0xAARRGGBB, or a table {r, g, b, a} of 0 to 255 (a 255
// when left out). Nil gives `otherwise`.
std::uint32_t colourArgument(lua_State* L, int index, std::uint32_t otherwise) {
    index = index < 0 ? lua_gettop(L) + index + 1 : index;
    switch (lua_type(L, index)) {
        case LUA_TNIL:
        case LUA_TNONE:
            return otherwise;
        case LUA_TNUMBER:
            return static_cast<std::uint32_t>(static_cast<std::int64_t>(lua_tonumber(L, index)) &
                                              0xFFFFFFFF);
        case LUA_TTABLE: {
            const std::uint32_t red = static_cast<std::uint32_t>(byte(L, index, 1, 0));
            const std::uint32_t green = static_cast<std::uint32_t>(byte(L, index, 2, 0));
            const std::uint32_t blue = static_cast<std::uint32_t>(byte(L, index, 3, 0));
            const std::uint32_t alpha = static_cast<std::uint32_t>(byte(L, index, 4, 255));
            return (alpha << 24) | (red << 16) | (green << 8) | blue;
        }
        default:
            luaL_argerror(L, index, "colour expected (0xAARRGGBB or {r, g, b, a})");
            return otherwise;
    }
}

// Field `name` of the options table at `options` as a number, or `otherwise`.
float numberOption(lua_State* L, int options, const char* name, float otherwise) {
    if (lua_type(L, options) != LUA_TTABLE) {
        return otherwise;
    }
    lua_getfield(L, options, name);
    const float value = lua_isnumber(L, -1) ? static_cast<float>(lua_tonumber(L, -1)) : otherwise;
    lua_pop(L, 1);
    return value;
}

std::uint32_t colourOption(lua_State* L, int options, std::uint32_t otherwise) {
    if (lua_type(L, options) != LUA_TTABLE) {
        return otherwise;
    }
    lua_getfield(L, options, "tint");
    const std::uint32_t colour = colourArgument(L, -1, otherwise);
    lua_pop(L, 1);
    return colour;
}

// Up to `count` numbers of the list in field `name` into `values`; false
// when the field is not a table.
bool listOption(lua_State* L, int options, const char* name, float* values, int count) {
    if (lua_type(L, options) != LUA_TTABLE) {
        return false;
    }
    lua_getfield(L, options, name);
    const bool found = lua_type(L, -1) == LUA_TTABLE;
    for (int i = 0; found && i < count; ++i) {
        lua_rawgeti(L, -1, i + 1);
        if (lua_isnumber(L, -1)) {
            values[i] = static_cast<float>(lua_tonumber(L, -1));
        }
        lua_pop(L, 1);
    }
    lua_pop(L, 1);
    return found;
}

int scriptStartThread(lua_State* L) {
    const std::int32_t id = idArgument(L, 1);
    const char* name = luaL_checkstring(L, 2);
    Object* object = host().core().findObject(id);
    const bool started = object != nullptr && host().startThread(object, name);
    lua_pushboolean(L, started);
    return 1;
}

int scriptLoadTexture(lua_State* L) {
    const char* path = luaL_checkstring(L, 1);
    const int handle = host().loadTexture(path);
    const Texture* picture = host().texture(handle);
    lua_pushnumber(L, handle);
    lua_pushnumber(L, picture->getWidth());
    lua_pushnumber(L, picture->getHeight());
    return 3;
}

int scriptDrawSprite(lua_State* L) {
    SpriteDraw draw;
    draw.texture = checkTexture(L, 1);
    draw.x = static_cast<float>(luaL_checknumber(L, 2));
    draw.y = static_cast<float>(luaL_checknumber(L, 3));
    const Texture* picture = host().texture(draw.texture);
    float source[4] = {0, 0, static_cast<float>(picture->getWidth()),
                       static_cast<float>(picture->getHeight())};
    listOption(L, 4, "source", source, 4);
    draw.source.left = static_cast<std::int32_t>(source[0]);
    draw.source.top = static_cast<std::int32_t>(source[1]);
    draw.source.right = draw.source.left + static_cast<std::int32_t>(source[2]);
    draw.source.bottom = draw.source.top + static_cast<std::int32_t>(source[3]);
    const float scale = numberOption(L, 4, "scale", 1.0f);
    draw.scaleX = numberOption(L, 4, "scaleX", scale);
    draw.scaleY = numberOption(L, 4, "scaleY", scale);
    float centre[2] = {source[2] / 2, source[3] / 2};
    listOption(L, 4, "centre", centre, 2);
    draw.centreX = centre[0] * draw.scaleX;
    draw.centreY = centre[1] * draw.scaleY;
    draw.angle = numberOption(L, 4, "angle", 0.0f);
    draw.colour = colourOption(L, 4, 0xFFFFFFFFu);
    host().drawList().add(draw);
    return 0;
}

int scriptDrawText(lua_State* L) {
    const float x = static_cast<float>(luaL_checknumber(L, 1));
    const float y = static_cast<float>(luaL_checknumber(L, 2));
    std::size_t length = 0;
    const char* text = luaL_checklstring(L, 3, &length);
    const float scale = numberOption(L, 4, "scale", 1.0f);
    const std::uint32_t colour = colourOption(L, 4, 0xFFFFFFFFu);
    float width = 0;
    float height = 0;
    host().drawList().addAll(layoutText(host().fontTexture(), x, y, std::string(text, length),
                                        scale, colour, width, height));
    lua_pushnumber(L, width);
    lua_pushnumber(L, height);
    return 2;
}

int scriptClear(lua_State* L) {
    host().drawList().setClearColour(colourArgument(L, 1, 0xFF000000u));
    return 0;
}

int keyArgument(lua_State* L) {
    const char* name = luaL_checkstring(L, 1);
    const int virtualKey = virtualKeyOfName(name);
    if (virtualKey == 0) {
        luaL_argerror(L, 1, "not a key name (see docs/scripting.md)");
    }
    return virtualKey;
}

int scriptKeyDown(lua_State* L) {
    lua_pushboolean(L, host().input().key(keyArgument(L)).down);
    return 1;
}

int scriptKeyPressed(lua_State* L) {
    lua_pushboolean(L, host().input().key(keyArgument(L)).pressed);
    return 1;
}

int scriptKeyReleased(lua_State* L) {
    lua_pushboolean(L, host().input().key(keyArgument(L)).released);
    return 1;
}

int scriptMouse(lua_State* L) {
    const InputState& input = host().input();
    lua_pushnumber(L, input.cursor().x);
    lua_pushnumber(L, input.cursor().y);
    lua_pushboolean(L, input.key(virtualKeyOfName("mouseleft")).down);
    lua_pushboolean(L, input.key(virtualKeyOfName("mouseright")).down);
    lua_pushboolean(L, input.key(virtualKeyOfName("mousemiddle")).down);
    return 5;
}

int scriptSaveGame(lua_State* L) {
    host().requestSave(luaL_checkstring(L, 1));
    return 0;
}

int scriptLoadGame(lua_State* L) {
    host().requestLoad(luaL_checkstring(L, 1));
    return 0;
}

int scriptQuit(lua_State*) {
    host().requestQuit();
    return 0;
}

int scriptFrameTime(lua_State* L) {
    lua_pushnumber(L, host().frameTime());
    return 1;
}

int scriptScreenSize(lua_State* L) {
    lua_pushnumber(L, host().screenWidth());
    lua_pushnumber(L, host().screenHeight());
    return 2;
}

// A wait handle released at the next frame's update pass: the object's pause
// set to a moment shorter than any frame.
int scriptNextFrame(lua_State* L) {
    std::int32_t id = idArgument(L, 1);
    if (Object* object = host().core().findObject(id)) {
        object->pause(1e-6f);
        id = object->getId();
    }
    lua_createtable(L, 0, 2);
    lua_pushnumber(L, id);
    lua_setfield(L, -2, "oid");
    lua_pushnumber(L, 0);
    lua_setfield(L, -2, "eid");
    return 1;
}

const luaL_Reg functions[] = {
    {"startThread", scriptStartThread},
    {"loadTexture", scriptLoadTexture},
    {"drawSprite", scriptDrawSprite},
    {"drawText", scriptDrawText},
    {"clear", scriptClear},
    {"keyDown", scriptKeyDown},
    {"keyPressed", scriptKeyPressed},
    {"keyReleased", scriptKeyReleased},
    {"mouse", scriptMouse},
    {"saveGame", scriptSaveGame},
    {"loadGame", scriptLoadGame},
    {"quit", scriptQuit},
    {"frameTime", scriptFrameTime},
    {"screenSize", scriptScreenSize},
    {"nextFrame", scriptNextFrame},
};

}  // namespace

void registerScriptFunctions(Core& core) {
    for (const luaL_Reg& function : functions) {
        core.registerFunction(function.name, function.func);
    }
}

}  // namespace runner
