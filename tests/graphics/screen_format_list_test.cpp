// The list of usable formats: enumeration, queries and the nearest-format search.
#include "graphics_fixture.h"

namespace graphics_tests {
namespace {

using fakes::displayMode;
namespace d3dfmt = platform::d3dfmt;

std::vector<std::string> texts(const std::vector<ScreenFormat>& formats) {
    std::vector<std::string> result;
    for (const ScreenFormat& format : formats) {
        result.push_back(format.toString());
    }
    return result;
}

std::vector<ScreenFormat> all() {
    return Graphics::findScreenFormats(ScreenFormat::make(0, 0, 0, 0, 0));
}

class ScreenFormatListTest : public GraphicsTest {
protected:
    // Replaces the display's modes and runs the start-up.
    void startWith(std::vector<platform::DisplayMode> sixteen,
                   std::vector<platform::DisplayMode> thirtyTwo) {
        fake.direct3d.modes[d3dfmt::R5G6B5] = std::move(sixteen);
        fake.direct3d.modes[d3dfmt::X8R8G8B8] = std::move(thirtyTwo);
        ASSERT_TRUE(Graphics::initialize("MainGameClass", "Tessak", ""));
    }
};

TEST_F(ScreenFormatListTest, OrderIsDepthThenFullScreenThenWindowedAndSmallModesStayOut) {
    startWith(
        {displayMode(640, 480, 60, d3dfmt::R5G6B5), displayMode(640, 400, 70, d3dfmt::R5G6B5),
         displayMode(512, 384, 60, d3dfmt::R5G6B5), displayMode(1024, 768, 60, d3dfmt::R5G6B5)},
        {displayMode(800, 600, 85, d3dfmt::X8R8G8B8), displayMode(800, 600, 60, d3dfmt::X8R8G8B8),
         displayMode(1024, 768, 75, d3dfmt::X8R8G8B8),
         displayMode(1280, 720, 60, d3dfmt::X8R8G8B8)});
    const std::vector<std::string> expected = {
        "[640x480[1.33333:1] x 16bit[R5G6B5] x 60Hz x Fullscreen]",
        "[1024x768[1.33333:1] x 16bit[R5G6B5] x 60Hz x Fullscreen]",
        "[640x480[1.33333:1] x 16bit[R5G6B5] x 60Hz x Windowed]",
        "[800x600[1.33333:1] x 32bit[X8R8G8B8] x 85Hz x Fullscreen]",
        "[800x600[1.33333:1] x 32bit[X8R8G8B8] x 60Hz x Fullscreen]",
        "[1024x768[1.33333:1] x 32bit[X8R8G8B8] x 75Hz x Fullscreen]",
        "[1280x720[1.77778:1] x 32bit[X8R8G8B8] x 60Hz x Fullscreen]",
        "[800x600[1.33333:1] x 32bit[X8R8G8B8] x 85Hz x Windowed]",
        "[800x600[1.33333:1] x 32bit[X8R8G8B8] x 60Hz x Windowed]",
    };
    // The 1024 x 768 desktop admits windows strictly smaller in both directions:
    // neither 1024 x 768 nor 1280 x 720 is a windowed entry.
    EXPECT_EQ(texts(all()), expected);
    EXPECT_EQ(Graphics::getDesktopScreenFormat().toString(),
              "[1024x768[1.33333:1] x 32bit[X8R8G8B8] x 60Hz x Fullscreen]");
}

TEST_F(ScreenFormatListTest, OnlyModesTheHardwareAcceptsEnter) {
    fake.direct3d.desktop = displayMode(1280, 1024, 60, d3dfmt::R5G6B5);
    // Full screen in 32 bits refused; windowed 32-bit back buffers on the
    // 16-bit desktop refused.
    fake.direct3d.refused.insert({d3dfmt::X8R8G8B8, d3dfmt::X8R8G8B8, false});
    fake.direct3d.refused.insert({d3dfmt::R5G6B5, d3dfmt::X8R8G8B8, true});
    fake.direct3d.refusedResult = 1;  // a success code other than d3d::OK counts as refusal too
    startWith({displayMode(800, 600, 60, d3dfmt::R5G6B5)},
              {displayMode(800, 600, 60, d3dfmt::X8R8G8B8)});
    EXPECT_EQ(texts(all()),
              (std::vector<std::string>{"[800x600[1.33333:1] x 16bit[R5G6B5] x 60Hz x Fullscreen]",
                                        "[800x600[1.33333:1] x 16bit[R5G6B5] x 60Hz x Windowed]"}));

    // The checks: mode format twice for full screen, desktop format and mode
    // format for windows.
    ASSERT_EQ(fake.direct3d.checks.size(), 4u);
    EXPECT_EQ(fake.direct3d.checks[1].adapterFormat, d3dfmt::R5G6B5);
    EXPECT_TRUE(fake.direct3d.checks[1].windowed);
    EXPECT_EQ(fake.direct3d.checks[2].adapterFormat, d3dfmt::X8R8G8B8);
    EXPECT_EQ(fake.direct3d.checks[2].backBufferFormat, d3dfmt::X8R8G8B8);
    EXPECT_FALSE(fake.direct3d.checks[2].windowed);
    EXPECT_EQ(fake.direct3d.checks[3].adapterFormat, d3dfmt::R5G6B5);
    EXPECT_EQ(fake.direct3d.checks[3].backBufferFormat, d3dfmt::X8R8G8B8);
}

TEST_F(ScreenFormatListTest, WindowedEntriesMustBeSmallerThanTheDesktopBothWays) {
    fake.direct3d.desktop = displayMode(1024, 768, 60, d3dfmt::X8R8G8B8);
    startWith({}, {displayMode(800, 600, 60, d3dfmt::X8R8G8B8),
                   displayMode(1024, 600, 60, d3dfmt::X8R8G8B8),
                   displayMode(800, 768, 60, d3dfmt::X8R8G8B8),
                   displayMode(1024, 768, 60, d3dfmt::X8R8G8B8)});
    const std::vector<ScreenFormat> windowed =
        Graphics::findScreenFormats(ScreenFormat::make(0, 0, 0, 0, 2));
    EXPECT_EQ(
        texts(windowed),
        (std::vector<std::string>{"[800x600[1.33333:1] x 32bit[X8R8G8B8] x 60Hz x Windowed]"}));
    EXPECT_EQ(Graphics::findScreenFormats(ScreenFormat::make(1024, 768, 0, 0, 1)).size(), 1u);
}

TEST_F(ScreenFormatListTest, QueriesMatchOnEveryFieldThatIsNotZero) {
    startWith(
        {displayMode(800, 600, 60, d3dfmt::R5G6B5), displayMode(640, 480, 60, d3dfmt::R5G6B5)},
        {displayMode(800, 600, 100, d3dfmt::X8R8G8B8),
         displayMode(800, 600, 60, d3dfmt::X8R8G8B8)});
    EXPECT_EQ(
        texts(Graphics::findScreenFormats(ScreenFormat::make(800, 600, 0, 0, 0))),
        (std::vector<std::string>{"[800x600[1.33333:1] x 16bit[R5G6B5] x 60Hz x Fullscreen]",
                                  "[800x600[1.33333:1] x 16bit[R5G6B5] x 60Hz x Windowed]",
                                  "[800x600[1.33333:1] x 32bit[X8R8G8B8] x 100Hz x Fullscreen]",
                                  "[800x600[1.33333:1] x 32bit[X8R8G8B8] x 60Hz x Fullscreen]",
                                  "[800x600[1.33333:1] x 32bit[X8R8G8B8] x 100Hz x Windowed]",
                                  "[800x600[1.33333:1] x 32bit[X8R8G8B8] x 60Hz x Windowed]"}));
    // The normal constructor turns mode 0 into full screen.
    EXPECT_EQ(Graphics::findScreenFormats(ScreenFormat(800, 600, 0, 0, 0)).size(), 3u);
    EXPECT_EQ(
        texts(Graphics::findScreenFormats(ScreenFormat::make(0, 0, d3dfmt::X8R8G8B8, 60, 2))),
        (std::vector<std::string>{"[800x600[1.33333:1] x 32bit[X8R8G8B8] x 60Hz x Windowed]"}));
    EXPECT_TRUE(Graphics::findScreenFormats(ScreenFormat::make(1600, 0, 0, 0, 0)).empty());
}

TEST_F(ScreenFormatListTest, NearestPrefersTheHighestScoreAndTheEarliestOnTies) {
    startWith(
        {displayMode(800, 600, 100, d3dfmt::R5G6B5), displayMode(800, 600, 60, d3dfmt::R5G6B5)},
        {displayMode(800, 600, 85, d3dfmt::X8R8G8B8), displayMode(800, 600, 120, d3dfmt::X8R8G8B8),
         displayMode(800, 600, 60, d3dfmt::X8R8G8B8)});
    ScreenFormat out;
    // -16, (-56), -15, -20: the 85 Hz entry.
    ASSERT_TRUE(
        Graphics::findNearestScreenFormat(ScreenFormat(800, 600, d3dfmt::X8R8G8B8, 100, 1), out));
    EXPECT_EQ(out.toString(), "[800x600[1.33333:1] x 32bit[X8R8G8B8] x 85Hz x Fullscreen]");

    // 24 bits ties between 16 and 32 at -8: the earlier 16-bit entry wins.
    ASSERT_TRUE(
        Graphics::findNearestScreenFormat(ScreenFormat(800, 600, d3dfmt::R8G8B8, 60, 1), out));
    EXPECT_EQ(out.toString(), "[800x600[1.33333:1] x 16bit[R5G6B5] x 60Hz x Fullscreen]");

    // The output may be the request itself.
    ScreenFormat same(800, 600, d3dfmt::X8R8G8B8, 110, 1);
    ASSERT_TRUE(Graphics::findNearestScreenFormat(same, same));
    EXPECT_EQ(same.toString(), "[800x600[1.33333:1] x 32bit[X8R8G8B8] x 120Hz x Fullscreen]");
}

TEST_F(ScreenFormatListTest, AWindowedRequestPrefersASmallerWindowToFullScreen) {
    fake.direct3d.desktop = displayMode(800, 600, 60, d3dfmt::X8R8G8B8);
    startWith({}, {displayMode(640, 480, 60, d3dfmt::X8R8G8B8),
                   displayMode(800, 600, 60, d3dfmt::X8R8G8B8)});
    ScreenFormat out;
    ASSERT_TRUE(
        Graphics::findNearestScreenFormat(ScreenFormat(800, 600, d3dfmt::X8R8G8B8, 60, 2), out));
    EXPECT_EQ(out.toString(), "[640x480[1.33333:1] x 32bit[X8R8G8B8] x 60Hz x Windowed]");
    EXPECT_EQ(out.compare(ScreenFormat(800, 600, d3dfmt::X8R8G8B8, 60, 2)), -280);
}

TEST_F(ScreenFormatListTest, NoEntriesMeansNothingNearestAndAFatalRequest) {
    startWith({displayMode(512, 384, 60, d3dfmt::R5G6B5)}, {});
    EXPECT_TRUE(all().empty());
    ScreenFormat out(1, 2, 3, 4, 2);
    EXPECT_FALSE(Graphics::findNearestScreenFormat(ScreenFormat(800, 600, 22, 100, 1), out));
    EXPECT_EQ(out.width, 1);  // untouched

    forgetLog();
    EXPECT_THROW(Graphics::setScreenFormat(ScreenFormat(800, 600, 22, 100, 1)), Log::Fatal);
    EXPECT_EQ(
        entries(),
        (std::vector<LogEntry>{
            info("Validating requested screen format..."),
            error("Your graphics hardware does not support any compatable screen formats.")}));
    EXPECT_TRUE(fake.direct3d.creations.empty());
}

TEST_F(ScreenFormatListTest, EnumeratingAgainRebuildsTheList) {
    startWith({}, {displayMode(800, 600, 60, d3dfmt::X8R8G8B8)});
    const std::size_t first = all().size();
    Graphics::enumerateScreenFormats();
    EXPECT_EQ(all().size(), first);
    fake.direct3d.modes[d3dfmt::X8R8G8B8].push_back(displayMode(640, 480, 60, d3dfmt::X8R8G8B8));
    Graphics::enumerateScreenFormats();
    EXPECT_EQ(all().size(), first + 2);
}

}  // namespace
}  // namespace graphics_tests
