#include "graphics/screen_format.h"

#include <gtest/gtest.h>

namespace {

namespace d3dfmt = platform::d3dfmt;

const ScreenFormat REQUEST(800, 600, d3dfmt::X8R8G8B8, 100, ScreenFormat::FULLSCREEN);

TEST(ScreenFormatTest, ConstructorsNormaliseTheModeButMakeKeepsIt) {
    const ScreenFormat none;
    EXPECT_EQ(none.width, 0);
    EXPECT_EQ(none.height, 0);
    EXPECT_EQ(none.format, 0);
    EXPECT_EQ(none.refreshRate, 0);
    EXPECT_EQ(none.mode, ScreenFormat::FULLSCREEN);

    EXPECT_EQ(ScreenFormat(1, 2, 3, 4, 7).mode, ScreenFormat::FULLSCREEN);
    EXPECT_EQ(ScreenFormat(1, 2, 3, 4, 0).mode, ScreenFormat::FULLSCREEN);
    EXPECT_EQ(ScreenFormat(1, 2, 3, 4, 2).mode, ScreenFormat::WINDOWED);

    const ScreenFormat made = ScreenFormat::make(800, 600, 0, 0, 0);
    EXPECT_EQ(made.width, 800);
    EXPECT_EQ(made.height, 600);
    EXPECT_EQ(made.mode, 0);

    platform::DisplayMode mode;
    mode.Width = 1280;
    mode.Height = 1024;
    mode.RefreshRate = 75;
    mode.Format = d3dfmt::R5G6B5;
    const ScreenFormat fromMode(mode, 5);
    EXPECT_EQ(fromMode.width, 1280);
    EXPECT_EQ(fromMode.height, 1024);
    EXPECT_EQ(fromMode.refreshRate, 75);
    EXPECT_EQ(fromMode.format, d3dfmt::R5G6B5);
    EXPECT_EQ(fromMode.mode, 5);  // stored unchanged
}

TEST(ScreenFormatTest, CompareCountsSizeDepthRateAndMode) {
    EXPECT_EQ(REQUEST.compare(ScreenFormat(800, 600, d3dfmt::X8R8G8B8, 85, 1)), -15);
    EXPECT_EQ(REQUEST.compare(ScreenFormat(800, 600, d3dfmt::R5G6B5, 100, 1)), -16);
    EXPECT_EQ(REQUEST.compare(ScreenFormat(800, 600, d3dfmt::X8R8G8B8, 100, 2)), -10000);
    EXPECT_EQ(REQUEST.compare(ScreenFormat(800, 600, d3dfmt::A8R8G8B8, 100, 1)), 0);
    EXPECT_EQ(REQUEST.compare(ScreenFormat(640, 480, d3dfmt::R5G6B5, 60, 2)),
              -(160 + 120 + 16 + 40 + 10000));

    // Symmetric.
    const ScreenFormat other(1024, 768, d3dfmt::R8G8B8, 60, 2);
    EXPECT_EQ(REQUEST.compare(other), other.compare(REQUEST));
}

TEST(ScreenFormatTest, CompareOfAbsurdNumbersStaysNegative) {
    const ScreenFormat huge = ScreenFormat::make(2147483647, 2147483647, 0, 2147483647, 2);
    const ScreenFormat tiny = ScreenFormat::make(-2147483647 - 1, -2147483647 - 1, 0, 0, 1);
    EXPECT_LT(huge.compare(tiny), -10000);
    EXPECT_GT(huge.compare(tiny), -2147483647 - 1);
}

TEST(ScreenFormatTest, BitsAndNamesOfEveryFormat) {
    struct Row {
        std::int32_t format;
        int bits;
        const char* name;
    };
    const Row rows[] = {
        {20, 24, "24bit[R8G8B8]"},   {21, 32, "32bit[A8R8G8B8]"}, {22, 32, "32bit[X8R8G8B8]"},
        {23, 16, "16bit[R5G6B5]"},   {24, 16, "16bit[X1R5G5B5]"}, {25, 16, "16bit[A1R5G5B5]"},
        {26, 16, "16bit[A4R4G4B4]"}, {27, 0, "Unknown Format"},   {28, 0, "Unknown Format"},
        {29, 16, "16bit[A8R3G3B2]"}, {30, 16, "16bit[X4R4G4B4]"}, {0, 0, "Unknown Format"},
        {80, 0, "Unknown Format"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ScreenFormat::bitsPerPixel(row.format), row.bits) << row.format;
        EXPECT_EQ(ScreenFormat::formatName(row.format), row.name) << row.format;
    }
    EXPECT_EQ(ScreenFormat::formatFromBits(16), d3dfmt::R5G6B5);
    EXPECT_EQ(ScreenFormat::formatFromBits(24), d3dfmt::R8G8B8);
    EXPECT_EQ(ScreenFormat::formatFromBits(32), d3dfmt::X8R8G8B8);
    EXPECT_EQ(ScreenFormat::formatFromBits(8), 0);
    EXPECT_EQ(ScreenFormat::modeName(1), "Fullscreen");
    EXPECT_EQ(ScreenFormat::modeName(2), "Windowed");
    EXPECT_EQ(ScreenFormat::modeName(0), "Invalid mode!");
}

TEST(ScreenFormatTest, TextsWriteTheRatioLikeAStream) {
    EXPECT_EQ(ScreenFormat::resolutionName(800, 600), "800x600[1.33333:1]");
    EXPECT_EQ(ScreenFormat::resolutionName(1280, 1024), "1280x1024[1.25:1]");
    EXPECT_EQ(ScreenFormat::resolutionName(1280, 800), "1280x800[1.6:1]");
    EXPECT_EQ(ScreenFormat::resolutionName(640, 640), "640x640[1:1]");
    EXPECT_EQ(REQUEST.toString(), "[800x600[1.33333:1] x 32bit[X8R8G8B8] x 100Hz x Fullscreen]");
    EXPECT_EQ(ScreenFormat(640, 480, d3dfmt::R5G6B5, 60, ScreenFormat::WINDOWED).toString(),
              "[640x480[1.33333:1] x 16bit[R5G6B5] x 60Hz x Windowed]");
    EXPECT_FLOAT_EQ(ScreenFormat(1280, 800, 22, 60, 1).getAspectRatio(), 1.6f);
}

}  // namespace
