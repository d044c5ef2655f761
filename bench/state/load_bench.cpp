// loadState against reading the same bytes plus building the same objects and
// keys through the object API.
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

    const double load = fastest([&] {
        if (!core.loadState(path)) {
            std::fprintf(stderr, "loadState failed\n");
            std::exit(1);
        }
    });
    if (core.getObjects().size() != static_cast<std::size_t>(OBJECT_COUNT)) {
        std::fprintf(stderr, "loadState made %zu objects\n", core.getObjects().size());
        return 1;
    }
    std::size_t size = 0;
    const double read = fastest([&] { size = readWhole(path).size(); });
    const double made = fastest([&] { build(core, data); });
    std::remove(path.c_str());

    std::printf("%zu bytes; loadState %.1f ms; reading %.1f ms + building %.1f ms\n", size,
                load * 1e3, read * 1e3, made * 1e3);
    std::printf("RATIO load %.2f\n", load / (read + made));
    return 0;
}
