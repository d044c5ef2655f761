// Peak memory of a process whose core holds 100,000 objects, each with its
// thread waiting on its pause lock, over a few frames: with the script heap
// (bench_script_memory) and with the system allocator (its sibling
// bench_script_memory_system, the same program linked with
// system_allocator_state.cpp). Each measurement runs in a fresh process, three
// times per side in turn; prints the medians and "RATIO script_memory_100000"
// (with the heap over without).
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_objects.h"

namespace {

constexpr int OBJECTS = 100000;

// One measurement: the peak resident size of this process in KiB.
int measure() {
    const auto path = std::filesystem::temp_directory_path() /
                      ("script_memory_bench_" + std::to_string(getpid()) + ".lua");
    std::ofstream(path) << bench_objects::OBJECT_SCRIPT;
    {
        bench_objects::Engine engine(OBJECTS, path.string());
        for (int frame = 0; frame < 10; ++frame) {
            engine.frame();
        }
        engine.check(OBJECTS, "threads were lost during the run");
    }
    std::filesystem::remove(path);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}

double peakOf(const std::string& program) {
    FILE* child = popen((program + " --measure").c_str(), "r");
    long kib = 0;
    if (child == nullptr || std::fscanf(child, "%ld", &kib) != 1 || pclose(child) != 0) {
        std::fprintf(stderr, "%s did not measure\n", program.c_str());
        std::exit(1);
    }
    return static_cast<double>(kib) / 1024.0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--measure") {
        return measure();
    }
    const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe");
    const std::string withHeap = self.string();
    const std::string withoutHeap = (self.parent_path() / "bench_script_memory_system").string();
    std::vector<double> heapPeaks;
    std::vector<double> systemPeaks;
    for (int round = 0; round < 3; ++round) {
        heapPeaks.push_back(peakOf(withHeap));
        systemPeaks.push_back(peakOf(withoutHeap));
    }
    const double heap = median(heapPeaks);
    const double system = median(systemPeaks);
    std::printf("peak memory at %d objects: %.1f MiB with the script heap, %.1f MiB without\n",
                OBJECTS, heap, system);
    std::printf("RATIO script_memory_%d %.2f\n", OBJECTS, heap / system);
    return 0;
}
