#include "core/script_heap.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#ifdef TESSAK_SCRIPT_HEAP_POISON
#include <sanitizer/asan_interface.h>
#define POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
#else
#define POISON(address, size) ((void)(address), (void)(size))
#define UNPOISON(address, size) ((void)(address), (void)(size))
#endif

namespace {

// A block of `classBytes` handed out with `liveBytes` of it in use: only those
// may be touched.
void markLive(void* block, std::size_t classBytes, std::size_t liveBytes) {
    POISON(block, classBytes);
    UNPOISON(block, liveBytes);
}

// What luaL_newstate's state does on an error outside any protected call.
int panic(lua_State* L) {
    std::fprintf(stderr, "PANIC: unprotected error in call to Lua API (%s)\n", lua_tostring(L, -1));
    return 0;
}

}  // namespace

ScriptHeap::~ScriptHeap() {
    while (chunks != nullptr) {
        Chunk* chunk = chunks;
        chunks = chunk->next;
        UNPOISON(chunk, chunk->size);
        std::free(chunk);
    }
}

lua_State* ScriptHeap::newState() {
    auto* heap = new (std::nothrow) ScriptHeap();
    if (heap == nullptr) {
        return nullptr;
    }
    lua_State* L = lua_newstate(allocate, heap);
    if (L == nullptr) {
        delete heap;
        return nullptr;
    }
    lua_atpanic(L, panic);
    return L;
}

void ScriptHeap::closeState(lua_State* L) {
    void* heap = nullptr;
    lua_getallocf(L, &heap);
    const std::unique_ptr<ScriptHeap> owner(static_cast<ScriptHeap*>(heap));
    lua_close(L);
}

void* ScriptHeap::allocate(void* heap, void* block, std::size_t oldSize, std::size_t newSize) {
    return static_cast<ScriptHeap*>(heap)->resize(block, block == nullptr ? 0 : oldSize, newSize);
}

void* ScriptHeap::resize(void* block, std::size_t oldSize, std::size_t newSize) {
    if (newSize == 0) {
        if (block == nullptr) {
            return nullptr;
        }
        if (oldSize <= LARGEST_SMALL) {
            giveSmall(block, oldSize);
        } else {
            std::free(block);
            taken -= largeSize(oldSize);
        }
        return nullptr;
    }
    if (oldSize > LARGEST_SMALL) {
        return newSize > LARGEST_SMALL ? resizeLarge(block, oldSize, newSize)
                                       : shrinkToSmall(block, oldSize, newSize);
    }
    if (newSize <= LARGEST_SMALL) {
        return moveSmall(block, oldSize, newSize);
    }
    void* large = takeFromSystem(largeSize(newSize));
    if (large == nullptr) {
        return nullptr;
    }
    if (block != nullptr) {
        std::memcpy(large, block, oldSize);
        giveSmall(block, oldSize);
    }
    return large;
}

void* ScriptHeap::moveSmall(void* block, std::size_t oldSize, std::size_t newSize) {
    const std::size_t index = classOf(newSize);
    if (block != nullptr && classOf(oldSize) == index) {
        markLive(block, classSize(index), newSize);
        return block;
    }
    void* moved = takeSmall(index);
    if (moved == nullptr) {
        if (block != nullptr && newSize < oldSize) {
            // Shrinking never fails: the block stays, larger than its class.
            markLive(block, classSize(classOf(oldSize)), newSize);
            return block;
        }
        return nullptr;
    }
    markLive(moved, classSize(index), newSize);
    if (block != nullptr) {
        std::memcpy(moved, block, oldSize < newSize ? oldSize : newSize);
        giveSmall(block, oldSize);
    }
    return moved;
}

void* ScriptHeap::shrinkToSmall(void* block, std::size_t oldSize, std::size_t newSize) {
    const std::size_t index = classOf(newSize);
    void* small = takeSmall(index);
    if (small != nullptr) {
        markLive(small, classSize(index), newSize);
        std::memcpy(small, block, newSize);
        std::free(block);
        taken -= largeSize(oldSize);
        return small;
    }
    // No memory for a small block, and shrinking may not fail: the large block
    // becomes a chunk, with the small block just after the chunk's header.
    char* memory = static_cast<char*>(block);
    std::memmove(memory + GRAIN, memory, newSize);
    adoptChunk(memory, largeSize(oldSize));
    small = carved;
    carved += classSize(index);
    markLive(small, classSize(index), newSize);
    return small;
}

void* ScriptHeap::resizeLarge(void* block, std::size_t oldSize, std::size_t newSize) {
    const std::size_t from = largeSize(oldSize);
    const std::size_t to = largeSize(newSize);
    if (to > from && to - from > limit - taken) {
        return nullptr;
    }
    void* moved = std::realloc(block, to);
    if (moved == nullptr) {
        // Shrinking never fails: the block stays as it is.
        return to <= from ? block : nullptr;
    }
    taken -= from;
    noteTaken(to);
    return moved;
}

void* ScriptHeap::takeSmall(std::size_t index) {
    FreeBlock* head = freeLists[index];
    if (head != nullptr) {
        UNPOISON(head, sizeof(FreeBlock));
        freeLists[index] = head->next;
        // Blocks come back in whatever order Lua frees them: fetch the one
        // that the next request of this size gets.
        __builtin_prefetch(head->next);
        return head;
    }
    const std::size_t size = classSize(index);
    if (static_cast<std::size_t>(carveEnd - carved) < size) {
        void* memory = takeFromSystem(CHUNK_SIZE);
        if (memory == nullptr) {
            return nullptr;
        }
        adoptChunk(memory, CHUNK_SIZE);
    }
    void* block = carved;
    carved += size;
    return block;
}

void ScriptHeap::giveSmall(void* block, std::size_t size) {
    const std::size_t index = classOf(size);
    UNPOISON(block, sizeof(FreeBlock));
    auto* free = static_cast<FreeBlock*>(block);
    free->next = freeLists[index];
    freeLists[index] = free;
    POISON(block, classSize(index));
}

void ScriptHeap::adoptChunk(void* memory, std::size_t size) {
    static_assert(sizeof(Chunk) <= GRAIN, "a chunk's header fits in one grain");
    // What is left of the chunk carved so far is smaller than the block that
    // did not fit: it goes to the free list of its size.
    const std::size_t rest = static_cast<std::size_t>(carveEnd - carved);
    if (rest >= GRAIN) {
        giveSmall(carved, rest);
    }
    chunks = new (memory) Chunk{chunks, size};
    carved = static_cast<char*>(memory) + GRAIN;
    carveEnd = static_cast<char*>(memory) + size / GRAIN * GRAIN;
    POISON(carved, static_cast<std::size_t>(carveEnd - carved));
}

void* ScriptHeap::takeFromSystem(std::size_t size) {
    if (size > limit - taken) {
        return nullptr;
    }
    void* memory = std::malloc(size);
    if (memory != nullptr) {
        noteTaken(size);
    }
    return memory;
}

void ScriptHeap::noteTaken(std::size_t more) {
    taken += more;
    if (taken > peak) {
        peak = taken;
    }
}
