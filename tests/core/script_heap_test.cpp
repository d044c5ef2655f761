// The script state's heap: blocks at every size-class boundary, moves between
// classes and to and from the system allocator, shrinking when no memory is
// left, running out, and whole states living and dying on it (under the address
// sanitizer in sanitizer builds, where free blocks are poisoned).
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "core/script_heap.h"
#include "script_fixture.h"

namespace {

constexpr std::size_t LARGEST_SMALL = ScriptHeap::LARGEST_SMALL;

void* resize(ScriptHeap& heap, void* block, std::size_t oldSize, std::size_t newSize) {
    return ScriptHeap::allocate(&heap, block, oldSize, newSize);
}

void fill(void* block, std::size_t size, unsigned char seed) {
    auto* bytes = static_cast<unsigned char*>(block);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<unsigned char>(seed + i * 7);
    }
}

bool holds(const void* block, std::size_t size, unsigned char seed) {
    const auto* bytes = static_cast<const unsigned char*>(block);
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] != static_cast<unsigned char>(seed + i * 7)) {
            return false;
        }
    }
    return true;
}

const std::size_t BOUNDARY_SIZES[] = {1,   15,  16,  17,  31,  32,  33,  255, 256,
                                      257, 496, 497, 511, 512, 513, 527, 528, 4096};

TEST(ScriptHeap, BlocksAtEveryClassBoundaryHoldTheirWholeSizeWithoutOverlap) {
    ScriptHeap heap;
    for (const std::size_t size : BOUNDARY_SIZES) {
        std::vector<void*> blocks;
        for (int i = 0; i < 40; ++i) {
            blocks.push_back(resize(heap, nullptr, 0, size));
            ASSERT_NE(blocks.back(), nullptr) << size;
            fill(blocks.back(), size, static_cast<unsigned char>(i));
        }
        for (int i = 0; i < 40; ++i) {
            EXPECT_TRUE(holds(blocks[i], size, static_cast<unsigned char>(i))) << size;
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(blocks[i]) % 8, 0u) << size;
            EXPECT_EQ(resize(heap, blocks[i], size, 0), nullptr);
        }
    }
}

TEST(ScriptHeap, ResizingKeepsTheContentsWithinAndAcrossClasses) {
    const std::pair<std::size_t, std::size_t> moves[] = {
        {16, 17},  {17, 16},    {20, 24},    {100, 512}, {512, 513}, {513, 512},
        {300, 20}, {600, 4096}, {4096, 600}, {1, 5000},  {5000, 1},  {70000, 9}};
    ScriptHeap heap;
    for (const auto& [from, to] : moves) {
        void* block = resize(heap, nullptr, 0, from);
        ASSERT_NE(block, nullptr);
        fill(block, from, 3);
        void* moved = resize(heap, block, from, to);
        ASSERT_NE(moved, nullptr) << from << " -> " << to;
        EXPECT_TRUE(holds(moved, from < to ? from : to, 3)) << from << " -> " << to;
        fill(moved, to, 5);
        resize(heap, moved, to, 0);
    }
    EXPECT_EQ(resize(heap, nullptr, 0, 0), nullptr);
}

TEST(ScriptHeap, GrowingFailsAtTheLimitButShrinkingNeverDoes) {
    ScriptHeap heap(2 * ScriptHeap::CHUNK_SIZE);
    void* large = resize(heap, nullptr, 0, ScriptHeap::CHUNK_SIZE);
    ASSERT_NE(large, nullptr);
    fill(large, 1000, 9);
    void* small = resize(heap, nullptr, 0, 400);
    ASSERT_NE(small, nullptr);
    fill(small, 400, 4);
    // Fill the one chunk there is room for, then everything is taken.
    std::vector<std::pair<void*, std::size_t>> filler;
    for (const std::size_t size : {LARGEST_SMALL, std::size_t{16}}) {
        while (void* block = resize(heap, nullptr, 0, size)) {
            filler.emplace_back(block, size);
        }
    }
    EXPECT_EQ(resize(heap, nullptr, 0, 100000), nullptr);
    EXPECT_EQ(resize(heap, small, 400, 600), nullptr);
    EXPECT_TRUE(holds(small, 400, 4));
    EXPECT_LE(heap.peakFootprint(), 2 * ScriptHeap::CHUNK_SIZE);

    // To a smaller class, and from large to small, with no memory to spare.
    void* smaller = resize(heap, small, 400, 40);
    ASSERT_NE(smaller, nullptr);
    EXPECT_TRUE(holds(smaller, 40, 4));
    void* shrunk = resize(heap, large, ScriptHeap::CHUNK_SIZE, 300);
    ASSERT_NE(shrunk, nullptr);
    EXPECT_TRUE(holds(shrunk, 300, 9));
    // The blocks still work as what they now are.
    fill(shrunk, 300, 1);
    fill(smaller, 40, 2);
    for (const auto& [block, size] : filler) {
        fill(block, size, 6);
    }
    EXPECT_TRUE(holds(shrunk, 300, 1));
    EXPECT_TRUE(holds(smaller, 40, 2));
    resize(heap, shrunk, 300, 0);
    resize(heap, smaller, 40, 0);
    for (const auto& [block, size] : filler) {
        resize(heap, block, size, 0);
    }
}

// A state on a heap of a few chunks: a script that allocates without bound
// fails with Lua's memory error, and the state goes on afterwards.
TEST(ScriptHeap, AScriptThatAllocatesWithoutBoundGetsLuasMemoryError) {
    ScriptHeap heap(8 * ScriptHeap::CHUNK_SIZE);
    lua_State* L = lua_newstate(ScriptHeap::allocate, &heap);
    ASSERT_NE(L, nullptr);
    luaL_openlibs(L);
    ASSERT_EQ(luaL_loadstring(L,
                              "local t = {}\n"
                              "while true do t[#t + 1] = {tostring(#t)} end\n"),
              0);
    EXPECT_EQ(lua_pcall(L, 0, 0, 0), LUA_ERRMEM);
    EXPECT_STREQ(lua_tostring(L, -1), "not enough memory");
    lua_settop(L, 0);
    lua_gc(L, LUA_GCCOLLECT, 0);
    EXPECT_EQ(luaL_dostring(L, "x = string.rep('ab', 100) .. 'c'"), 0);
    lua_getglobal(L, "x");
    EXPECT_EQ(lua_objlen(L, -1), 201u);
    lua_close(L);
    EXPECT_LE(heap.peakFootprint(), 8 * ScriptHeap::CHUNK_SIZE);
}

// Tables, strings, closures and coroutines made and dropped over a state's whole
// life; in sanitizer builds any touch of a free block is reported.
const char* const CHURN =
    "local kept = {}\n"
    "for round = 1, 200 do\n"
    "  local t = {}\n"
    "  for i = 1, round do t[i] = {i, tostring(i) .. string.rep('x', i)} end\n"
    "  local co = coroutine.create(function(a) local b = coroutine.yield(a + 1) return b end)\n"
    "  assert(select(2, coroutine.resume(co, round)) == round + 1)\n"
    "  kept[round % 17] = t\n"
    "  if round % 50 == 0 then collectgarbage() end\n"
    "end\n"
    "result = #kept[3]\n";

TEST(ScriptHeap, AStateLivesAndClosesOnItsOwnHeap) {
    lua_State* first = ScriptHeap::newState();
    lua_State* second = ScriptHeap::newState();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    for (lua_State* L : {first, second}) {
        luaL_openlibs(L);
        ASSERT_EQ(luaL_dostring(L, CHURN), 0) << lua_tostring(L, -1);
    }
    // One closes; the other's blocks are none of its heap's.
    ScriptHeap::closeState(first);
    ASSERT_EQ(luaL_dostring(second, CHURN), 0) << lua_tostring(second, -1);
    lua_getglobal(second, "result");
    EXPECT_EQ(lua_tonumber(second, -1), 190);
    ScriptHeap::closeState(second);
}

using ScriptHeapCore = ScriptTest;

TEST_F(ScriptHeapCore, ACoreIsResetFromAnotherThreadThanTheOneThatMadeIt) {
    const std::string path = writeScript("churn.lua", std::string(CHURN) +
                                                          "function start(id)\n"
                                                          "  setKey(id, 'n', result)\n"
                                                          "end\n");
    core.createObject(0, path)->startThread("start");
    std::thread other([&] {
        core.reset();
        core.createObject(0, path)->startThread("start");
    });
    other.join();
    EXPECT_EQ(core.findObject(1)->getNumber("n"), 190);
    core.reset();
    Object* object = core.createObject(0, path);
    ASSERT_TRUE(object != nullptr);
    object->startThread("start");
    EXPECT_EQ(object->getNumber("n"), 190);
}

// GCC names the address sanitizer one way, clang another.
#if defined(__SANITIZE_ADDRESS__)
#define HEAP_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HEAP_UNDER_ASAN 1
#endif
#endif

#ifdef HEAP_UNDER_ASAN
TEST(ScriptHeapDeathTest, TouchingAFreedBlockIsReported) {
    EXPECT_DEATH(
        {
            ScriptHeap heap;
            void* block = resize(heap, nullptr, 0, 48);
            resize(heap, block, 48, 0);
            static_cast<volatile char*>(block)[8] = 1;
        },
        "use-after-poison");
}
#endif

}  // namespace
