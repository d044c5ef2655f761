// The engine's update pass over objects whose threads loop on
// `wait(pause(id, 0.001))`, measured against floors in the same run:
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
// - "RATIO scripts_vs_lua_env_<objects>": the same scheduler shaped as the
//   engine's objects are: each coroutine runs a function of its own, in an
//   environment of its own that falls back on a shared table and then on the
//   library, where `pause` and `wait` are. What is left between the engine and
//   this one is the engine's own cost, not its design's.
// - "RATIO scripts_vs_luajit_<objects>", for information: the plain scheduler
//   run by LuaJIT, when the `luajit` program is installed.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_objects.h"
#include "core/lock.h"

namespace {

using bench_objects::Engine;
using bench_objects::FRAME_TIME;
using bench_objects::seconds;

// The scheduler a game maker would write in Lua: `pause` sets the countdown and
// makes the handle, `wait` yields it, `setup` makes a coroutine per object on
// the function that `newBody` gives, and `frame` counts down and resumes.
const std::string SCHEDULER_LOOP =
    "function setup(n)\n"
    "  for id = 1, n do\n"
    "    countdowns[id] = 0\n"
    "    threads[id] = coroutine.create(newBody())\n"
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

const std::string LUA_SCHEDULER =
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
    "local function newBody() return body end\n" +
    SCHEDULER_LOOP;

// The same, shaped as the engine's objects: `pause` and `wait` are library
// globals, and each coroutine runs a function of its own (one prototype, as
// the engine shares a script's) that reads them through its own environment
// and a shared table, whose metatables also send new globals to the shared table.
const std::string LUA_ENV_SCHEDULER =
    "local threads, countdowns, count = {}, {}, 0\n"
    "function pause(id, seconds)\n"
    "  countdowns[id] = seconds\n"
    "  return {oid = id, eid = 0}\n"
    "end\n"
    "wait = coroutine.yield\n"
    "local shared = setmetatable({}, {__index = _G})\n"
    "local function newBody()\n"
    "  local body = function(id)\n"
    "    while true do\n"
    "      wait(pause(id, 0.001))\n"
    "    end\n"
    "  end\n"
    "  return setfenv(body, setmetatable({}, {__index = shared, __newindex = shared}))\n"
    "end\n" +
    SCHEDULER_LOOP;

// The plain scheduler as a LuaJIT program: `luajit <file> <objects> <frames>`
// prints its median frame in seconds of processor time.
const char* const LUAJIT_DRIVER =
    "setup(tonumber(arg[1]))\n"
    "local frames = tonumber(arg[2])\n"
    "for i = 1, 3 do frame(0.02) end\n"
    "local times = {}\n"
    "for i = 1, frames do\n"
    "  local start = os.clock()\n"
    "  frame(0.02)\n"
    "  times[i] = os.clock() - start\n"
    "end\n"
    "table.sort(times)\n"
    "print(string.format('%.9f', times[math.floor(frames / 2) + 1]))\n";

class LuaScheduler {
public:
    LuaScheduler(int objectCount, const std::string& source) : L(luaL_newstate()) {
        luaL_openlibs(L);
        if (luaL_dostring(L, source.c_str()) != 0) {
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
void againstLua(int objectCount, int frames, const std::string& script, const std::string& source,
                const char* name) {
    LuaScheduler scheduler(objectCount, source);
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
    std::printf("%s, %d objects, %d frames each:\n", name, objectCount, frames);
    printSpread("update pass", engineSpread);
    printSpread("Lua scheduler", luaSpread);
    std::printf("RATIO %s_%d %.2f\n", name, objectCount, engineSpread.median / luaSpread.median);
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

// The plain scheduler under LuaJIT, run as a program of its own, against the
// engine's frames in turn. Nothing is printed when LuaJIT is not installed.
void againstLuaJit(int objectCount, int frames, const std::string& script) {
    const auto path = std::filesystem::temp_directory_path() / "scripts_bench_luajit.lua";
    std::ofstream(path) << LUA_SCHEDULER << LUAJIT_DRIVER;
    const std::string command = "luajit " + path.string() + " " + std::to_string(objectCount) +
                                " " + std::to_string(frames) + " 2>/dev/null";
    Engine engine(objectCount, script);
    std::vector<double> engineMedians;
    std::vector<double> luaJitMedians;
    for (int round = 0; round < 3; ++round) {
        FILE* luajit = popen(command.c_str(), "r");
        double median = 0.0;
        const bool read = luajit != nullptr && std::fscanf(luajit, "%lf", &median) == 1;
        if (luajit == nullptr || pclose(luajit) != 0 || !read || median <= 0.0) {
            std::printf("luajit did not run: no RATIO scripts_vs_luajit_%d\n", objectCount);
            std::filesystem::remove(path);
            return;
        }
        luaJitMedians.push_back(median);
        std::vector<double> times;
        for (int frame = 0; frame < frames; ++frame) {
            times.push_back(seconds([&] { engine.frame(); }));
        }
        engineMedians.push_back(spreadOf(times).median);
    }
    std::filesystem::remove(path);
    const Spread engineSpread = spreadOf(engineMedians);
    const Spread luaJitSpread = spreadOf(luaJitMedians);
    std::printf(
        "LuaJIT, %d objects, median frames of 3 rounds of %d: update pass %.3f ms, "
        "LuaJIT %.3f ms\n",
        objectCount, frames, engineSpread.median * 1e3, luaJitSpread.median * 1e3);
    std::printf("RATIO scripts_vs_luajit_%d %.2f\n", objectCount,
                engineSpread.median / luaJitSpread.median);
}

}  // namespace

int main() {
    const auto path = std::filesystem::temp_directory_path() / "scripts_bench.lua";
    std::ofstream(path) << bench_objects::OBJECT_SCRIPT;
    againstDirectResumes(10000, 25, path.string());
    for (const int objects : {10000, 100000}) {
        const int frames = objects == 10000 ? 60 : 20;
        againstLua(objects, frames, path.string(), LUA_SCHEDULER, "scripts_vs_lua");
        againstLua(objects, frames, path.string(), LUA_ENV_SCHEDULER, "scripts_vs_lua_env");
    }
    for (const int objects : {10000, 100000}) {
        againstLuaJit(objects, objects == 10000 ? 60 : 20, path.string());
    }
    std::filesystem::remove(path);
    return 0;
}
