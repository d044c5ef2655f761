// loadState against reading the same bytes plus building the same objects and
// keys through the object API, the two sides alternating round by round.
#include <cstdio>
#include <cstdlib>

#include "platform/headless/headless_platform.h"
#include "state_bench_data.h"

using namespace state_bench;

int main() {
    platform::headless::HeadlessPlatform backend;
    platform::install(&backend);
    Core core(nullptr, nullptr);
    const StateData data = makeData();
    build(core, data);
    const std::string path = scratchFile("load.bin");
    if (!core.saveState(path)) {
        std::fprintf(stderr, "saveState failed\n");
        return 1;
    }

    std::size_t size = 0;
    const Alternation rounds = alternate(
        [&] {
            if (!core.loadState(path)) {
                std::fprintf(stderr, "loadState failed\n");
                std::exit(1);
            }
            if (core.getObjects().size() != static_cast<std::size_t>(OBJECT_COUNT)) {
                std::fprintf(stderr, "loadState made %zu objects\n", core.getObjects().size());
                std::exit(1);
            }
        },
        [&] {
            size = readWhole(path).size();
            build(core, data);
        });

    std::printf(
        "%zu bytes; loadState %.1f ms; reading + building %.1f ms; median of %d rounds "
        "each\n",
        size, rounds.firstMedian * 1e3, rounds.secondMedian * 1e3, RUNS);
    std::printf("round ratios from %.2f to %.2f\n", rounds.ratioLow, rounds.ratioHigh);
    std::printf("RATIO load %.2f\n", rounds.ratioMedian);

    // The same objects with scattered identifiers against identifiers 1..N:
    // finding and changing each restored identifier must not depend on where
    // it lies.
    build(core, withScatteredIds(data));
    const std::string scatteredPath = scratchFile("load-scattered.bin");
    if (!core.saveState(scatteredPath)) {
        std::fprintf(stderr, "saveState failed\n");
        return 1;
    }
    const auto load = [&core](const std::string& file) {
        return [&core, file] {
            if (!core.loadState(file) ||
                core.getObjects().size() != static_cast<std::size_t>(OBJECT_COUNT)) {
                std::fprintf(stderr, "loadState of %s failed\n", file.c_str());
                std::exit(1);
            }
        };
    };
    const Alternation scattered = alternate(load(scatteredPath), load(path));
    std::remove(scatteredPath.c_str());
    std::remove(path.c_str());
    std::printf("%d objects: scattered identifiers %.1f ms; identifiers 1..N %.1f ms\n",
                OBJECT_COUNT, scattered.firstMedian * 1e3, scattered.secondMedian * 1e3);
    std::printf("RATIO load_scattered %.2f\n", scattered.ratioMedian);
    return 0;
}
