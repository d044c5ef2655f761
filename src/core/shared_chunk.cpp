#include "core/shared_chunk.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

// Built as C, the library longjmps on errors: nothing here has a destructor.

namespace {

// The registry key of the table from script path to its kept copy: a table
// holding the compiled bytes (1) and the maker (2), a function that returns a
// new function of the kept main prototype each time it is called.
char keptChunks;

int collectBytes(lua_State* L, const void* data, std::size_t size, void* buffer) {
    static_cast<void>(L);
    luaL_addlstring(static_cast<luaL_Buffer*>(buffer), static_cast<const char*>(data), size);
    return 0;
}

// The library's compiled form of a function begins with a header of this many
// bytes (signature, version, format, byte order and the sizes of its types).
constexpr std::size_t HEADER_SIZE = 12;

// The maker is a compiled function of two instructions, written here in the
// library's compiled form: "closure 0, prototype 0" then "return 0, one
// value", with the script's main prototype as its only inner prototype.
constexpr std::uint32_t MAKE_CLOSURE = 36;              // CLOSURE A=0 Bx=0
constexpr std::uint32_t RETURN_ONE = 30u | (2u << 23);  // RETURN A=0 B=2

struct Piece {
    const char* data;
    std::size_t size;
};

struct MakerReader {
    Piece pieces[4];
    int next;
};

const char* readPiece(lua_State* L, void* state, std::size_t* size) {
    static_cast<void>(L);
    MakerReader& reader = *static_cast<MakerReader*>(state);
    while (reader.next < 4) {
        const Piece& piece = reader.pieces[reader.next++];
        if (piece.size != 0) {
            *size = piece.size;
            return piece.data;
        }
    }
    *size = 0;
    return nullptr;
}

template <typename T>
char* put(char* at, T value) {
    std::memcpy(at, &value, sizeof value);
    return at + sizeof value;
}

// Loads the maker for the compiled main chunk `bytes` and pushes it; pushes
// nothing and returns false when the library refuses it.
bool pushMaker(lua_State* L, const char* bytes, std::size_t size) {
    // The record below is written with this program's sizes of the header's
    // int, size_t and instruction (bytes 7 to 9).
    if (size <= HEADER_SIZE || bytes[7] != sizeof(int) || bytes[8] != sizeof(std::size_t) ||
        bytes[9] != sizeof(std::uint32_t)) {
        return false;
    }
    // The maker's record up to its inner prototype: no source name, lines 0
    // and 0, no upvalues, no parameters, not vararg, two stack slots, the
    // code, no constants, one inner prototype.
    char head[sizeof(std::size_t) + 2 * sizeof(int) + 4 + sizeof(int) + 2 * 4 + 2 * sizeof(int)];
    char* at = put(head, std::size_t{0});
    at = put(at, 0);
    at = put(at, 0);
    at = put(at, std::uint8_t{0});
    at = put(at, std::uint8_t{0});
    at = put(at, std::uint8_t{0});
    at = put(at, std::uint8_t{2});
    at = put(at, 2);
    at = put(at, MAKE_CLOSURE);
    at = put(at, RETURN_ONE);
    at = put(at, 0);
    at = put(at, 1);
    // After the inner prototype: no line, local or upvalue names.
    char tail[3 * sizeof(int)];
    char* end = put(tail, 0);
    end = put(end, 0);
    end = put(end, 0);
    MakerReader reader{{{bytes, HEADER_SIZE},
                        {head, static_cast<std::size_t>(at - head)},
                        {bytes + HEADER_SIZE, size - HEADER_SIZE},
                        {tail, static_cast<std::size_t>(end - tail)}},
                       0};
    if (lua_load(L, readPiece, &reader, "=(kept chunk)") != 0) {
        lua_pop(L, 1);
        return false;
    }
    return true;
}

}  // namespace

namespace shared_chunk {

void share(lua_State* L, const char* path) {
    const int fresh = lua_gettop(L);
    lua_checkstack(L, 6);
    luaL_Buffer buffer;
    luaL_buffinit(L, &buffer);
    if (lua_dump(L, collectBytes, &buffer) != 0) {
        luaL_pushresult(&buffer);
        lua_settop(L, fresh);
        return;
    }
    luaL_pushresult(&buffer);
    const int compiled = fresh + 1;

    lua_pushlightuserdata(L, &keptChunks);
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (!lua_istable(L, -1)) {
        lua_pop(L, 1);
        lua_newtable(L);
        lua_pushlightuserdata(L, &keptChunks);
        lua_pushvalue(L, -2);
        lua_rawset(L, LUA_REGISTRYINDEX);
    }
    const int kept = compiled + 1;
    lua_pushstring(L, path);
    lua_rawget(L, kept);
    bool same = false;
    if (lua_istable(L, -1)) {
        // Compiled strings are interned: equal bytes are the same string.
        lua_rawgeti(L, -1, 1);
        same = lua_rawequal(L, -1, compiled) != 0;
        lua_pop(L, 1);
    }
    if (!same) {
        lua_pop(L, 1);
        std::size_t size = 0;
        const char* bytes = lua_tolstring(L, compiled, &size);
        if (!pushMaker(L, bytes, size)) {
            lua_settop(L, fresh);
            return;
        }
        // Loaded in this object's environment, the maker would keep it alive
        // as long as the copy is kept; it needs none of its own.
        lua_pushvalue(L, kept);
        lua_setfenv(L, -2);
        lua_createtable(L, 2, 0);
        lua_insert(L, -2);
        lua_rawseti(L, -2, 2);
        lua_pushvalue(L, compiled);
        lua_rawseti(L, -2, 1);
        lua_pushstring(L, path);
        lua_pushvalue(L, -2);
        lua_rawset(L, kept);
    }
    // A new main function of the kept prototype, in the environment that the
    // loaded one was given.
    lua_rawgeti(L, -1, 2);
    lua_call(L, 0, 1);
    lua_getfenv(L, fresh);
    lua_setfenv(L, -2);
    lua_replace(L, fresh);
    lua_settop(L, fresh);
}

}  // namespace shared_chunk
