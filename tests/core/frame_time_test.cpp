#include "core/frame_time.h"

#include <gtest/gtest.h>

namespace {

using frame_time::elapsedSeconds;
using frame_time::MAX_FRAME;
using frame_time::smooth;

TEST(FrameTime, FirstFrameIsOnlyCapped) {
    EXPECT_FLOAT_EQ(smooth(0.010f, 0.0f), 0.010f);
    EXPECT_EQ(smooth(0.5f, 0.0f), MAX_FRAME);
    EXPECT_EQ(smooth(0.0f, 0.0f), 0.0f);
}

TEST(FrameTime, StaysWithinTwentyPercentOfThePreviousFrame) {
    EXPECT_FLOAT_EQ(smooth(0.030f, 0.0125f), 0.015f);
    EXPECT_FLOAT_EQ(smooth(0.001f, 0.0125f), 0.010f);
    EXPECT_FLOAT_EQ(smooth(0.013f, 0.0125f), 0.013f);
    // Single-precision factors, as the loop computes them.
    EXPECT_EQ(smooth(0.030f, 0.0125f), 1.2f * 0.0125f);
    EXPECT_EQ(smooth(0.001f, 0.0125f), 0.8f * 0.0125f);
}

TEST(FrameTime, ChangesJustBeyondTwentyPercentAreCut) {
    // Between 20 % and 25 % away from the previous frame: a looser limit
    // (25 %) would let these through unchanged.
    const float previous = 0.0125f;
    for (const float rise : {1.21f, 1.24f}) {
        EXPECT_EQ(smooth(rise * previous, previous), 1.2f * previous) << "rise " << rise;
    }
    for (const float fall : {0.79f, 0.76f}) {
        EXPECT_EQ(smooth(fall * previous, previous), 0.8f * previous) << "fall " << fall;
    }
}

TEST(FrameTime, CapAppliesAfterSmoothing) {
    EXPECT_EQ(smooth(0.05f, 0.02f), 0.022222223f);
    EXPECT_EQ(MAX_FRAME, 0.022222223f);
}

TEST(FrameTime, NeverReturnsToZeroOnceRunning) {
    EXPECT_FLOAT_EQ(smooth(0.0f, 0.01f), 0.008f);
    float t = 0.01f;
    for (int i = 0; i < 50; ++i) {
        t = smooth(0.0f, t);
        ASSERT_GT(t, 0.0f);
    }
}

TEST(FrameTime, ElapsedMillisecondsBecomeSeconds) {
    EXPECT_FLOAT_EQ(elapsedSeconds(1013, 1000), 0.013f);
    EXPECT_EQ(elapsedSeconds(1000, 1000), 0.0f);
}

TEST(FrameTime, ElapsedStaysSmallAcrossTheClockWrap) {
    EXPECT_FLOAT_EQ(elapsedSeconds(5u, 0xFFFFFFFBu), 0.010f);
    EXPECT_FLOAT_EQ(elapsedSeconds(0u, 0xFFFFFFFFu), 0.001f);
}

}  // namespace
