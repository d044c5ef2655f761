#pragma once
// The benchmark's state: 100,000 objects with 8 keys each (numbers, texts and
// booleans) and 1,000 shared script variables, kept as plain data so that the
// same state can be built through the object API or loaded from a file.
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "core/core.h"

namespace state_bench {

constexpr int OBJECT_COUNT = 100000;
constexpr int KEYS_PER_OBJECT = 8;
constexpr int VARIABLE_COUNT = 1000;
constexpr int RUNS = 5;

struct Variable {
    std::string name;
    int kind;  // LUA_TBOOLEAN, LUA_TNUMBER or LUA_TSTRING
    double number;
    std::string text;
};

struct Key {
    std::string name;
    std::uint8_t tag;
    double number;
    std::string text;
};

struct ObjectData {
    std::int32_t id;
    std::string script;
    float waitTime;
    std::vector<Key> keys;
};

struct StateData {
    std::vector<Variable> variables;
    std::vector<ObjectData> objects;
    std::int32_t nextObjectId;
};

StateData makeData();
// Resets the core and builds the data through the object API and the script state.
void build(Core& core, const StateData& data);

std::vector<char> readWhole(const std::string& path);
void writeWhole(const std::string& path, const std::vector<char>& bytes);

// The fastest of RUNS timings of `work`, in seconds.
template <typename Work>
double fastest(Work work) {
    double best = 1e30;
    for (int run = 0; run < RUNS; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = took.count() < best ? took.count() : best;
    }
    return best;
}

std::string scratchFile(const std::string& name);

}  // namespace state_bench
