// What a save or a load does with a path that is not simply a regular file:
// named pipes, folders, chains of symbolic links, and the temporary files that
// an interrupted save leaves beside its target.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include "log/log.h"
#include "persist/file_sync.h"
#include "state_fixture.h"
#include "system_helpers.h"

namespace {

namespace fs = std::filesystem;
using persist_test::Bytes;
using persist_test::canMakeSymbolicLinks;
using persist_test::exitedProcessId;
using persist_test::makeNamedPipe;
using persist_test::readFile;
using persist_test::releaseWaitingReader;
using persist_test::runningProcessId;
using persist_test::StateTest;
using persist_test::writeFile;

constexpr std::uint32_t WARNING_BOX = 0x1030;

#define SKIP_WITHOUT_SYMBOLIC_LINKS()                               \
    if (!canMakeSymbolicLinks(folder.file("link-probe"))) {         \
        GTEST_SKIP() << "this system makes no symbolic links here"; \
    }

class SaveTargetTest : public StateTest {
protected:
    // The last box was a warning that names the path.
    void expectWarningAbout(const fs::path& path, std::size_t boxesBefore) {
        ASSERT_EQ(platform.fakeSystem.boxes.size(), boxesBefore + 1);
        const auto& box = platform.fakeSystem.boxes.back();
        EXPECT_EQ(box.style, WARNING_BOX);
        EXPECT_NE(box.text.find("'" + path.string() + "'"), std::string::npos) << box.text;
    }
    // A save that cannot open its file fails and shows nothing.
    void expectRefusedSave(const fs::path& path) {
        const std::size_t boxesBefore = platform.fakeSystem.boxes.size();
        EXPECT_FALSE(core.saveState(path.string()));
        EXPECT_EQ(platform.fakeSystem.boxes.size(), boxesBefore);
    }
    // The name of a temporary file that a save by the process would make.
    static std::string temporaryOf(const std::string& target, const std::string& processId,
                                   unsigned counter) {
        return file_sync::temporaryPathFor(target, std::stoull(processId), counter);
    }
};

TEST_F(SaveTargetTest, NamedPipeIsRefusedAtOnceByLoadAndSave) {
    const fs::path fifo = folder.file("pipe");
    if (!makeNamedPipe(fifo)) {
        GTEST_SKIP() << "no named pipes in this file system";
    }
    run("x = 1");

    // Opening a pipe for reading waits for a writer: a load that tries it never
    // returns unless someone opens the other end, which the test then does.
    auto loading = std::async(std::launch::async, [&] { return core.loadState(fifo.string()); });
    using std::chrono::milliseconds;
    for (int attempt = 0;
         loading.wait_for(milliseconds(attempt == 0 ? 20000 : 100)) != std::future_status::ready;
         ++attempt) {
        if (attempt == 0) {
            ADD_FAILURE() << "loadState waited on the pipe";
        } else if (attempt > 300) {
            std::fputs("loadState is stuck on the pipe for good\n", stderr);
            std::abort();  // the future's destructor would wait for ever
        }
        releaseWaitingReader(fifo);
    }
    EXPECT_FALSE(loading.get());
    expectWarningAbout(fifo, 0);
    expectFresh();

    run("x = 1");
    expectRefusedSave(fifo);
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(folder.listing(), std::vector<std::string>{"pipe"});

    // A link to the pipe is refused the same way, and stays a link.
    const fs::path link = folder.file("link");
    fs::create_symlink("pipe", link);
    expectRefusedSave(link);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(variable("x"), "number 1");
}

TEST_F(SaveTargetTest, FolderIsRefusedBySaveSilentlyAndByLoadWithAWarning) {
    const fs::path taken = folder.file("taken");
    fs::create_directory(taken);
    // A stale temporary's name beside it, and inside it: a folder is no
    // target, so nothing is swept.
    const std::string dead = std::to_string(exitedProcessId());
    writeFile(temporaryOf(taken.string(), dead, 0), Bytes{1});
    writeFile(temporaryOf((taken / "").string(), dead, 0), Bytes{1});
    const auto before = folder.listing();
    expectRefusedSave(taken);
    expectRefusedSave(taken / "");
    EXPECT_FALSE(core.loadState(taken.string()));
    expectWarningAbout(taken, 0);
    EXPECT_TRUE(fs::is_directory(taken));
    EXPECT_EQ(folder.listing(), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(taken), fs::directory_iterator()), 1);
}

TEST_F(SaveTargetTest, EmptyPathIsRefusedAndSweepsNothing) {
    const std::string dead = std::to_string(exitedProcessId());
    const fs::path previous = fs::current_path();
    fs::current_path(folder.file(""));
    writeFile(temporaryOf("", dead, 0), Bytes{1});
    writeFile(".tmp" + dead + "-0", Bytes{1});
    const auto before = folder.listing();
    expectRefusedSave("");
    EXPECT_EQ(folder.listing(), before);
    fs::current_path(previous);
}

TEST_F(SaveTargetTest, SaveThroughDanglingLinksMakesTheFileAtTheirEnd) {
    SKIP_WITHOUT_SYMBOLIC_LINKS();
    run("x = 2");
    const Bytes expected = saved("plain.bin");

    const fs::path link = folder.file("link.bin");
    fs::create_symlink("made.bin", link);
    ASSERT_TRUE(core.saveState(link.string()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(folder.file("made.bin")), expected);

    // A chain that crosses folders: each relative link is read from its own folder.
    fs::create_directory(folder.file("sub"));
    fs::create_symlink("../second", folder.file("sub/first"));
    fs::create_symlink("sub/end.bin", folder.file("second"));
    ASSERT_TRUE(core.saveState(folder.file("sub/first").string()));
    EXPECT_TRUE(fs::is_symlink(folder.file("sub/first")));
    EXPECT_TRUE(fs::is_symlink(folder.file("second")));
    EXPECT_EQ(readFile(folder.file("sub/end.bin")), expected);
    EXPECT_EQ(folder.listing(),
              (std::vector<std::string>{"link.bin", "made.bin", "plain.bin", "second", "sub"}));
    EXPECT_TRUE(platform.fakeSystem.boxes.empty());

    // Loading through the links reads the file at their end.
    ASSERT_TRUE(core.loadState(folder.file("sub/first").string()));
    EXPECT_EQ(variable("x"), "number 2");
}

TEST_F(SaveTargetTest, LinkLoopIsRefused) {
    SKIP_WITHOUT_SYMBOLIC_LINKS();
    fs::create_symlink("b", folder.file("a"));
    fs::create_symlink("a", folder.file("b"));
    fs::create_symlink("self", folder.file("self"));
    run("x = 2");
    expectRefusedSave(folder.file("a"));
    expectRefusedSave(folder.file("self"));
    EXPECT_FALSE(core.loadState(folder.file("b").string()));
    expectWarningAbout(folder.file("b"), 0);
    EXPECT_TRUE(fs::is_symlink(folder.file("a")));
    EXPECT_TRUE(fs::is_symlink(folder.file("b")));
    EXPECT_TRUE(fs::is_symlink(folder.file("self")));
    EXPECT_EQ(folder.listing(), (std::vector<std::string>{"a", "b", "self"}));
}

TEST_F(SaveTargetTest, SaveRemovesOnlyItsOwnTemporariesOfWritersThatNoLongerRun) {
    const std::string dead = std::to_string(exitedProcessId());
    const std::string alive = std::to_string(runningProcessId());
    const std::vector<std::string> removed = {
        temporaryOf("state.bin", dead, 0),
        temporaryOf("state.bin", dead, 17),
    };
    std::vector<std::string> kept = {
        temporaryOf("state.bin", alive, 3),  // a save of another process, under way
        temporaryOf("other.bin", dead, 0),   // another target's
        temporaryOf("state.bin", "0", 2),    // no process has the id 0
        temporaryOf("state.bin", dead, 0) + "x",
        // A user's own files, whatever they look like.
        "state.bin.tmp" + dead + "-0",
        "state.bin.tmp0-1",
    };
    for (const std::string& name : removed) {
        writeFile(folder.file(name), Bytes{1, 2, 3});
    }
    for (const std::string& name : kept) {
        writeFile(folder.file(name), Bytes{1, 2, 3});
    }
    run("x = 2");
    ASSERT_TRUE(core.saveState(folder.file("state.bin").string()));
    kept.push_back("state.bin");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(folder.listing(), kept);
}

TEST_F(SaveTargetTest, TemporariesBesideALinkedTargetAreRemovedThere) {
    SKIP_WITHOUT_SYMBOLIC_LINKS();
    // Temporaries are made beside the file a link leads to, not beside the link.
    fs::create_directory(folder.file("real"));
    writeFile(folder.file("real/state.bin"), Bytes{});
    fs::create_symlink("real/state.bin", folder.file("state.bin"));
    const std::string stale = temporaryOf("state.bin", std::to_string(exitedProcessId()), 0);
    writeFile(folder.file("real/" + stale), Bytes{1});
    writeFile(folder.file(stale), Bytes{1});
    ASSERT_TRUE(core.saveState(folder.file("state.bin").string()));
    EXPECT_FALSE(fs::exists(folder.file("real/" + stale)));
    EXPECT_TRUE(fs::exists(folder.file(stale)));
}

}  // namespace
