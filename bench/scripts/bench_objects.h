#pragma once
// What the script benchmarks measure: a core whose objects each run a thread
// that loops on `wait(pause(id, 0.001))`, and the CPU time of the calling
// thread to time it by (the machine may be shared, and time spent waiting for
// the processor is no cost of either side).
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "core/core.h"
#include "core/object.h"

namespace bench_objects {

constexpr float FRAME_TIME = 0.02f;

const char* const OBJECT_SCRIPT =
    "function start(id)\n"
    "  while true do\n"
    "    wait(pause(id, 0.001))\n"
    "  end\n"
    "end\n";

inline double cpuNow() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <typename F>
double seconds(F&& work) {
    const double start = cpuNow();
    work();
    return cpuNow() - start;
}

class Engine {
public:
    Engine(int objectCount, const std::string& script) : core(nullptr, nullptr) {
        core.reset();
        for (int i = 0; i < objectCount; ++i) {
            Object* object = core.createObject(0, script);
            if (!object->startThread("start")) {
                std::fprintf(stderr, "thread %d did not start\n", i);
                std::exit(1);
            }
        }
        check(objectCount, "expected every thread waiting on its pause lock");
    }
    void check(int objectCount, const char* message) const {
        if (core.getLocks().size() != static_cast<std::size_t>(objectCount) ||
            core.getThreads().size() != static_cast<std::size_t>(objectCount)) {
            std::fprintf(stderr, "%s\n", message);
            std::exit(1);
        }
    }
    void frame() { core.updateObjects(FRAME_TIME); }
    Core core;
};

}  // namespace bench_objects
