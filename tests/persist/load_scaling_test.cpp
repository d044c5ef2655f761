// Loading a state grows linearly with the number of objects, also when the
// saved identifiers are not the ones that creation hands out: each restored
// identifier must be found and changed without walking the list.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <numeric>
#include <vector>

#include "state_fixture.h"

namespace {

using persist_test::ByteBuilder;
using persist_test::StateTest;

// A state of `count` plain objects with the identifiers 2 to count + 1, as a
// game leaves it when the first object it made was deleted: each object is
// made with the identifier that the one before it restores.
persist_test::Bytes shiftedState(std::int32_t count) {
    std::vector<std::int32_t> ids(static_cast<std::size_t>(count));
    std::iota(ids.begin(), ids.end(), 2);
    ByteBuilder file;
    file.byte(0).int32(static_cast<std::uint32_t>(count));
    for (const std::int32_t id : ids) {
        file.int32(0).string("").int32(static_cast<std::uint32_t>(id));
    }
    for (std::int32_t i = 0; i < count; ++i) {
        file.real32(0.0f).int32(0);
    }
    file.int32(static_cast<std::uint32_t>(count + 2));
    return file.bytes();
}

class LoadScalingTest : public StateTest {
protected:
    double loadSeconds(const std::filesystem::path& path, std::int32_t count) {
        // The objects of the load before are not this load's work.
        core.reset();
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(core.loadState(path.string()));
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(core.getObjects().size(), static_cast<std::size_t>(count));
        return took.count();
    }
};

TEST_F(LoadScalingTest, ShiftedIdentifiersLoadInLinearTime) {
    // Large enough that both loads take many milliseconds (debug and
    // sanitizer builds, with their checks, are slower per object).
#ifdef TESSAK_CORE_CHECKS
    constexpr std::int32_t SMALL = 25000;
#else
    constexpr std::int32_t SMALL = 50000;
#endif
    constexpr std::int32_t LARGE = 4 * SMALL;
    const auto smallFile = folder.file("small.bin");
    const auto largeFile = folder.file("large.bin");
    persist_test::writeFile(smallFile, shiftedState(SMALL));
    persist_test::writeFile(largeFile, shiftedState(LARGE));
    // One load first, so that no round pays for growing the heap; then the
    // best of a few rounds of each, taken in turn: on a shared machine the
    // fastest is the one least disturbed by other work.
    loadSeconds(largeFile, LARGE);
    double small = 1e9;
    double large = 1e9;
    for (int round = 0; round < 5; ++round) {
        small = std::min(small, loadSeconds(smallFile, SMALL));
        large = std::min(large, loadSeconds(largeFile, LARGE));
    }
    // Linear growth gives about 4x; a walk of the list per object gives 16x.
    EXPECT_LT(large, 6 * small) << SMALL << " objects: " << small << " s; " << LARGE
                                << " objects: " << large << " s";
    // Every restored identifier finds its object.
    const Object* found = core.findObject(LARGE + 1);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->getId(), LARGE + 1);
}

}  // namespace
