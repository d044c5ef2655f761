// Feeds arbitrary bytes to loadState as a state file. A load must end in true,
// false or the fatal report of an unsupported variable type, and never crash,
// hang or run out of memory; whatever loaded must save again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/core.h"
#include "core/object.h"
#include "log/log.h"
#include "platform/headless/headless_platform.h"
#include "platform/process.h"
#include "state_fuzz_factory.h"

namespace {

platform::headless::HeadlessPlatform& backend() {
    // Boxes stay unwritten: many mutated files end in one, thousands a second.
    static platform::headless::HeadlessPlatform headless({}, nullptr);
    return headless;
}

// In memory when the machine offers it: every run writes a file, and a save
// forces its file onto the disk.
std::string scratchPath(const char* name) {
    std::error_code error;
    const std::filesystem::path memory = "/dev/shm";
    const std::filesystem::path folder = std::filesystem::is_directory(memory, error)
                                             ? memory
                                             : std::filesystem::temp_directory_path();
    return (folder /
            ("tessak-state-fuzz-" + std::to_string(platform::currentProcessId()) + "-" + name))
        .string();
}

const std::string& inputPath() {
    static const std::string path = scratchPath("input.bin");
    return path;
}

const std::string& outputPath() {
    static const std::string path = scratchPath("output.bin");
    return path;
}

void removeScratchFiles() {
    std::remove(inputPath().c_str());
    std::remove(outputPath().c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    inputPath();
    outputPath();
    std::atexit(removeScratchFiles);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool installed = (platform::install(&backend()), true);
    (void)installed;
    static Core core(fuzz::makeObject, nullptr);
    const std::string& input = inputPath();
    const std::string& output = outputPath();

    std::FILE* file = std::fopen(input.c_str(), "wb");
    if (file == nullptr) {
        std::abort();
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    bool loaded = false;
    try {
        loaded = core.loadState(input);
    } catch (Log::Fatal) {
        // A variable record of an unsupported type code ends in the error report.
        return 0;
    }
    if (!loaded && (!core.getObjects().empty() || core.getNextObjectId() != 1)) {
        std::abort();  // a refused file must leave the core fresh
    }
    if (loaded && !core.saveState(output)) {
        std::abort();
    }
    return 0;
}
