// A program started from another folder finds its pictures beside itself.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/posix/game_folder.h"

namespace {

namespace fs = std::filesystem;

// Two folders: `game` with a program file and resources/, `elsewhere` empty.
class GameFolderTest : public ::testing::Test {
protected:
    GameFolderTest()
        : root(fs::temp_directory_path() / ("game-folder-" + std::to_string(std::rand()))),
          game(root / "game"),
          elsewhere(root / "elsewhere"),
          started(fs::current_path()) {
        fs::create_directories(game / "resources");
        fs::create_directories(elsewhere / "resources-not");
        std::ofstream(game / "tessak") << "program";
    }
    ~GameFolderTest() override {
        fs::current_path(started);
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    fs::path root, game, elsewhere, started;
};

TEST_F(GameFolderTest, WithoutResourcesHereTheProgramsFolderBecomesTheWorkingFolder) {
    fs::current_path(elsewhere);
    EXPECT_TRUE(platform::posix::enterGameFolder((game / "tessak").string()));
    EXPECT_TRUE(fs::equivalent(fs::current_path(), game));
}

TEST_F(GameFolderTest, ResourcesInTheWorkingFolderKeepIt) {
    fs::create_directories(elsewhere / "resources");
    fs::current_path(elsewhere);
    EXPECT_TRUE(platform::posix::enterGameFolder((game / "tessak").string()));
    EXPECT_TRUE(fs::equivalent(fs::current_path(), elsewhere));
}

TEST_F(GameFolderTest, WithResourcesNowhereTheWorkingFolderStays) {
    fs::current_path(elsewhere);
    for (const std::string& program : {(elsewhere / "tessak").string(), std::string()}) {
        EXPECT_FALSE(platform::posix::enterGameFolder(program)) << program;
        EXPECT_TRUE(fs::equivalent(fs::current_path(), elsewhere));
    }
}

TEST(ProgramPath, IsTheRunningTestProgram) {
    const std::string path = platform::posix::programPath();
    EXPECT_EQ(fs::path(path).filename(), "headless_tests");
    EXPECT_TRUE(fs::is_regular_file(path));
}

}  // namespace
