#include "app/startup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/core.h"
#include "fakes/fake_graphics.h"
#include "fakes/fake_platform.h"
#include "game/game.h"
#include "game/game_state.h"
#include "graphics/texture.h"
#include "log/log.h"

namespace {

class StartupTest : public ::testing::Test {
protected:
    StartupTest() : graphics(platformFake) {
        Game::resetState();
        for (const Game::TextureFile& file : Game::textureFiles) {
            graphics.addImage(file.path, 32, 32);
        }
    }
    ~StartupTest() override {
        for (const Game::TextureFile& file : Game::textureFiles) {
            delete (Game::textures.*file.slot);
            Game::textures.*file.slot = nullptr;
        }
        delete App::core;
        App::core = nullptr;
        Game::resetState();
    }

    void quitAtOnce() {
        platform::Message quit;
        quit.message = platform::wm::QUIT;
        platformFake.fakeSystem.queue.push_back(quit);
    }

    std::vector<std::string> loadedPaths() {
        std::vector<std::string> paths;
        for (const auto& texture : graphics.device().textures) {
            paths.push_back(texture->path);
        }
        return paths;
    }

    fakes::FakePlatform platformFake;
    fakes::FakeGraphics graphics;
};

TEST_F(StartupTest, LoadsEveryPictureInOrderAfterTheDeviceExistsThenRunsUntilQuit) {
    quitAtOnce();
    EXPECT_EQ(App::run(7), 0);

    std::vector<std::string> expected;
    for (const Game::TextureFile& file : Game::textureFiles) {
        expected.push_back(file.path);
    }
    EXPECT_EQ(loadedPaths(), expected);
    EXPECT_EQ(expected.front(), "resources/backdrop.png");
    EXPECT_EQ(expected.back(), "resources/tessak.png");
    for (const Game::TextureFile& file : Game::textureFiles) {
        EXPECT_NE(Game::textures.*file.slot, nullptr) << file.path;
    }

    // The device was made, in the requested format, before the first picture.
    ASSERT_EQ(graphics.direct3d.creations.size(), 1u);
    const platform::PresentParameters& parameters = graphics.direct3d.creations[0].parameters;
    EXPECT_EQ(parameters.BackBufferWidth, 800u);
    EXPECT_EQ(parameters.BackBufferHeight, 600u);
    EXPECT_EQ(parameters.BackBufferFormat, platform::d3dfmt::X8R8G8B8);
    EXPECT_FALSE(parameters.Windowed);
    EXPECT_EQ(parameters.FullScreen_RefreshRateInHz, 100u);
    const auto& journal = graphics.journal;
    const auto created = std::find_if(journal.begin(), journal.end(), [](const std::string& call) {
        return call.rfind("d3d.createDevice", 0) == 0;
    });
    const auto firstTexture =
        std::find_if(journal.begin(), journal.end(), [](const std::string& call) {
            return call.find("createTextureFromFile") != std::string::npos;
        });
    ASSERT_NE(created, journal.end());
    ASSERT_NE(firstTexture, journal.end());
    EXPECT_LT(created - journal.begin(), firstTexture - journal.begin());

    ASSERT_EQ(graphics.windows.classes.size(), 1u);
    EXPECT_EQ(graphics.windows.classes[0].className, "MainGameClass");
    ASSERT_EQ(graphics.windows.windows.size(), 1u);
    EXPECT_EQ(graphics.windows.windows[0]->title, "Tessak");
    EXPECT_EQ(graphics.windows.iconLoads, std::vector<std::string>{"resources/icon.ico"});

    // The script state exists: objects can be made.
    ASSERT_NE(App::core, nullptr);
    EXPECT_NE(App::core->createObject(0, ""), nullptr);
}

TEST_F(StartupTest, TheSeedDecidesTheFirstPreview) {
    quitAtOnce();
    App::run(12345);
    const int pivot = Game::state.nextPivotKind;
    const int second = Game::state.nextSecondKind;

    std::srand(12345);
    EXPECT_EQ(pivot, std::rand() % 4 + 1);
    EXPECT_EQ(second, std::rand() % 4 + 1);
    EXPECT_GE(pivot, 1);
    EXPECT_LE(pivot, 4);
}

TEST_F(StartupTest, AMissingPictureStopsStartUpBeforeTheMainLoop) {
    graphics.device().images.erase("resources/buttonoptions.png");  // the fifth file
    quitAtOnce();
    EXPECT_THROW(App::run(1), Log::Fatal);

    EXPECT_EQ(loadedPaths().size(), 4u);
    ASSERT_FALSE(platformFake.fakeSystem.boxes.empty());
    EXPECT_EQ(platformFake.fakeSystem.boxes.back().text,
              "Failed to create texture 'resources/buttonoptions.png'");
    // The main loop never took its message.
    EXPECT_EQ(platformFake.fakeSystem.queue.size(), 1u);
    EXPECT_EQ(Game::textures.optionsButton, nullptr);
    EXPECT_EQ(Game::textures.title, nullptr);
}

std::vector<std::string> reportedFailures;
void recordFailure(const std::string& text) { reportedFailures.push_back(text); }

TEST_F(StartupTest, TheProgramEndsWithOneOnAFatalErrorWithoutReportingItAgain) {
    reportedFailures.clear();
    graphics.device().images.erase("resources/logo.png");
    quitAtOnce();
    EXPECT_EQ(App::runProgram(recordFailure), 1);
    EXPECT_TRUE(reportedFailures.empty());  // the error's own box was the report
    ASSERT_FALSE(platformFake.fakeSystem.boxes.empty());
    EXPECT_EQ(platformFake.fakeSystem.boxes.back().text,
              "Failed to create texture 'resources/logo.png'");
}

TEST_F(StartupTest, TheProgramReportsAnyOtherFailureByNameAndEndsWithOne) {
    reportedFailures.clear();
    platformFake.fakeWindowing = nullptr;  // the backend's window calls now throw
    quitAtOnce();
    EXPECT_EQ(App::runProgram(recordFailure), 1);
    EXPECT_EQ(reportedFailures,
              std::vector<std::string>{"Tessak: this test installed no fake windows"});
}

TEST_F(StartupTest, TheProgramEndsWithTheMainLoopsStatus) {
    reportedFailures.clear();
    quitAtOnce();
    EXPECT_EQ(App::runProgram(recordFailure), 0);
    EXPECT_TRUE(reportedFailures.empty());
}

TEST_F(StartupTest, ClosingTheWindowEndsTheProgramNormally) {
    platformFake.fakeSystem.onDispatch = [this](const platform::Message& message) {
        if (message.window != nullptr) {
            graphics.windows.send(message.window, message.message, message.wParam, message.lParam);
        }
    };
    // Let a few frames run, then close the window as the title bar's close button would.
    int frames = 0;
    platformFake.fakeSystem.onSleep = [&](std::uint32_t milliseconds) {
        if (milliseconds == 1 && ++frames == 3) {
            platform::Message close;
            close.window = graphics.windows.windows[0].get();
            close.message = platform::wm::CLOSE;
            platformFake.fakeSystem.queue.push_back(close);
        }
    };
    platformFake.fakeSystem.clockStep = 16;
    EXPECT_EQ(App::run(3), 0);
    EXPECT_EQ(frames, 3);
    EXPECT_GT(graphics.device().presents, 0);
}

TEST_F(StartupTest, EscapeInTheMenuDestroysTheWindowAndEndsTheProgramNormally) {
    Game::state.introActive = false;
    Game::state.menuActive = true;
    platformFake.fakeInput.down.insert(platform::vk::ESCAPE);
    platformFake.fakeSystem.clockStep = 16;
    int frames = 0;
    platformFake.fakeSystem.onSleep = [&](std::uint32_t milliseconds) {
        if (milliseconds == 1) {
            ++frames;
        }
    };

    EXPECT_EQ(App::run(5), 0);
    EXPECT_EQ(frames, 1);
    EXPECT_TRUE(graphics.windows.windows[0]->destroyed);
}

// A data folder of the test's own, the log closed again afterwards.
class StartupLogTest : public StartupTest {
protected:
    StartupLogTest()
        : folder(std::filesystem::temp_directory_path() /
                 ("startup-log-" + std::to_string(std::rand()))) {
        std::filesystem::create_directories(folder);
        platformFake.fakeSystem.dataFolderPath = folder.string();
        quitAtOnce();
    }
    ~StartupLogTest() override {
        Log::close();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::filesystem::path folder;
};

TEST_F(StartupLogTest, TheLogOpensInTheGamesFolderBeforeTheFirstEntry) {
    EXPECT_EQ(App::run(2), 0);
    EXPECT_EQ(platformFake.fakeSystem.lastSubFolder, "Tessak");
    std::ifstream page(folder / "Tessak" / "Log.html");
    const std::string text((std::istreambuf_iterator<char>(page)),
                           std::istreambuf_iterator<char>());
    EXPECT_EQ(text.rfind("<head><title>Engine Log</title></head>", 0), 0u);
    EXPECT_NE(text.find("]: Initializing window...<br>"), std::string::npos);
    EXPECT_NE(text.find("]: Graceful shutdown detected.<br>"), std::string::npos);
}

TEST_F(StartupLogTest, ALogThatCannotBeWrittenLeavesTheGamePlaying) {
    // Log.html taken by a folder: neither the page nor an entry can be written.
    std::filesystem::create_directories(folder / "Tessak" / "Log.html");
    EXPECT_EQ(App::run(2), 0);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Tessak" / "Log.html"));
    EXPECT_TRUE(platformFake.fakeSystem.boxes.empty());
    EXPECT_EQ(loadedPaths().size(), 20u);
}

}  // namespace
