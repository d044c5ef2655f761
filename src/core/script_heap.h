#pragma once
// The script state's own memory. Lua makes and drops small blocks all the time
// (tables, closures, strings, call frames); here blocks of up to 512 bytes come
// from free lists of 16-byte size classes carved out of 256 KiB chunks, with no
// header per block since Lua tells the old size on every call. Larger blocks go
// to the system allocator. Every chunk goes back when the heap is destroyed,
// after its state has closed. One heap serves one state and keeps nothing
// outside itself, so cores never share one, on whatever thread they run.
//
// Builds that hunt memory errors (sanitizer and fuzz builds) mark every free
// byte as poisoned, so that a read or write outside a live block is reported as
// it would be with the system allocator.
#include <cstddef>
#include <cstdint>

#include <lua.hpp>

class ScriptHeap {
public:
    static constexpr std::size_t GRAIN = 16;
    static constexpr std::size_t LARGEST_SMALL = 512;
    static constexpr std::size_t CHUNK_SIZE = 256 * 1024;

    // `limit`: the most bytes the heap takes from the system at once (chunks and
    // large blocks); growing past it fails as the system allocator fails when
    // memory runs out.
    explicit ScriptHeap(std::size_t limit = SIZE_MAX) : limit(limit) {}
    ~ScriptHeap();
    ScriptHeap(const ScriptHeap&) = delete;
    ScriptHeap& operator=(const ScriptHeap&) = delete;

    // The lua_Alloc of a state made on this heap (`heap` is the heap).
    static void* allocate(void* heap, void* block, std::size_t oldSize, std::size_t newSize);

    // The most bytes taken from the system at once so far.
    std::size_t peakFootprint() const { return peak; }

    // A new state on a heap of its own (null when there is no memory for it),
    // with the panic handler of luaL_newstate.
    static lua_State* newState();
    // Closes a state made by newState and gives its heap back to the system.
    static void closeState(lua_State* L);

private:
    static constexpr std::size_t CLASS_COUNT = LARGEST_SMALL / GRAIN;
    // Large blocks are never smaller than this, so that one can always hold a
    // chunk's header and the largest small block (see shrinkToSmall).
    static constexpr std::size_t SMALLEST_LARGE = LARGEST_SMALL + GRAIN;

    struct FreeBlock {
        FreeBlock* next;
    };
    struct Chunk {
        Chunk* next;
        std::size_t size;
    };

    static std::size_t classOf(std::size_t size) { return (size - 1) / GRAIN; }
    static std::size_t classSize(std::size_t index) { return (index + 1) * GRAIN; }
    static std::size_t largeSize(std::size_t size) {
        return size < SMALLEST_LARGE ? SMALLEST_LARGE : size;
    }

    void* resize(void* block, std::size_t oldSize, std::size_t newSize);
    // A block of the size class, or null when no memory can be had.
    void* takeSmall(std::size_t index);
    // Puts a small block of `size` bytes back on its class's free list.
    void giveSmall(void* block, std::size_t size);
    void* moveSmall(void* block, std::size_t oldSize, std::size_t newSize);
    void* shrinkToSmall(void* block, std::size_t oldSize, std::size_t newSize);
    void* resizeLarge(void* block, std::size_t oldSize, std::size_t newSize);
    void adoptChunk(void* memory, std::size_t size);
    // `size` bytes from the system allocator, within the limit.
    void* takeFromSystem(std::size_t size);
    void noteTaken(std::size_t more);

    FreeBlock* freeLists[CLASS_COUNT] = {};
    // The part of the newest chunk that no block has been carved from yet.
    char* carved = nullptr;
    char* carveEnd = nullptr;
    Chunk* chunks = nullptr;
    std::size_t limit;
    std::size_t taken = 0;
    std::size_t peak = 0;
};
