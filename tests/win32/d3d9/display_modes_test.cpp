// What the adapter reports: display modes per format, the desktop mode, the
// device-type check, the caps and the identifier, all of adapter 0's HAL device.
#include <cstring>

#include "d3d9_fixture.h"

namespace win32_d3d9_test {
namespace {

using DisplayModesTest = D3D9Fixture;

TEST_F(DisplayModesTest, BothFormatsListTheirModesWithThe800x600ModeAmongThem) {
    for (const std::int32_t format : {platform::d3dfmt::X8R8G8B8, platform::d3dfmt::R5G6B5}) {
        SCOPED_TRACE(format);
        const std::uint32_t count = direct3D->getAdapterModeCount(format);
        ASSERT_GT(count, 0u);
        bool found800x600 = false;
        for (std::uint32_t index = 0; index < count; ++index) {
            platform::DisplayMode mode;
            ASSERT_EQ(direct3D->enumAdapterModes(format, index, mode), platform::d3d::OK);
            EXPECT_EQ(mode.Format, format);
            EXPECT_GT(mode.Width, 0u);
            EXPECT_GT(mode.Height, 0u);
            found800x600 = found800x600 || (mode.Width == 800 && mode.Height == 600);
        }
        EXPECT_TRUE(found800x600);

        // Past the last mode the call fails and leaves the record alone.
        platform::DisplayMode untouched;
        untouched.Width = 12345;
        EXPECT_TRUE(platform::failed(direct3D->enumAdapterModes(format, count, untouched)));
        EXPECT_EQ(untouched.Width, 12345u);
    }
}

TEST_F(DisplayModesTest, TheDesktopModeIsTheScreenIn32Bits) {
    platform::DisplayMode mode;
    ASSERT_EQ(direct3D->getAdapterDisplayMode(mode), platform::d3d::OK);
    EXPECT_EQ(mode.Width, static_cast<std::uint32_t>(GetSystemMetrics(SM_CXSCREEN)));
    EXPECT_EQ(mode.Height, static_cast<std::uint32_t>(GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_EQ(mode.Format, platform::d3dfmt::X8R8G8B8);
}

TEST_F(DisplayModesTest, TheAdapterAcceptsThe32BitFormatAndDescribesItself) {
    EXPECT_EQ(
        direct3D->checkDeviceType(platform::d3dfmt::X8R8G8B8, platform::d3dfmt::X8R8G8B8, true),
        platform::d3d::OK);
    EXPECT_EQ(
        direct3D->checkDeviceType(platform::d3dfmt::X8R8G8B8, platform::d3dfmt::X8R8G8B8, false),
        platform::d3d::OK);
    // A back buffer format no adapter can show is refused.
    EXPECT_TRUE(platform::failed(
        direct3D->checkDeviceType(platform::d3dfmt::X8R8G8B8, platform::d3dfmt::D16, false)));

    platform::Caps caps;
    ASSERT_EQ(direct3D->getDeviceCaps(caps), platform::d3d::OK);
    EXPECT_NE(caps.DevCaps, 0u);

    platform::AdapterIdentifier identifier;
    ASSERT_EQ(direct3D->getAdapterIdentifier(0, identifier), platform::d3d::OK);
    EXPECT_GT(std::strlen(identifier.Description), 0u);
    EXPECT_GT(std::strlen(identifier.Driver), 0u);
    EXPECT_LT(std::strlen(identifier.DeviceName), sizeof(identifier.DeviceName));
}

}  // namespace
}  // namespace win32_d3d9_test
