// saveState against writing the same bytes through one buffered stream, value
// by value as a stream-based writer would hand them over.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "persist/file_sync.h"
#include "platform/headless/headless_platform.h"
#include "state_bench_data.h"

using namespace state_bench;

namespace {

// Splits a state file into the sizes of its values, in file order.
class Pieces {
public:
    explicit Pieces(const std::vector<char>& bytes) : bytes(bytes) {
        while (take(1) != 0) {  // continuation byte
            takeString();
            const std::uint32_t type = take(4);
            if (type == 1) {
                take(1);
            } else if (type == 3) {
                take(8);
            } else if (type == 4) {
                takeString();
            }
        }
        const std::uint32_t count = take(4);
        for (std::uint32_t i = 0; i < count; ++i) {
            take(4);
            takeString();
            take(4);
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            take(4);
            const std::uint32_t keys = take(4);
            for (std::uint32_t k = 0; k < keys; ++k) {
                takeString();
                const std::uint32_t tag = take(4);
                take(tag == 1 ? 8 : tag == 3 ? 1 : 0);
                if (tag == 2) {
                    takeString();
                }
            }
        }
        take(4);
        if (offset != bytes.size()) {
            std::fprintf(stderr, "unexpected file layout\n");
            std::exit(1);
        }
    }
    std::vector<std::size_t> sizes;

private:
    std::uint32_t take(std::size_t size) {
        std::uint32_t value = 0;
        std::memcpy(&value, bytes.data() + offset, size < 4 ? size : 4);
        if (size > 0) {
            sizes.push_back(size);
        }
        offset += size;
        return value;
    }
    void takeString() { take(take(4)); }

    const std::vector<char>& bytes;
    std::size_t offset = 0;
};

}  // namespace

int main() {
    platform::headless::HeadlessPlatform backend;
    platform::install(&backend);
    Core core(nullptr, nullptr);
    const StateData data = makeData();
    build(core, data);
    const std::string path = scratchFile("save.bin");
    const std::string copy = scratchFile("save-copy.bin");

    const double save = fastest([&] {
        if (!core.saveState(path)) {
            std::fprintf(stderr, "saveState failed\n");
            std::exit(1);
        }
    });
    const std::vector<char> bytes = readWhole(path);
    const Pieces pieces(bytes);
    const double stream = fastest([&] {
        std::ofstream out(copy, std::ios::binary | std::ios::trunc);
        const char* next = bytes.data();
        for (const std::size_t size : pieces.sizes) {
            out.write(next, static_cast<std::streamsize>(size));
            next += size;
        }
    });
    if (readWhole(copy) != bytes) {
        std::fprintf(stderr, "the stream wrote other bytes\n");
        return 1;
    }
    const double block = fastest([&] { writeWhole(copy, bytes); });
    // What forcing the file onto the disk costs on its own: the save does it
    // before it replaces the target.
    const double synced = fastest([&] {
        std::FILE* file = std::fopen(copy.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        file_sync::syncToDisk(file);
        std::fclose(file);
    });
    std::remove(path.c_str());
    std::remove(copy.c_str());

    std::printf("%zu bytes in %zu values; saveState %.1f ms; buffered stream %.1f ms; "
                "one block %.1f ms (%.1f ms when synced)\n",
                bytes.size(), pieces.sizes.size(), save * 1e3, stream * 1e3, block * 1e3,
                synced * 1e3);
    std::printf("RATIO save %.2f\n", save / stream);
    return 0;
}
