#pragma once
// The benchmark's state: 100,000 objects with 8 keys each (numbers, texts and
// booleans) and 1,000 shared script variables, kept as plain data so that the
// same state can be built through the object API or loaded from a file.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "core/core.h"

namespace state_bench {

constexpr int OBJECT_COUNT = 100000;
constexpr int KEYS_PER_OBJECT = 8;
constexpr int VARIABLE_COUNT = 1000;
constexpr int RUNS = 9;  // rounds of each side

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
// The same state with its identifiers scattered: distinct, in no order, and
// spread over twice the range (as objects made and deleted in play leave them).
StateData withScatteredIds(StateData data);
// Resets the core and builds the data through the object API and the script state.
void build(Core& core, const StateData& data);

std::vector<char> readWhole(const std::string& path);
void writeWhole(const std::string& path, const std::vector<char>& bytes);

// Seconds that `work` takes.
template <typename Work>
double timed(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Two sides timed round by round in turn, so that both meet the same load of a
// shared machine; the median of the rounds' ratios keeps a burst of someone
// else's work on one side out of the answer.
struct Alternation {
    double firstMedian;   // seconds
    double secondMedian;  // seconds
    double ratioMedian;   // first / second, median over the rounds
    double ratioLow;      // the lowest and highest round ratio
    double ratioHigh;
};

template <typename First, typename Second>
Alternation alternate(First&& first, Second&& second) {
    std::vector<double> firsts;
    std::vector<double> seconds;
    std::vector<double> ratios;
    for (int run = 0; run < RUNS; ++run) {
        firsts.push_back(timed(first));
        seconds.push_back(timed(second));
        ratios.push_back(firsts.back() / seconds.back());
    }
    const auto median = [](std::vector<double>& values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    Alternation result{};
    result.firstMedian = median(firsts);
    result.secondMedian = median(seconds);
    result.ratioMedian = median(ratios);
    result.ratioLow = ratios.front();
    result.ratioHigh = ratios.back();
    return result;
}

std::string scratchFile(const std::string& name);

}  // namespace state_bench
