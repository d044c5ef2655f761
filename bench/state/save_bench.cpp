// saveState against the durable raw write of the same bytes: one block written
// to a temporary file beside the target, forced onto the disk, and renamed over
// the target, which is what a save must do at the least to leave either the old
// or the new file whole.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "persist/file_sync.h"
#include "platform/headless/headless_platform.h"
#include "state_bench_data.h"

using namespace state_bench;

namespace {

void durableWrite(const std::string& target, const std::string& temporary,
                  const std::vector<char>& bytes) {
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        !file_sync::syncToDisk(file) || std::fclose(file) != 0) {
        std::perror(temporary.c_str());
        std::exit(1);
    }
    std::filesystem::rename(temporary, target);
}

}  // namespace

int main() {
    platform::headless::HeadlessPlatform backend;
    platform::install(&backend);
    Core core(nullptr, nullptr);
    const StateData data = makeData();
    build(core, data);
    const std::string path = scratchFile("save.bin");
    const std::string copy = scratchFile("save-copy.bin");
    const std::string copyTemporary = scratchFile("save-copy.bin.tmp");

    if (!core.saveState(path)) {
        std::fprintf(stderr, "saveState failed\n");
        return 1;
    }
    const std::vector<char> bytes = readWhole(path);
    const Alternation rounds = alternate(
        [&] {
            if (!core.saveState(path)) {
                std::fprintf(stderr, "saveState failed\n");
                std::exit(1);
            }
        },
        [&] { durableWrite(copy, copyTemporary, bytes); });
    if (readWhole(copy) != bytes || readWhole(path) != bytes) {
        std::fprintf(stderr, "the two sides wrote different bytes\n");
        return 1;
    }
    // What the durability costs: the same block, neither synced nor renamed.
    double unsynced = 1e30;
    for (int run = 0; run < RUNS; ++run) {
        unsynced = std::min(unsynced, timed([&] { writeWhole(copy, bytes); }));
    }
    std::remove(path.c_str());
    std::remove(copy.c_str());

    std::printf(
        "%zu bytes; saveState %.1f ms; durable raw write %.1f ms (unsynced block %.1f ms); "
        "median of %d rounds each\n",
        bytes.size(), rounds.firstMedian * 1e3, rounds.secondMedian * 1e3, unsynced * 1e3, RUNS);
    std::printf("round ratios from %.2f to %.2f\n", rounds.ratioLow, rounds.ratioHigh);
    std::printf("RATIO save %.2f\n", rounds.ratioMedian);
    return 0;
}
