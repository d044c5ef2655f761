// The engine's update pass over objects whose threads loop on
// `wait(pause(id, 0.001))`, measured against two floors in the same run:
//
// - "RATIO scripts": the same 10,000 threads resumed straight from C through the
//   core's resume primitive (Core::runThread). Every pass releases every lock, so
//   the difference is the engine's own cost: walking the objects, the
//   countdowns, finding, removing and re-adding locks.
// - "RATIO scripts_vs_lua_<objects>": what a game maker writes without the
//   engine, on the same Lua library in a state of its own: a coroutine per
//   object in a table, a countdown per object, and a frame loop written in Lua
//   that resumes each coroutine whose countdown has run out; each wait makes one
//   small handle table as `pause` does. Compared by the median frame, at 10,000
//   and 100,000 objects, with the 10th and 90th percentile of each side's frames
//   to show how widely they scatter.
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

constexpr float FRAME_TIME = 0.02f;

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

const char* const OBJECT_SCRIPT =
    "function start(id)\n"
    "  while true do\n"
    "    wait(pause(id, 0.001))\n"
    "  end\n"
    "end\n";

// The scheduler a game maker would write in Lua: `pause` sets the countdown and
// makes the handle, `wait` yields it, and `frame` counts down and resumes.
const char* const LUA_SCHEDULER =
    "local threads, countdowns, count = {}, {}, 0\n"
    "local function pause(id, seconds)\n"
    "  countdowns[id] = seconds\n"
    "  return {oid = id, eid = 0}\n"
    "end\n"
    "local wait = coroutine.yield\n"
    "local function body(id)\n"
    "  while true do\n"
    "    wait(pause(id, 0.001))\n"
    "  end\n"
    "end\n"
    "function setup(n)\n"
    "  for id = 1, n do\n"
    "    countdowns[id] = 0\n"
    "    threads[id] = coroutine.create(body)\n"
    "    assert(coroutine.resume(threads[id], id))\n"
    "  end\n"
    "  count = n\n"
    "end\n"
    "local resume = coroutine.resume\n"
    "function frame(dt)\n"
    "  for id = 1, count do\n"
    "    local t = countdowns[id]\n"
    "    if t > 0 then\n"
    "      t = t - dt\n"
    "      if t <= 0 then\n"
    "        countdowns[id] = 0\n"
    "        local ok, message = resume(threads[id])\n"
    "        if not ok then error(message) end\n"
    "      else\n"
    "        countdowns[id] = t\n"
    "      end\n"
    "    end\n"
    "  end\n"
    "end\n";

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

class LuaScheduler {
public:
    explicit LuaScheduler(int objectCount) : L(luaL_newstate()) {
        luaL_openlibs(L);
        if (luaL_dostring(L, LUA_SCHEDULER) != 0) {
            fail();
        }
        lua_getglobal(L, "setup");
        lua_pushnumber(L, objectCount);
        if (lua_pcall(L, 1, 0, 0) != 0) {
            fail();
        }
        lua_getglobal(L, "frame");
        frameFunction = luaL_ref(L, LUA_REGISTRYINDEX);
    }
    ~LuaScheduler() { lua_close(L); }
    LuaScheduler(const LuaScheduler&) = delete;
    LuaScheduler& operator=(const LuaScheduler&) = delete;

    void frame() {
        lua_rawgeti(L, LUA_REGISTRYINDEX, frameFunction);
        lua_pushnumber(L, FRAME_TIME);
        if (lua_pcall(L, 1, 0, 0) != 0) {
            fail();
        }
    }

private:
    void fail() {
        std::fprintf(stderr, "Lua scheduler: %s\n", lua_tostring(L, -1));
        std::exit(1);
    }
    lua_State* L;
    int frameFunction = LUA_NOREF;
};

struct Spread {
    double p10, median, p90;
};

Spread spreadOf(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const auto at = [&](double fraction) {
        return times[static_cast<std::size_t>(fraction * static_cast<double>(times.size() - 1) +
                                              0.5)];
    };
    return Spread{at(0.1), at(0.5), at(0.9)};
}

void printSpread(const char* side, const Spread& spread) {
    std::printf("  %-16s median %7.3f ms, 10th %7.3f ms, 90th %7.3f ms, 90th/10th %.2f\n", side,
                spread.median * 1e3, spread.p10 * 1e3, spread.p90 * 1e3, spread.p90 / spread.p10);
}

// Frames of the engine and of the Lua scheduler, in turn, so that both meet the
// same load of the machine. The scheduler is built first: built after the
// engine, its coroutines would land in whatever room the engine's setup left
// free in the shared heap, and its frame would follow the engine's allocations.
void againstLua(int objectCount, int frames, const std::string& script) {
    LuaScheduler scheduler(objectCount);
    Engine engine(objectCount, script);
    for (int warmUp = 0; warmUp < 3; ++warmUp) {
        engine.frame();
        scheduler.frame();
    }
    std::vector<double> engineTimes;
    std::vector<double> luaTimes;
    for (int frame = 0; frame < frames; ++frame) {
        engineTimes.push_back(seconds([&] { engine.frame(); }));
        luaTimes.push_back(seconds([&] { scheduler.frame(); }));
    }
    engine.check(objectCount, "threads were lost during the run");
    const Spread engineSpread = spreadOf(engineTimes);
    const Spread luaSpread = spreadOf(luaTimes);
    std::printf("%d objects, %d frames each:\n", objectCount, frames);
    printSpread("update pass", engineSpread);
    printSpread("Lua scheduler", luaSpread);
    std::printf("RATIO scripts_vs_lua_%d %.2f\n", objectCount,
                engineSpread.median / luaSpread.median);
}

// The update pass against resuming the same threads from C.
void againstDirectResumes(int objectCount, int rounds, const std::string& script) {
    Engine engine(objectCount, script);
    Core& core = engine.core;
    std::vector<Lock*> waiting;
    double updateBest = 1e9;
    double resumeBest = 1e9;
    for (int round = 0; round < rounds; ++round) {
        updateBest = std::min(updateBest, seconds([&] { engine.frame(); }));

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
    engine.check(objectCount, "threads were lost during the run");
    std::printf("update pass %.3f ms; direct resumes %.3f ms (%d objects, best of %d)\n",
                updateBest * 1e3, resumeBest * 1e3, objectCount, rounds);
    std::printf("RATIO scripts %.2f\n", updateBest / resumeBest);
}

}  // namespace

int main() {
    const auto path = std::filesystem::temp_directory_path() / "scripts_bench.lua";
    std::ofstream(path) << OBJECT_SCRIPT;
    againstDirectResumes(10000, 25, path.string());
    againstLua(10000, 60, path.string());
    againstLua(100000, 20, path.string());
    std::filesystem::remove(path);
    return 0;
}
