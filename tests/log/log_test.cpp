#include "log/log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "fakes/fake_platform.h"

namespace {

namespace fs = std::filesystem;

const std::string HEADER =
    "<head><title>Engine Log</title></head><body bgcolor=#000000 text=#FFFFFF>"
    "<font size=2 face=Verdana><div align=center><br><hr noshade></p></div>";

std::time_t fixedClock() {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 3;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

const std::string STAMP = "Mon Dec 07 09:05:03 2026\n";

std::string entry(const std::string& colour, const std::string& glyph, const std::string& message) {
    return "<font face='webdings' size='6' color=#" + colour + "> " + glyph + "</font>" +
           "[<strong><font color=#" + colour + ">" + STAMP + "</font></strong>]: " + message +
           "<br>";
}

// Read in text mode, as the log writes it: Windows ends its lines with "\r\n".
std::string readPage(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("log_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        platformFake.fakeSystem.dataFolderPath = folder.string();
        Log::setClock(fixedClock);
        Log::close();
    }
    void TearDown() override {
        Log::close();
        Log::setClock(nullptr);
        fs::remove_all(folder);
    }
    std::string page() { return readPage(Log::path()); }

    fakes::FakePlatform platformFake;
    fs::path folder;
};

TEST_F(LogTest, NothingIsWrittenBeforeOpenButBoxesStillShow) {
    platformFake.fakeSystem.answers = {platform::id::OK, platform::id::NO};
    Log::info("quiet");
    Log::warning("careful");
    EXPECT_EQ(Log::askYesNo("sure?"), platform::id::NO);
    EXPECT_TRUE(Log::path().empty());
    EXPECT_FALSE(fs::exists(folder));
    ASSERT_EQ(platformFake.fakeSystem.boxes.size(), 2u);
    EXPECT_EQ(platformFake.fakeSystem.boxes[0].text, "careful");
    EXPECT_EQ(platformFake.fakeSystem.boxes[0].caption, "Engine");
    EXPECT_EQ(platformFake.fakeSystem.boxes[0].style, 0x1030u);
    EXPECT_EQ(platformFake.fakeSystem.boxes[1].style, 0x1024u);
}

TEST_F(LogTest, OpenStartsAFreshPageInTheSubFolder) {
    ASSERT_TRUE(Log::open("Tessak"));
    EXPECT_EQ(platformFake.fakeSystem.lastSubFolder, "Tessak");
    EXPECT_EQ(Log::path(), (folder / "Tessak" / "Log.html").string());
    EXPECT_EQ(page(), HEADER);

    Log::info("first");
    ASSERT_TRUE(Log::open("Tessak"));
    EXPECT_EQ(page(), HEADER);
}

TEST_F(LogTest, EntriesAreTheTwelvePiecesInOrder) {
    ASSERT_TRUE(Log::open("Tessak"));
    Log::info("Hello");
    Log::warning("Beware <b>bold</b>");
    EXPECT_EQ(page(), HEADER + entry("FFFFFF", ")", "Hello") +
                          entry("FFFF00", "<blink>~</blink>", "Beware <b>bold</b>"));
}

TEST_F(LogTest, QuestionsRecordTheAnswer) {
    ASSERT_TRUE(Log::open("Tessak"));
    auto& answers = platformFake.fakeSystem.answers;
    answers = {platform::id::YES,      platform::id::NO,       platform::id::CANCEL,
               platform::id::TRYAGAIN, platform::id::CONTINUE, platform::id::OK,
               platform::id::OK};
    EXPECT_EQ(Log::askYesNo("a"), 6);
    EXPECT_EQ(Log::askYesNo("b"), 7);
    EXPECT_EQ(Log::askCancelTryContinue("c"), 2);
    EXPECT_EQ(Log::askCancelTryContinue("d"), 10);
    EXPECT_EQ(Log::askCancelTryContinue("e"), 11);
    // An answer that is none of the box's buttons writes nothing.
    EXPECT_EQ(Log::askYesNo("f"), platform::id::OK);
    EXPECT_EQ(Log::askCancelTryContinue("g"), platform::id::OK);
    EXPECT_EQ(page(), HEADER + entry("CCCCFF", "2", "a [Yes]") + entry("CCCCFF", "2", "b [No]") +
                          entry("CCCCFF", "2", "c [Cancel]") +
                          entry("CCCCFF", "2", "d [Try Again]") +
                          entry("CCCCFF", "2", "e [Continue]"));
    EXPECT_EQ(platformFake.fakeSystem.boxes[2].style, 0x1026u);
}

TEST_F(LogTest, ErrorShowsItsBoxWritesItsEntryThenThrows) {
    ASSERT_TRUE(Log::open("Tessak"));
    bool returned = false;
    try {
        Log::error("fatal");
        returned = true;
    } catch (const Log::Fatal&) {
    }
    EXPECT_FALSE(returned);
    ASSERT_EQ(platformFake.fakeSystem.boxes.size(), 1u);
    EXPECT_EQ(platformFake.fakeSystem.boxes[0].style, 0x1010u);
    EXPECT_EQ(page(), HEADER + entry("FF0000", "<blink>!</blink>", "fatal"));
}

TEST(LogFatal, IsATypeOfItsOwnThatNoOtherThrownValueMatches) {
    bool caughtAsFatal = false;
    try {
        throw 0;
    } catch (const Log::Fatal&) {
        caughtAsFatal = true;
    } catch (int) {
    }
    EXPECT_FALSE(caughtAsFatal);
}

TEST_F(LogTest, NoDataFolderLeavesTheLogOff) {
    platformFake.fakeSystem.dataFolderPath.clear();
    EXPECT_FALSE(Log::open("Tessak"));
    EXPECT_TRUE(Log::path().empty());
    Log::info("dropped");
}

TEST_F(LogTest, UnwritablePageFailsOpenButKeepsThePath) {
    fs::create_directories(folder / "Tessak" / "Log.html");  // a folder where the page should be
    EXPECT_FALSE(Log::open("Tessak"));
    EXPECT_FALSE(Log::path().empty());
    Log::info("lost silently");
}

}  // namespace
