// One frame's update pass over 10,000 objects whose threads loop on
// `wait(pause(id, 0.001))`, against resuming the same 10,000 threads straight
// from C through the core's resume primitive (Core::runThread) in the same run.
// Every pass releases every lock, so the difference is the engine's own cost:
// walking the objects, the countdowns, finding, removing and re-adding locks.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/core.h"
#include "core/lock.h"
#include "core/object.h"

namespace {

constexpr int OBJECT_COUNT = 10000;
constexpr int ROUNDS = 25;

// CPU time of this thread: the machine may be shared, and time spent waiting for
// the processor is no cost of either side.
double cpuNow() {
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

}  // namespace

int main() {
    const auto path = std::filesystem::temp_directory_path() / "scripts_bench.lua";
    std::ofstream(path) << "function start(id)\n"
                           "  while true do\n"
                           "    wait(pause(id, 0.001))\n"
                           "  end\n"
                           "end\n";
    Core core(nullptr, nullptr);
    core.reset();
    for (int i = 0; i < OBJECT_COUNT; ++i) {
        Object* object = core.createObject(0, path.string());
        if (!object->startThread("start")) {
            std::fprintf(stderr, "thread %d did not start\n", i);
            return 1;
        }
    }
    if (core.getLocks().size() != OBJECT_COUNT || core.getThreads().size() != OBJECT_COUNT) {
        std::fprintf(stderr, "expected every thread waiting on its pause lock\n");
        return 1;
    }

    std::vector<Lock*> waiting;
    double updateBest = 1e9;
    double resumeBest = 1e9;
    for (int round = 0; round < ROUNDS; ++round) {
        updateBest = std::min(updateBest, seconds([&] { core.updateObjects(0.02f); }));

        // The same threads, resumed directly. Clearing the recorded thread lets
        // the script's `wait` suspend on the lock that is still there.
        waiting.assign(core.getLocks().begin(), core.getLocks().end());
        resumeBest = std::min(resumeBest, seconds([&] {
                                  for (Lock* lock : waiting) {
                                      lua_State* thread = lock->thread;
                                      lock->thread = nullptr;
                                      core.runThread(thread, 0);
                                  }
                              }));
        lua_gc(core.getLuaState(), LUA_GCCOLLECT, 0);
    }
    if (core.getLocks().size() != OBJECT_COUNT || core.getThreads().size() != OBJECT_COUNT) {
        std::fprintf(stderr, "threads were lost during the run\n");
        return 1;
    }
    std::filesystem::remove(path);
    std::printf("update pass %.3f ms; direct resumes %.3f ms (%d objects, best of %d)\n",
                updateBest * 1e3, resumeBest * 1e3, OBJECT_COUNT, ROUNDS);
    std::printf("RATIO scripts %.2f\n", updateBest / resumeBest);
    return 0;
}
