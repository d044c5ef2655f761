// Start-up of the display: window, Direct3D, caps, adapter report, enumeration.
#include "graphics_fixture.h"

namespace graphics_tests {
namespace {

namespace d3dfmt = platform::d3dfmt;

const std::vector<std::string> WINDOW_AND_DIRECT3D = {
    "Initializing window...",
    "Success!",
    "Initializing Graphics Sub-System...",
    "Creating Direct3D 9...",
    "Success!",
    "Requesting device capabilities for default graphics adapter...",
    "Success!",
    "Collecting primary graphics adapter information...",
};

using StartupTest = GraphicsTest;

TEST_F(StartupTest, TheWholeTranscriptInOrder) {
    fake.direct3d.setIdentifier(
        "\\\\.\\DISPLAY1", "Radeon X", "ati2dvag.dll",
        (std::int64_t{6} << 48) | (std::int64_t{14} << 32) | (std::int64_t{10} << 16) | 6764);
    ASSERT_TRUE(Graphics::initialize("MainGameClass", "Tessak", ""));

    std::vector<LogEntry> expected;
    for (const std::string& line : WINDOW_AND_DIRECT3D) {
        expected.push_back(info(line));
    }
    for (const char* line :
         {"Device: \\\\.\\DISPLAY1", "Description: Radeon X", "Driver: ati2dvag.dll", "Product: 6",
          "Version: 14", "SubVersion: 10", "Build: 6764", "Success!",
          "Enumerating potential screen formats...", "Success!"}) {
        expected.push_back(info(line));
    }
    EXPECT_EQ(entries(), expected);
    EXPECT_TRUE(platformFake.fakeSystem.boxes.empty());
    EXPECT_EQ(fake.direct3d.calls[0], "getDeviceCaps");
    EXPECT_EQ(fake.direct3d.calls[1], "getAdapterIdentifier 0");
}

TEST_F(StartupTest, VersionPartsAreUnsignedSixteenBitNumbers) {
    fake.direct3d.setIdentifier("D", "d", "x", static_cast<std::int64_t>(0xFFFF8000000100FFull));
    Graphics::initialize("MainGameClass", "Tessak", "");
    const std::vector<std::string> lines = messages();
    ASSERT_GE(lines.size(), 15u);
    EXPECT_EQ(lines[11], "Product: 65535");
    EXPECT_EQ(lines[12], "Version: 32768");
    EXPECT_EQ(lines[13], "SubVersion: 1");
    EXPECT_EQ(lines[14], "Build: 255");

    forgetLog();
    Graphics::resetForTests();
    fake.direct3d.setIdentifier("", "", "", 0);
    Graphics::initialize("MainGameClass", "Tessak", "");
    const std::vector<std::string> zero = messages();
    ASSERT_GE(zero.size(), 15u);
    EXPECT_EQ(zero[8], "Device: ");
    EXPECT_EQ(zero[11], "Product: 0");
    EXPECT_EQ(zero[12], "Version: 0");
    EXPECT_EQ(zero[13], "SubVersion: 0");
    EXPECT_EQ(zero[14], "Build: 0");
}

TEST_F(StartupTest, UnterminatedIdentifierTextsStopAtTheirArrays) {
    std::memset(fake.direct3d.identifier.DeviceName, 'A',
                sizeof fake.direct3d.identifier.DeviceName);
    Graphics::initialize("MainGameClass", "Tessak", "");
    const std::vector<std::string> lines = messages();
    ASSERT_GE(lines.size(), 9u);
    EXPECT_EQ(lines[8], "Device: " + std::string(32, 'A'));
}

TEST_F(StartupTest, AdapterIdentifierFailureWarnsAndGoesOn) {
    fake.direct3d.identifierResult = platform::e::FAIL;
    ASSERT_TRUE(Graphics::initialize("MainGameClass", "Tessak", ""));

    std::vector<LogEntry> expected;
    for (const std::string& line : WINDOW_AND_DIRECT3D) {
        expected.push_back(info(line));
    }
    expected.push_back(warning("Failed to collect primary graphics adapter information."));
    expected.push_back(info("Enumerating potential screen formats..."));
    expected.push_back(info("Success!"));
    EXPECT_EQ(entries(), expected);
    ASSERT_EQ(platformFake.fakeSystem.boxes.size(), 1u);
    EXPECT_EQ(platformFake.fakeSystem.boxes[0].text,
              "Failed to collect primary graphics adapter information.");
}

TEST_F(StartupTest, MissingDirect3DIsFatalWithTheAdvice) {
    platformFake.fakeDirect3D = nullptr;
    EXPECT_THROW(Graphics::initialize("MainGameClass", "Tessak", ""), Log::Fatal);
    const std::string advice =
        "Failed to initialize Direct3D.\n\nPossible Solutions:\n*Install the latest version of "
        "DirectX.\n*Verify that your system has a Direct3D compatible video card or on-board "
        "video hardware and that it is properly installed.\n*Insure your video drivers are "
        "up-to-date.";
    const std::vector<LogEntry> expected = {info("Initializing window..."), info("Success!"),
                                            info("Initializing Graphics Sub-System..."),
                                            info("Creating Direct3D 9..."), error(advice)};
    EXPECT_EQ(entries(), expected);
    ASSERT_EQ(platformFake.fakeSystem.boxes.size(), 1u);
    EXPECT_EQ(platformFake.fakeSystem.boxes[0].text, advice);
    EXPECT_EQ(platformFake.fakeSystem.boxes[0].caption, "Engine");
}

TEST_F(StartupTest, FailedCapsQueryLeavesCapsZero) {
    fake.direct3d.caps.DevCaps = 0xFFFFFFFFu;
    fake.direct3d.capsResult = platform::e::FAIL;
    Graphics::initialize("MainGameClass", "Tessak", "");
    Graphics::setScreenFormat(ScreenFormat(800, 600, d3dfmt::X8R8G8B8, 100, 1));
    ASSERT_EQ(fake.direct3d.creations.size(), 1u);
    EXPECT_EQ(fake.direct3d.creations[0].behaviourFlags, 0x122u);
}

TEST_F(StartupTest, TheWindowIsRegisteredCreatedAndLeftHidden) {
    Graphics::initialize("MainGameClass", "Tessak", "");
    ASSERT_EQ(fake.windows.classes.size(), 1u);
    const platform::WindowClass& windowClass = fake.windows.classes[0];
    EXPECT_EQ(windowClass.className, "MainGameClass");
    EXPECT_EQ(windowClass.style, 0x2Bu);
    EXPECT_EQ(windowClass.procedure, &Graphics::windowProcedure);
    EXPECT_EQ(windowClass.icon, &fake.windows.applicationIconObject);
    EXPECT_EQ(windowClass.smallIcon, windowClass.icon);

    ASSERT_EQ(fake.windows.windows.size(), 1u);
    const fakes::FakeWindow& window = *fake.windows.windows[0];
    EXPECT_EQ(Graphics::getWindow(), &window);
    EXPECT_EQ(window.title, "Tessak");
    EXPECT_EQ(window.style, 0x86000000u);
    EXPECT_EQ(window.placement.left, platform::cw::USEDEFAULT);
    EXPECT_EQ(window.placement.top, 0);
    EXPECT_EQ(window.placement.right - window.placement.left, 320);
    EXPECT_EQ(window.placement.bottom - window.placement.top, 240);
    EXPECT_FALSE(window.visible);
    const std::vector<std::string> windowCalls = {"applicationIcon", "registerClass MainGameClass",
                                                  "createWindow MainGameClass Tessak 0x86000000",
                                                  "updateWindow"};
    EXPECT_EQ(fake.windows.calls, windowCalls);
}

TEST_F(StartupTest, IconFileIsLoadedAndAMissingOneGivesNoIcon) {
    fake.windows.iconFiles.insert("resources/icon.ico");
    Graphics::initialize("MainGameClass", "Tessak", "resources/icon.ico");
    EXPECT_EQ(fake.windows.classes.back().icon, &fake.windows.fileIconObject);
    EXPECT_EQ(fake.windows.classes.back().smallIcon, &fake.windows.fileIconObject);

    Graphics::resetForTests();
    forgetLog();
    ASSERT_TRUE(Graphics::initialize("MainGameClass", "Tessak", "resources/none.ico"));
    EXPECT_EQ(fake.windows.classes.back().icon, nullptr);
    EXPECT_EQ(fake.windows.classes.back().smallIcon, nullptr);
    EXPECT_EQ(messages().back(), "Success!");
    EXPECT_EQ(fake.windows.iconLoads,
              (std::vector<std::string>{"resources/icon.ico", "resources/none.ico"}));
}

}  // namespace
}  // namespace graphics_tests
