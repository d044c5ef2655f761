// The null backend: what a program without a screen gets from the layer.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "persist/file_bytes.h"
#include "platform/headless/headless_platform.h"

namespace {

using namespace platform;

TEST(HeadlessBackend, BoxesTakeTheirDefaultButtonAndAreWritten) {
    std::ostringstream written;
    headless::HeadlessPlatform backend({}, &written);
    System& system = backend.system();
    EXPECT_EQ(system.messageBox("Fine", "A", mb::OK | mb::ICONWARNING), id::OK);
    EXPECT_EQ(system.messageBox("Sure?", "B", mb::YESNO | mb::ICONQUESTION | mb::SYSTEMMODAL),
              id::YES);
    EXPECT_EQ(system.messageBox("Again?", "C", mb::CANCELTRYCONTINUE), id::CANCEL);
    EXPECT_EQ(written.str(),
              "[A] Fine -> answered 1\n[B] Sure? -> answered 6\n[C] Again? -> answered 2\n");
}

TEST(HeadlessBackend, OnlyThePostedQuitComesOutOfTheQueue) {
    headless::HeadlessPlatform backend({}, nullptr);
    System& system = backend.system();
    Message message;
    EXPECT_FALSE(system.peekMessage(message));
    system.postQuitMessage(3);
    ASSERT_TRUE(system.peekMessage(message));
    EXPECT_EQ(message.message, wm::QUIT);
    EXPECT_EQ(message.wParam, 3u);
    EXPECT_FALSE(system.peekMessage(message));
}

TEST(HeadlessBackend, TheClockFollowsSleeps) {
    headless::HeadlessPlatform backend({}, nullptr);
    System& system = backend.system();
    const std::uint32_t before = system.milliseconds();
    system.sleep(20);
    EXPECT_GE(system.milliseconds() - before, 20u);
}

TEST(HeadlessBackend, NoWindowNoDirect3DNoKeys) {
    headless::HeadlessPlatform backend({}, nullptr);
    EXPECT_EQ(backend.createDirect3D(), nullptr);
    EXPECT_EQ(backend.windowing().createWindow("C", "T", ws::POPUP, 0, 0, 800, 600), nullptr);
    EXPECT_FALSE(backend.input().keyPressed(vk::ESCAPE));
    EXPECT_FALSE(backend.input().keyDown(vk::LBUTTON));
}

TEST(HeadlessBackend, DataFolderOnlyUnderAGivenRoot) {
    EXPECT_EQ(headless::HeadlessPlatform({}, nullptr).system().dataFolder("Sub"), "");
    persist_test::ScratchFolder root;
    headless::HeadlessPlatform backend(root.file("").string(), nullptr);
    const std::string folder = backend.system().dataFolder("Sub");
    EXPECT_EQ(std::filesystem::path(folder), root.file("Sub"));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(HeadlessBackend, SyncsAFileAndGivesTheLocalTime) {
    headless::HeadlessPlatform backend({}, nullptr);
    persist_test::ScratchFolder folder;
    std::FILE* file = std::fopen(folder.file("f").string().c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("x", file);
    std::fflush(file);
    EXPECT_TRUE(backend.system().syncFile(file));
    std::fclose(file);
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_isdst = -1;
    const std::tm local = backend.system().localTime(std::mktime(&t));
    EXPECT_EQ(local.tm_hour, 9);
    EXPECT_EQ(local.tm_wday, 1);  // a Monday
}

}  // namespace
